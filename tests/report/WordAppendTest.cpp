#include <set>

#include "WordReportFixture.h"
#include "folio/extract/CKORIExtractor.h"
#include "platform/com/ComRuntime.h"
#include "platform/word/package/CPackage.h"
#include "platform/word/om/CWordAutomation.h"
#include "report/WordAppend.h"

using namespace wordreport;
namespace fs = std::filesystem;

namespace {

class WordAppending : public ReportFixture {
protected:
  CStr Write(const std::string& name, const std::string& bytes) { return m_folder.Write(name, bytes); }
  std::string Bytes(const std::string& name) { return wordtest::ReadFile(m_folder.Path() / name); }
  std::set<std::string> Files() {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(m_folder.Path())) names.insert(entry.path().filename().string());
    return names;
  }
  std::shared_ptr<IWordDocument> OpenDoc(const CStr& path) {
    if (!m_app) CWordAutomation::StartWordApplication(m_app);
    return m_app->Documents()->Open(CVariant::Text(path));
  }
  std::string Text(const CStr& path) { return OpenDoc(path)->Content()->Text().ToUtf8(); }
  // The XML of the one part of this content type ("styles+xml"), empty when there is none.
  static std::string PartOfType(CPackage& package, const std::string& type) {
    for (CPart* part : package.Parts())
      if (part->ContentType().ends_with("wordprocessingml." + type)) return part->Bytes();
    return {};
  }

  std::shared_ptr<IWordApplication> m_app;
};

TEST_F(WordAppending, SamePathIsANoOpAndAMissingTargetIsMade) {
  const CStr report = Write("report.docx", NumberedReport(1));
  EXPECT_TRUE(m_folio.AppendToWordReport(report, report));
  EXPECT_EQ(Bytes("report.docx"), NumberedReport(1));

  const CStr target = m_folder / "new.docx";
  EXPECT_TRUE(m_folio.AppendToWordReport(report, target));
  const std::string text = Text(target);
  EXPECT_NE(text.find("Heading of report 1"), std::string::npos) << text;
  EXPECT_NE(text.find("Body 1 ends here"), std::string::npos) << text;
  EXPECT_TRUE(m_windows->MessageTexts().empty());
  EXPECT_EQ(Files(), (std::set<std::string>{"report.docx", "new.docx"}));
}

TEST_F(WordAppending, TenReportsKeepTheirOwnStylesNumberingAndPictures) {
  const CStr target = m_folder / "all.docx";
  for (int n = 1; n <= 10; ++n) {
    const CStr source = Write("part" + std::to_string(n) + ".docx", NumberedReport(n));
    ASSERT_TRUE(m_folio.AppendToWordReport(source, target)) << n;
  }
  const std::string text = Text(target);
  size_t at = 0;
  for (int n = 1; n <= 10; ++n) {
    const size_t found = text.find("Body " + std::to_string(n) + " ends here", at);
    ASSERT_NE(found, std::string::npos) << n << " missing or out of order";
    at = found;
  }

  auto package = CPackage::FromBytes(Bytes("all.docx"));
  const std::string main = package->MainPart()->Bytes();
  // Every picture reference resolves, and no two reports share a picture.
  std::set<std::string> pictures;
  for (size_t pos = 0; (pos = main.find("r:embed=\"", pos)) != std::string::npos;) {
    pos += 9;
    const std::string id = main.substr(pos, main.find('"', pos) - pos);
    CPart* part = package->RelatedPart(*package->MainPart(), id);
    ASSERT_NE(part, nullptr) << id;
    pictures.insert(part->Bytes());
  }
  EXPECT_EQ(pictures.size(), 10u);
  // Drawing ids stay unique across the whole document.
  std::set<std::string> drawingIds;
  size_t drawings = 0;
  for (size_t pos = 0; (pos = main.find("<wp:docPr id=\"", pos)) != std::string::npos; ++drawings) {
    pos += 14;
    drawingIds.insert(main.substr(pos, main.find('"', pos) - pos));
  }
  EXPECT_EQ(drawingIds.size(), drawings);
  // Each report's heading style came along under an id of its own.
  const std::string styles = PartOfType(*package, "styles+xml");
  for (int n = 1; n <= 10; ++n)
    EXPECT_NE(styles.find("Report heading " + std::to_string(n) + "\""), std::string::npos) << n;
  // Each report's list numbers on its own: ten lists, each with its own abstract list.
  const std::string numbering = PartOfType(*package, "numbering+xml");
  size_t nums = 0, abstracts = 0;
  for (size_t pos = 0; (pos = numbering.find("<w:num ", pos)) != std::string::npos; ++pos) ++nums;
  for (size_t pos = 0; (pos = numbering.find("<w:abstractNum ", pos)) != std::string::npos; ++pos) ++abstracts;
  EXPECT_EQ(nums, 10u);
  EXPECT_EQ(abstracts, 10u);
}

