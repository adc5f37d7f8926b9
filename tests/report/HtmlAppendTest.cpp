#include "ReportFixture.h"

#include <set>

#include "folio/html/CHTMLEventHandler.h"
#include "html/CHTMLReader.h"

namespace {

using V = CKORIControlValue;

class HtmlAppend : public ReportFixture {
protected:
  std::set<std::string> Names() const {
    std::set<std::string> names;
    // What is in the process's private folder counts as if it lay here.
    const std::string privateFolder = PrivateFolderName() + "/";
    for (const auto& entry : std::filesystem::recursive_directory_iterator(m_folder.Path())) {
      std::string name = std::filesystem::relative(entry.path(), m_folder.Path()).string();
      if (name + "/" == privateFolder) continue;
      if (name.rfind(privateFolder, 0) == 0) name.erase(0, privateFolder.size());
      names.insert(name);
    }
    return names;
  }
};

TEST_F(HtmlAppend, AReportAppendedToItselfIsLeftAlone) {
  const CStr report = WriteUtf16("r.htm", u"<body>a</body>");
  EXPECT_TRUE(m_folio.AppendToHtmlReport(report, report));
  EXPECT_EQ(ReadText("r.htm"), CStr(u"<body>a</body>"));
}

TEST_F(HtmlAppend, BackupsStayInAPrivateFolderWhateverTheTemporaryFolderIsCalled) {
  // A dot in the temporary folder's name once sent the backup's companion folder out of it.
  std::filesystem::create_directory(m_folder.Path() / "user.x");
  setenv("TMPDIR", (m_folder.Path() / "user.x").c_str(), 1);
  const CStr source = WriteUtf16("s.htm", u"<body><img src=\"s_files\\a.png\"></body>");
  m_folder.Write("s_files/a.png", "A");
  const CStr target = WriteUtf16("t.htm", u"<body>t</body>");
  ASSERT_TRUE(m_folio.AppendToHtmlReport(source, target));
  EXPECT_EQ(m_folder.Read("t_files/a.png"), "A");
  EXPECT_FALSE(m_folder.Exists("user_files"));
  EXPECT_TRUE(std::filesystem::is_empty(m_folder.Path() / "user.x"));
}

TEST_F(HtmlAppend, AMissingTargetBecomesACopyPointingToItsOwnFolder) {
  const CStr source = WriteUtf16("scan 1.htm", u"<body><img src=\"scan 1_files\\a.png\"><img src=\"scan%201_files/b.png\"></body>");
  m_folder.Write("scan 1_files/a.png", "A");
  m_folder.Write("scan 1_files/b.png", "B");
  ASSERT_TRUE(m_folio.AppendToHtmlReport(source, m_folder / "all.htm"));
  EXPECT_EQ(ReadText("all.htm"), CStr(u"<body><img src=\"all_files\\a.png\"><img src=\"all_files\\b.png\"></body>"));
  EXPECT_EQ(m_folder.Read("all_files/a.png"), "A");
  // The source is as it was, and no temporary copy is left.
  EXPECT_EQ(ReadText("scan 1.htm"), CStr(u"<body><img src=\"scan 1_files\\a.png\"><img src=\"scan%201_files/b.png\"></body>"));
  EXPECT_EQ(Names(), (std::set<std::string>{"scan 1.htm", "scan 1_files", "scan 1_files/a.png", "scan 1_files/b.png",
                                            "all.htm", "all_files", "all_files/a.png", "all_files/b.png"}));
}

TEST_F(HtmlAppend, BodiesAreJoinedAndSameNamedPicturesKept) {
  const CStr first = WriteUtf16("one.htm", u"<html><body><p>1</p><img src=\"one_files\\Image_000.png\"></body></html>");
  m_folder.Write("one_files/Image_000.png", "first");
  const CStr second = WriteUtf16("two.htm", u"<html><body><p>2</p><img src=\"two_files\\Image_000.png\"></body></html>");
  m_folder.Write("two_files/Image_000.png", "second");
  const CStr target = m_folder / "all.htm";
  ASSERT_TRUE(m_folio.AppendToHtmlReport(first, target));
  ASSERT_TRUE(m_folio.AppendToHtmlReport(second, target));
  const CStr text = ReadText("all.htm");
  EXPECT_TRUE(text.StartsWith(u"<html><body><p>1</p><img src=\"all_files\\Image_000.png\"><p>2</p><img src=\"all_files\\HTMLCopy "));
  EXPECT_TRUE(text.EndsWith(u"Image_000.png\"></body></html>"));
  const size_t at = text.Find(u"all_files\\HTMLCopy ");
  const CStr pictureName = text.Mid(at + 10, text.Find(u"\"", at) - at - 10);
  EXPECT_EQ(m_folder.Read("all_files/" + pictureName.ToUtf8()), "second");
  EXPECT_EQ(m_folder.Read("all_files/Image_000.png"), "first");
}

TEST_F(HtmlAppend, NarrowReportsAreWidenedAndTailsKept) {
  const CStr source = m_folder.Write("s.htm", "<body>caf\xC3\xA9</body>");
  const CStr target = m_folder.Write("t.htm", "<html><body>old</body><!-- end --></html>");
  ASSERT_TRUE(m_folio.AppendToHtmlReport(source, target));
  EXPECT_EQ(ReadText("t.htm"), CStr(u"<html><body>oldcaf\u00E9</body><!-- end --></html>"));
  EXPECT_EQ(m_folder.Read("t.htm").substr(0, 2), "\xFF\xFE");
  EXPECT_FALSE(m_folio.AppendToHtmlReport(m_folder / "missing.htm", target));
}

TEST_F(HtmlAppend, PlaceholdersGoBeforeTheBodyEndAndReadBack) {
  const CStr report = m_folder.Write("r.htm", "<html><body><p>x</p></body></html>");
  V value;
  value.SetGroup(u"Roughness");
  value.SetField(u"RoughnessParameter");
  value.SetParameter1(u"Sq");
  ASSERT_TRUE(m_folio.AppendKoriControl(report, value));
  value.SetParameter1(u"Sa");
  ASSERT_TRUE(m_folio.AppendKoriControl(report, value));
  const CStr text = ReadText("r.htm");
  EXPECT_NE(text.Find(u"<img alt=\"KORI {&#13;&#10;&#9;Version: 2000&#13;&#10;&#9;Group: Roughness"), CStr::npos);
  EXPECT_TRUE(text.EndsWith(u"}\"></body></html>"));

  CHTMLEventHandler collector;
  CHTMLReader reader;
  reader.SetEventHandler(&collector);
  reader.Read(text.View());
  ASSERT_EQ(collector.GetKoriControlCount(), 2u);
  V first, second;
  EXPECT_EQ(collector.GetKoriControlValue(0, first).m_result, V::eExtractOk);
  collector.GetKoriControlValue(1, second);
  EXPECT_EQ(first.GetParameter1(), CStr(u"Sq"));
  EXPECT_EQ(second.GetParameter1(), CStr(u"Sa"));
  EXPECT_FALSE(m_folio.AppendKoriControl(m_folder / "missing.HTML", value));
  EXPECT_FALSE(m_folder.Exists("missing.HTML"));
}

// Every write, flush and rename of an append fails once in turn: the report must stay
// byte for byte as it was, and nothing temporary may be left anywhere.
TEST_F(HtmlAppend, NoInjectedFailureLosesTheReport) {
  AnswerText(u"filename", u"new");
  const CStr templatePath = WriteUtf16("t.htm", u"<body>" + Placeholder(u"filename") + u"</body>");
  const CStr report = WriteUtf16("r.htm", u"<html><body>old</body></html>");
  const std::string before = m_folder.Read("r.htm");
  const std::set<std::string> names = {"t.htm", "r.htm"};
  int injected = 0;
  for (EFileStep step : {EFileStep::eCreate, EFileStep::eWrite, EFileStep::eFlush, EFileStep::eRename}) {
    for (int nth = 1;; ++nth) {
      CFolio::ClearTemplateCache();
      FileFaults::Reset();
      FileFaults::FailAt(step, nth);
      const bool result = Run(templatePath, report, eAppend);
      if (FileFaults::Count(step) < nth) {
        // This run made fewer calls than nth: the fault never fired and the append worked.
        ASSERT_TRUE(result);
        break;
      }
      ++injected;
      EXPECT_FALSE(result) << static_cast<int>(step) << " #" << nth;
      EXPECT_EQ(m_folder.Read("r.htm"), before) << static_cast<int>(step) << " #" << nth;
      std::set<std::string> left = Names();
      std::erase_if(left, [](const std::string& n) { return n.rfind("TemplateCopy", 0) == 0; });
      EXPECT_EQ(left, names) << static_cast<int>(step) << " #" << nth;
    }
    WriteUtf16("r.htm", u"<html><body>old</body></html>");
  }
  EXPECT_GE(injected, 8);
  RecordProperty("injected_failures", injected);
}

}  // namespace
