#include "WordReportFixture.h"

#include "folio/report/CTemplateModel.h"
#include "folio/util/EBase.h"

namespace {

using namespace wordtest;
using WordTemplateModel = WordReportFixture;

std::string Table(const std::string& cell) { return "<w:tbl><w:tr><w:tc>" + Para(cell) + "</w:tc></w:tr></w:tbl>"; }

std::vector<std::string> Ids(const CTemplateModel& model) {
  std::vector<std::string> ids;
  for (const STemplateProblem& p : model.Problems()) ids.push_back(p.id);
  return ids;
}

TEST_F(WordTemplateModel, PlaceholdersKnowWhereTheyStand) {
  const std::string body = Para(Text("Title")) + Para(Text("Roughness of the sample ") + Slot(u"range")) +
                           Para(Slot(u"PrefaceEnd")) + Table(Text("cell ") + Slot(u"pixels")) +
                           TextBox(Para(Text("boxed ") + Slot(u"desc"))) +
                           Para(InlinePicture("KORI {broken", 12700, 12700, "rIdPic", 90));
  const auto model = CTemplateModel::Read(TemplateWithHeader(body, Control("H"), u"General", u"username"));
  const auto& p = model->Placeholders();
  ASSERT_EQ(p.size(), 5u);
  EXPECT_EQ(p[0].place, EPlaceholderPlace::eHeader);
  EXPECT_EQ(p[0].section, ETemplateSection::ePreface);
  EXPECT_EQ(p[1].place, EPlaceholderPlace::eMainText);
  EXPECT_EQ(p[1].paragraph, 2);
  EXPECT_EQ(p[1].openingWords, u"Roughness of the sample");
  EXPECT_EQ(p[1].section, ETemplateSection::ePreface);
  EXPECT_EQ(p[2].tag, ESectionTag::ePrefaceEnd);
  EXPECT_EQ(p[3].place, EPlaceholderPlace::eTableCell);
  EXPECT_EQ(p[3].openingWords, u"cell");
  EXPECT_EQ(p[3].section, ETemplateSection::eBody);
  EXPECT_EQ(p[4].place, EPlaceholderPlace::eTextBox);
  EXPECT_EQ(p[4].openingWords, u"boxed");
  EXPECT_EQ(Ids(*model), std::vector<std::string>{"FOLIO-T004"});
  EXPECT_TRUE(model->Problems()[0].error);
  EXPECT_TRUE(LeftOvers().empty());
}

TEST_F(WordTemplateModel, ProblemsNameWhatToDo) {
  const std::string body = Para(Slot(u"SummaryBegin")) + Para(Slot(u"PrefaceEnd")) + Para(Control("1"));
  const auto model = CTemplateModel::Read(Template(body, ControlParts({{"1", u"Tip", u"TipWidth"}}), ControlRels({"1"})));
  EXPECT_EQ(Ids(*model), (std::vector<std::string>{"FOLIO-T006", "FOLIO-T001"}));
  for (const STemplateProblem& problem : model->Problems()) {
    EXPECT_TRUE(problem.where.StartsWith(u"main text, paragraph ")) << problem.where.ToUtf8();
    EXPECT_FALSE(problem.todo.IsEmpty());
  }
  // A header placeholder in a template without a preface is never filled.
  const auto plain = CTemplateModel::Read(TemplateWithHeader(Para(Text("x")), Control("H"), u"General", u"username"));
  EXPECT_EQ(Ids(*plain), std::vector<std::string>{"FOLIO-T010"});
  m_folder.Write("bad.docx", "PK\x03\x04 not a document");
  EXPECT_THROW(CTemplateModel::Read(m_folder / "bad.docx"), EBase);
}

}  // namespace