TEST_F(WordAppending, AFailedWriteLeavesTheReportAsItWasAndNoFileBehind) {
  const CStr source = Write("source.docx", NumberedReport(2));
  const CStr target = Write("report.docx", NumberedReport(1));
  const std::string before = Bytes("report.docx");
  CKORIControlValue placeholder;
  placeholder.SetGroup(u"BasicInfo");
  placeholder.SetField(u"filename");
  const std::pair<const char*, std::function<bool()>> operations[] = {
      {"append", [&] { return m_folio.AppendToWordReport(source, target); }},
      {"add placeholder", [&] { return m_folio.AppendKoriControl(target, placeholder); }}};
  for (const auto& [name, operation] : operations) {
    for (EFileStep step : {EFileStep::eCreate, EFileStep::eWrite, EFileStep::eFlush, EFileStep::eRename, EFileStep::eRead}) {
      const std::string where = std::string(name) + ", step " + std::to_string(static_cast<int>(step));
      bool succeeded = false;
      int failures = 0;
      for (int k = 1; k <= 30 && !succeeded; ++k) {
        FileFaults::Reset();
        FileFaults::FailAt(step, k);
        const size_t messages = m_windows->MessageTexts().size();
        succeeded = operation();
        FileFaults::Reset();
        if (succeeded) break;
        ++failures;
        EXPECT_EQ(Bytes("report.docx"), before) << where << " at " << k;
        EXPECT_EQ(m_windows->MessageTexts().size(), messages + 1) << where << " at " << k;
        EXPECT_EQ(Files(), (std::set<std::string>{"source.docx", "report.docx"})) << where << " at " << k;
      }
      ASSERT_TRUE(succeeded) << where;
      EXPECT_GT(failures, 0) << where;
      EXPECT_NE(Bytes("report.docx"), before) << where;
      Write("report.docx", before);
    }
  }
}

TEST_F(WordAppending, DamagedSourceIsReportedAndChangesNothing) {
  const CStr source = Write("broken.docx", NumberedReport(2).substr(0, 300));
  const CStr target = Write("report.docx", NumberedReport(1));
  EXPECT_FALSE(m_folio.AppendToWordReport(source, target));
  EXPECT_EQ(Bytes("report.docx"), NumberedReport(1));
  ASSERT_EQ(m_windows->MessageTexts().size(), 1u);
  EXPECT_EQ(Files(), (std::set<std::string>{"broken.docx", "report.docx"}));
  // A package name on something else is damage too, told as such.
  const CStr text = Write("text.docx", "just some text");
  EXPECT_FALSE(m_folio.AppendToWordReport(text, target));
  EXPECT_EQ(Bytes("report.docx"), NumberedReport(1));
  ASSERT_EQ(m_windows->MessageTexts().size(), 2u);
  EXPECT_NE(m_windows->MessageTexts()[1].ToUtf8().find("is damaged"), std::string::npos) << m_windows->MessageTexts()[1].ToUtf8();
}

TEST_F(WordAppending, PlaceholdersAreAddedAtTheEndOfAWordReport) {
  CKORIControlValue first, second;
  first.SetGroup(u"BasicInfo");
  first.SetField(u"filename");
  second.SetGroup(u"Roughness");
  second.SetField(u"Sa");
  const CStr report = m_folder / "made.docx";
  ASSERT_TRUE(m_folio.AppendKoriControl(report, first));
  ASSERT_TRUE(m_folio.AppendKoriControl(report, second));
  auto doc = OpenDoc(report);
  auto shapes = doc->InlineShapes();
  ASSERT_EQ(shapes->Count(), 2);
  CKORIControlValue read;
  EXPECT_EQ(CKORIExtractor::ExtractKORIElementProperties(shapes->Item(1).get(), read).m_result, CKORIControlValue::eExtractOk);
  EXPECT_EQ(read.GetField().ToUtf8(), "filename");
  EXPECT_EQ(CKORIExtractor::ExtractKORIElementProperties(shapes->Item(2).get(), read).m_result, CKORIControlValue::eExtractOk);
  // A control carries a legacy description: the roughness parameter moves into Parameter 1.
  EXPECT_EQ(read.GetField().ToUtf8(), "RoughnessParameter");
  EXPECT_EQ(read.GetParameter1().ToUtf8(), "Sa");
  EXPECT_EQ(Files(), (std::set<std::string>{"made.docx"}));
}

// The in-run merge, driven directly with the generated document already saved.
class InRunMerge : public WordAppending {
protected:
  void SetUp() override {
    WordAppending::SetUp();
    ASSERT_EQ(CWordAutomation::StartWordApplication(m_shared), S_OK);
  }
  void Merge(const CStr& report, const CStr& output) {
    WordAppend::MergeIntoReport(*m_shared, report, output,
                                {m_value, [this] { Answer(m_value); }, m_results});
  }
  std::shared_ptr<IWordApplication> m_shared;
  CKORIControlValue m_value;
  std::vector<SReportConversionResult> m_results;
};

