// Reports appended one after another, opened by LibreOffice and turned into PDF: every
// body must show, with its own list numbering, table and picture.
#include <cstdio>

#include "WordReportFixture.h"
#include "platform/word/document/CLibreOffice.h"

using namespace wordreport;
using wordtest::RunCommand;

namespace {

class WordAppendOffice : public ReportFixture {
protected:
  void SetUp() override {
    if (!CLibreOffice::Find()) GTEST_SKIP() << "LibreOffice is not installed (scripts/bootstrap --office)";
    ReportFixture::SetUp();
  }
};

TEST_F(WordAppendOffice, TenAppendedReportsOpenCleanlyAndShowEveryBody) {
  const CStr target = m_folder / "all.docx";
  for (int n = 1; n <= 10; ++n) {
    const CStr source = m_folder.Write("part" + std::to_string(n) + ".docx", NumberedReport(n));
    ASSERT_TRUE(m_folio.AppendToWordReport(source, target)) << n;
  }
  const auto pdfs = CLibreOffice::ConvertAll({m_folder.Path() / "all.docx"}, m_folder.Path() / "pdf", "pdf");
  ASSERT_EQ(pdfs.size(), 1u);
  const std::string text = RunCommand("pdftotext -layout '" + pdfs[0].string() + "' - 2>/dev/null");
  size_t at = 0;
  for (int n = 1; n <= 10; ++n) {
    const std::string id = std::to_string(n);
    for (const std::string& piece : {"Heading of report " + id, "Item of report " + id, "Cell of report " + id,
                                     "Body " + id + " ends here"}) {
      const size_t found = text.find(piece, at);
      ASSERT_NE(found, std::string::npos) << "\"" << piece << "\" missing or out of order in:\n" << text;
      at = found;
    }
    // Each report's list starts again at 1: its own numbering came along.
    const size_t item = text.find("Item of report " + id);
    const size_t lineStart = text.rfind('\n', item);
    EXPECT_NE(text.substr(lineStart + 1, item - lineStart - 1).find("1."), std::string::npos) << n;
  }
  const std::string images = RunCommand("pdfimages -list '" + pdfs[0].string() + "' 2>/dev/null");
  int lines = 0;
  for (char c : images) lines += c == '\n';
  EXPECT_EQ(lines - 2, 10) << images;
}

TEST_F(WordAppendOffice, APlaceholderThatADocReportCannotKeepIsRefused) {
  m_folder.Write("report.docx", NumberedReport(1));
  const auto doc = CLibreOffice::Convert(m_folder.Path() / "report.docx", m_folder.Path() / "doc", "doc:MS Word 97");
  const CStr report = CStr::FromUtf8(doc.string());
  const std::string before = wordtest::ReadFile(doc);
  CKORIControlValue placeholder;
  placeholder.SetGroup(u"BasicInfo");
  placeholder.SetField(u"filename");
  EXPECT_FALSE(m_folio.AppendKoriControl(report, placeholder));
  EXPECT_EQ(wordtest::ReadFile(doc), before);
  ASSERT_EQ(m_windows->MessageTexts().size(), 1u);
  EXPECT_NE(m_windows->MessageTexts()[0].ToUtf8().find(".docx"), std::string::npos);
}

}  // namespace
