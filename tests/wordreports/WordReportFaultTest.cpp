// Word reports under bad input and failing writes: every failure is told to the user,
// the user's existing report keeps every byte, and nothing temporary is left beside it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "folio/platform/ui/CScriptedWindowing.h"
#include "folio/report/CFolio.h"
#include "folio/ui/FolioDll.h"
#include "platform/fs/FileFaults.h"
#include "platform/word/WordTestSupport.h"
#include "util/ScratchFolder.h"

namespace {

using V = CKORIControlValue;
using namespace wordtest;

// The inline picture placeholder for field, with the packed description as its alternative text.
std::string Placeholder(const std::string& field, int id) {
  V value;
  value.Reset();
  value.SetGroup(u"BasicInfo");
  value.SetField(CStr::FromUtf8(field));
  std::string descr;
  for (char c : value.Pack().ToUtf8()) {
    if (c == '\r') descr += "&#13;";
    else if (c == '\n') descr += "&#10;";
    else if (c == '\t') descr += "&#9;";
    else descr += c;
  }
  const std::string size = "cx=\"914400\" cy=\"457200\"";
  return "<w:r><w:drawing><wp:inline><wp:extent " + size + "/><wp:docPr id=\"" + std::to_string(id) +
         "\" name=\"P\" descr=\"" + descr +
         "\"/><a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic>"
         "<pic:blipFill><a:blip r:embed=\"rIdPic\"/></pic:blipFill><pic:spPr><a:xfrm><a:ext " + size +
         "/></a:xfrm></pic:spPr></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
}

// The main part of a saved document.
std::string DocumentXml(const std::string& docx) {
  for (auto& entry : CZipArchive::Read(docx))
    if (entry.name == "word/document.xml") return entry.data;
  return {};
}

std::string ImageRelationship() {
  return "<Relationship Id=\"rIdPic\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
         "Target=\"media/p.png\"/>";
}

// A template: a text placeholder and a picture placeholder.
std::string Template(const std::string& extraBody = "") {
  return Docx("<w:p><w:r><w:t>Sample </w:t></w:r>" + Placeholder("filename", 1) + "</w:p><w:p>" +
                  Placeholder("MainImage", 2) + "</w:p>" + extraBody,
              {{"word/media/p.png", Png(4, 4)}}, ImageRelationship());
}

class WordReportFaults : public ::testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directories(m_folder.Path() / "tmp");
    std::filesystem::create_directories(m_folder.Path() / "reports");
    m_oldTmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    setenv("TMPDIR", (m_folder.Path() / "tmp").c_str(), 1);
    m_windows = std::make_shared<CScriptedWindowing>();
    m_scope = std::make_unique<CScopedWindowing>(m_windows);
    FolioDll_NewDynLinkLibrary();
    FileFaults::Reset();
    m_folio.SetGetValueCallback([this] { Answer(m_folio.GetKORIControlValue()); });
    m_report = m_folder.Write("reports/report.docx", Docx("<w:p><w:r><w:t>The user's old report</w:t></w:r></w:p>"));
    m_before = m_folder.Read("reports/report.docx");
  }
  void TearDown() override {
    FileFaults::Reset();
    m_scope.reset();
    if (m_oldTmp.empty()) unsetenv("TMPDIR");
    else setenv("TMPDIR", m_oldTmp.c_str(), 1);
  }

  // filename answers a text, MainImage a fresh copy of m_picture (the report consumes it).
  void Answer(V& value) {
    if (value.GetField() == u"filename") {
      value.SetType(V::eText);
      value.SetText(u"scan_014.spm");
    } else if (value.GetField() == u"MainImage") {
      const CStr copy = m_folder.Write("tmp/picture-copy.png", m_picture);
      value.SetType(V::ePicture);
      value.SetFilename(copy);
    } else {
      value.SetType(V::eNone);
    }
  }

  bool Render(const CStr& templatePath, EReportOptions option, ELivesheetProcessingType pass = eBody) {
    m_folio.SetTemplate(templatePath);
    m_folio.SetReport(m_report);
    m_folio.SetReportOptions(option);
    m_folio.SetLivesheeterProcessingType(ePreface);
    m_folio.SetLivesheeterProcessingType(pass);
    bool ok = true;
    return m_folio.Activate(ok, false);
  }

  std::set<std::string> ReportFolder() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path() / "reports"))
      names.insert(entry.path().filename().string());
    return names;
  }
  // The report as it was, alone in its folder, and the user told why.
  void ExpectReportKept(const std::string& why, const std::string& context = "") {
    EXPECT_EQ(m_folder.Read("reports/report.docx"), m_before) << context;
    EXPECT_EQ(ReportFolder(), (std::set<std::string>{"report.docx"})) << context;
    const auto messages = m_windows->MessageTexts();
    ASSERT_FALSE(messages.empty()) << context << ": nothing was shown";
    EXPECT_NE(messages.back().ToUtf8().find(why), std::string::npos) << context << ": " << messages.back().ToUtf8();
  }

  ScratchFolder m_folder;
  std::string m_oldTmp;
  std::shared_ptr<CScriptedWindowing> m_windows;
  std::unique_ptr<CScopedWindowing> m_scope;
  CFolio m_folio;
  CStr m_report;
  std::string m_before;
  std::string m_picture = Png(40, 30);
};

TEST_F(WordReportFaults, ARenderedTemplateReplacesTheReport) {
  const CStr templatePath = m_folder.Write("template.docx", Template());
  ASSERT_TRUE(Render(templatePath, eUnconfirmedOverwrite)) << (m_windows->MessageTexts().empty() ? "" : m_windows->MessageTexts().back().ToUtf8());
  EXPECT_NE(m_folder.Read("reports/report.docx"), m_before);
  EXPECT_EQ(ReportFolder(), (std::set<std::string>{"report.docx"}));
  EXPECT_FALSE(m_folder.Exists("tmp/picture-copy.png"));  // consumed by the report
}

// A description that does not unpack is no placeholder: the picture stays as it is and
// the rest of the template is filled.
TEST_F(WordReportFaults, ADescriptionThatDoesNotUnpackLeavesThePicture) {
  const std::string broken =
      "<w:p><w:r><w:drawing><wp:inline><wp:extent cx=\"9525\" cy=\"9525\"/><wp:docPr id=\"9\" name=\"B\" "
      "descr=\"KORI {&#10;&#9;Version: two thousand&#10;}\"/><a:graphic><a:graphicData "
      "uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic><pic:blipFill><a:blip r:embed=\"rIdPic\"/>"
      "</pic:blipFill></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r></w:p>";
  const CStr templatePath = m_folder.Write("template.docx", Template(broken));
  ASSERT_TRUE(Render(templatePath, eUnconfirmedOverwrite));
  const std::string xml = DocumentXml(m_folder.Read("reports/report.docx"));
  EXPECT_NE(xml.find("Version: two thousand"), std::string::npos);
  EXPECT_NE(xml.find("scan_014.spm"), std::string::npos);
}

}  // namespace
