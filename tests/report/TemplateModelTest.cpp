#include "ReportFixture.h"

#include "folio/report/CTemplateModel.h"
#include "folio/util/EBase.h"

namespace {

using V = CKORIControlValue;
using TemplateModel = ReportFixture;

const char16_t kLegacyObject[] =
    u"<object classid=\"CLSID:7B1E52C4-93D0-4A6F-B2E8-5C91D04F3A27\"><param name=Group value=\"Tip\">"
    u"<param name=Field value=\"TipWidth\"></object>";

TEST_F(TemplateModel, HtmlPlaceholdersWithSpansTagsAndSections) {
  const CStr head = u"<body><p>";
  const CStr text = head + Placeholder(u"date") + Placeholder(u"PrefaceEnd") + kLegacyObject +
                    Placeholder(u"SummaryBegin") + Placeholder(u"FileCount") + u"</p></body>";
  const auto model = CTemplateModel::Read(WriteUtf16("t.htm", text));
  ASSERT_EQ(model->Count(), 5u);
  const auto& p = model->Placeholders();
  EXPECT_EQ(p[0].start, head.GetLength());
  EXPECT_EQ(p[1].start, p[0].end);
  const std::vector<ESectionTag> tags = {ESectionTag::eNone, ESectionTag::ePrefaceEnd, ESectionTag::eNone,
                                         ESectionTag::eSummaryBegin, ESectionTag::eNone};
  const std::vector<ETemplateSection> sections = {ETemplateSection::ePreface, ETemplateSection::ePreface,
                                                  ETemplateSection::eBody, ETemplateSection::eSummary,
                                                  ETemplateSection::eSummary};
  for (std::size_t i = 0; i < p.size(); ++i) {
    EXPECT_EQ(p[i].tag, tags[i]) << i;
    EXPECT_EQ(p[i].section, sections[i]) << i;
    EXPECT_EQ(p[i].place, EPlaceholderPlace::eMainText);
  }
  EXPECT_EQ(p[2].outcome, V::eFieldNotSupported);
  EXPECT_FALSE(p[2].AsksTheHost());
  EXPECT_TRUE(p[0].AsksTheHost());
  EXPECT_TRUE(model->HasSectionTag(ETemplateSection::ePreface));
  EXPECT_TRUE(model->HasSectionTag(ETemplateSection::eSummary));
  const auto plain = CTemplateModel::Read(WriteUtf16("plain.htm", u"<body>" + Placeholder(u"date") + u"</body>"));
  EXPECT_FALSE(plain->HasSectionTag(ETemplateSection::ePreface));
  EXPECT_TRUE(plain->HasSectionTag(ETemplateSection::eBody));
  EXPECT_THROW(CTemplateModel::Read(m_folder / "missing.htm"), EBase);
}

// A pass without its tag writes nothing; asking whether it has work reads the model,
// not the host's working record.
TEST_F(TemplateModel, PassesWithoutWorkWriteNothingAndLeaveTheWorkingRecordAlone) {
  AnswerText(u"date", u"today");
  const CStr templatePath = WriteUtf16("t.htm", u"<body>" + Placeholder(u"date") + u"</body>");
  ASSERT_TRUE(Run(templatePath, m_folder / "r.htm", eOverwrite, ePreface));
  EXPECT_FALSE(m_folder.Exists("r.htm"));
  ASSERT_TRUE(Run(templatePath, m_folder / "r.htm", eOverwrite, eBody));
  m_folio.GetKORIControlValue().SetField(u"host's own");
  ASSERT_TRUE(Run(templatePath, m_folder / "r.htm", eAppend, eSummary, false));
  EXPECT_EQ(ReadText("r.htm"), CStr(u"<body>today</body>"));
  EXPECT_EQ(m_folio.GetKORIControlValue().GetField(), u"host's own");
  EXPECT_EQ(m_folio.GetKORIControlValue().GetText(), u"today");
  ASSERT_TRUE(Run(templatePath, m_folder / "s.htm", eOverwrite, eSummary));
  EXPECT_FALSE(m_folder.Exists("s.htm"));
}

// The host sees each placeholder's own description, whatever the one before it held.
TEST_F(TemplateModel, EachRequestCarriesItsOwnDescription) {
  std::vector<CStr> seen;
  m_answers[u"date"] = [&](V& v) {
    seen.push_back(v.GetField() + u"/" + v.GetParameter1() + u"/" + CStr::DoStringFormat(u"%d", v.GetUnitOptions()));
    v.SetType(V::eText);
    v.SetText(u"d");
  };
  CKORIControlValue first;
  first.SetGroup(u"BasicInfo");
  first.SetField(u"date");
  first.SetParameter1(u"Sa");
  first.SetUnitOptions(2);
  const CStr text = u"<body>" + Placeholder(first) + Placeholder(u"date") + u"</body>";
  ASSERT_TRUE(Run(WriteUtf16("t.htm", text), m_folder / "r.htm", eOverwrite));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], u"date/Sa/2");
  EXPECT_EQ(seen[1], u"date/None/0");
}

}  // namespace