// A table ending the report and one starting the generated part become one table, when
// no more than two paragraph marks (the final one and one empty paragraph) lie between.
// A table that does not end the report is left alone, and one that ends it without a
// paragraph after it (python-docx writes so; Word keeps a paragraph) takes the merge
// after it. The report itself is not touched.
TEST_F(InRunMerge, TablesMeetingAtTheSeamBecomeOne) {
  const struct {
    std::string report, generated;
    long tables;
    std::vector<std::string> inOrder;
  } cases[] = {{Para("Before") + Table({"first row"}) + "<w:p/>", Table({"second row"}) + Para("After"), 1,
                {"Before", "first row", "second row", "After"}},
               {Table({"first row"}) + Para("ab"), Table({"second row"}) + Para("After"), 2,
                {"first row", "ab", "second row", "After"}},
               {Para("Before") + Table({"first row"}), Para("After"), 1, {"Before", "first row", "After"}},
               {Para("Before") + Table({"first row"}) + "<w:p/><w:p/>", Table({"second row"}) + Para("After"), 1,
                {"Before", "first row", "second row", "After"}},
               {Para("Before") + Table({"first row"}) + "<w:p/><w:p/><w:p/>", Table({"second row"}) + Para("After"), 2,
                {"Before", "first row", "second row", "After"}}};
  for (const auto& c : cases) {
    SReportParts report, generated;
    report.body = c.report;
    generated.body = c.generated;
    const CStr output = Write("output.docx", Build(generated));
    Merge(Write("report.docx", Build(report)), output);
    EXPECT_EQ(Bytes("report.docx"), Build(report));
    EXPECT_EQ(Files(), (std::set<std::string>{"report.docx", "output.docx"}));
    auto doc = OpenDoc(output);
    ASSERT_EQ(doc->Tables()->Count(), c.tables) << c.report;
    // Rows merged into one table stay in it.
    const std::string table = doc->Tables()->Item(1)->Range()->Text().ToUtf8();
    EXPECT_EQ(table.find("second row") != std::string::npos, c.tables == 1 && c.inOrder.size() == 4) << table;
    const std::string text = doc->Content()->Text().ToUtf8();
    std::size_t at = 0;
    for (const std::string& piece : c.inOrder) {
      at = text.find(piece, at);
      ASSERT_NE(at, std::string::npos) << piece << " missing or out of order in " << text;
    }
  }
}

TEST_F(InRunMerge, FooterPlaceholdersAreEvaluatedAgain) {
  SReportParts report, generated;
  report.body = Para("Report");
  report.footer = "<w:p><w:r><w:t xml:space=\"preserve\">File: </w:t></w:r>" + wordtest::Control("1") +
                  "<w:r><w:t xml:space=\"preserve\"> Old: </w:t></w:r>" + wordtest::Control("2") + "</w:p>";
  report.footerRels = wordtest::ControlRels({"1", "2"});
  report.media = {{"activeX/activeX1.xml", wordtest::ControlPart(u"BasicInfo", u"filename")},
                  {"activeX/activeX2.xml", wordtest::ControlPart(u"CITS", u"filename")}};
  report.overrides = "<Override PartName=\"/word/activeX/activeX1.xml\" ContentType=\"application/vnd.ms-office.activeX+xml\"/>"
                     "<Override PartName=\"/word/activeX/activeX2.xml\" ContentType=\"application/vnd.ms-office.activeX+xml\"/>";
  generated.body = Para("Generated");
  int asked = 0;
  m_answers[u"filename"] = [&asked](CKORIControlValue& v) {
    ++asked;
    v.SetType(CKORIControlValue::eText);
    v.SetText(u"scan_014.spm");
  };
  const CStr output = Write("output.docx", Build(generated));
  Merge(Write("report.docx", Build(report)), output);
  auto doc = OpenDoc(output);
  const std::string footer = doc->StoryRanges()->Item(eWordPrimaryFooterStory)->Text().ToUtf8();
  EXPECT_NE(footer.find("File: scan_014.spm Old: Group is no longer supported"), std::string::npos) << footer;
  EXPECT_EQ(doc->StoryRanges()->Item(eWordPrimaryFooterStory)->InlineShapes()->Count(), 0);
  // The control of an unsupported group is recorded and never asked for.
  EXPECT_EQ(asked, 1);
  ASSERT_EQ(m_results.size(), 1u);
  EXPECT_EQ(m_results[0].m_result, CKORIControlValue::eGroupNotSupported);
  const std::string text = doc->Content()->Text().ToUtf8();
  EXPECT_LT(text.find("Report"), text.find("Generated")) << text;
}

}  // namespace
