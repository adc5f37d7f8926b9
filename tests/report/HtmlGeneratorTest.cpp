#include "ReportFixture.h"

#include <stb_image_write.h>
#include <vector>

namespace {

using V = CKORIControlValue;

class HtmlGenerator : public ReportFixture {
protected:
  CStr Picture(const std::string& name, int w, int h) {
    std::vector<unsigned char> pixels(w * h * 3, 90);
    const CStr path = m_folder / name;
    stbi_write_png(path.ToUtf8().c_str(), w, h, 3, pixels.data(), w * 3);
    return path;
  }
  void AnswerPicture(const CStr& field, const CStr& file, short options, float w, float h) {
    m_answers[field] = [=](V& v) {
      v.SetType(V::ePicture);
      v.SetFilename(file);
      v.SetPictureOptions(options);
      v.SetWidth(w);
      v.SetHeight(h);
    };
  }
};

TEST_F(HtmlGenerator, ValuesReplaceTheirPlaceholders) {
  AnswerText(u"desc", u"first line\nsecond line");
  m_answers[u"range"] = [](V& v) {
    v.SetType(V::eFloat);
    v.SetFloat(1.2345);
    v.SetPrecision(3);
    v.SetUnit(u"\u00B5m");
  };
  m_answers[u"pixels"] = [](V& v) { v.SetType(V::eInteger); v.SetInteger(512); v.SetUnitOptions(1); };
  m_answers[u"scandir"] = [](V& v) { v.SetType(V::eChar); v.SetChar(u'\u2192'); };
  m_answers[u"time"] = [](V& v) { v.SetType(V::eMessage); v.SetMessage(u"no clock"); };
  m_answers[u"date"] = [](V& v) { v.SetType(V::ePicture); };  // no file: a message
  const CStr text = u"<body>" + Placeholder(u"desc") + u"|" + Placeholder(u"range") + u"|" +
                    Placeholder(u"pixels") + u"|" + Placeholder(u"scandir") + u"|" + Placeholder(u"time") +
                    u"|" + Placeholder(u"date") + u"|" + Placeholder(u"offset") + u"</body>";
  ASSERT_TRUE(Run(WriteUtf16("t.htm", text), m_folder / "r.htm", eOverwrite));
  EXPECT_EQ(ReadText("r.htm"), CStr(u"<body>first line<BR>\nsecond line| 1.23 \u00B5m|512|\u2192|no clock|"
                                    u"ERROR: Missing bitmap file name.|</body>"));
}

// Reports are UTF-16 whatever the template's encoding; one without placeholders is copied.
TEST_F(HtmlGenerator, TemplatesOfAnyEncodingBecomeUtf16Reports) {
  const CStr text = u"<html><head><title>\u00C5ngstr\u00F6m</title></head><body><p>plain</p></body></html>";
  ASSERT_TRUE(Run(WriteUtf16("t16.htm", text), m_folder / "r16.htm", eOverwrite));
  EXPECT_EQ(ReadText("r16.htm"), text);
  EXPECT_EQ(m_folder.Read("r16.htm").substr(0, 2), "\xFF\xFE");
  const std::string utf8 = "<body>Caf\xC3\xA9 ";
  const CStr templatePath = m_folder.Write("t.htm", utf8 + Placeholder(u"filename").ToUtf8() + "</body>");
  AnswerText(u"filename", u"\u00E9t\u00E9");
  ASSERT_TRUE(Run(templatePath, m_folder / "r.htm", eOverwrite));
  EXPECT_EQ(ReadText("r.htm"), CStr(u"<body>Caf\u00E9 \u00E9t\u00E9</body>"));
  const CStr latin1 = m_folder.Write("l.htm", "<body>\xE9t\xE9</body>");
  ASSERT_TRUE(Run(latin1, m_folder / "l-report.htm", eOverwrite));
  EXPECT_EQ(ReadText("l-report.htm"), CStr(u"<body>\u00E9t\u00E9</body>"));
}

TEST_F(HtmlGenerator, PicturesAreCopiedNumberedAndSized) {
  const CStr wide = Picture("wide.png", 200, 50);
  AnswerPicture(u"MainImage", wide, 0, 100, 100);      // best fit: the width limits
  AnswerPicture(u"ZoomImage", wide, 1, 80.4f, 10);     // fixed width
  AnswerPicture(u"Histogram", wide, 2, 10, 60.5f);     // fixed height, halves round up
  AnswerPicture(u"Profile", wide, 3, 30, 40);          // stretch
  const CStr text = u"<body>" + Placeholder(u"MainImage") + Placeholder(u"ZoomImage") +
                    Placeholder(u"Histogram") + Placeholder(u"Profile") + u"</body>";
  ASSERT_TRUE(Run(WriteUtf16("t.htm", text), m_folder / "r.htm", eOverwrite));
  EXPECT_EQ(ReadText("r.htm"),
            CStr(u"<body><img src=\"r_files\\Image_000.png\" width=\"100\">"
                 u"<img src=\"r_files\\Image_001.png\" width=\"80\">"
                 u"<img src=\"r_files\\Image_002.png\" height=\"61\">"
                 u"<img src=\"r_files\\Image_003.png\" width=\"30\" height=\"40\"></body>"));
  EXPECT_TRUE(m_folder.Exists("r_files/Image_003.png"));
  EXPECT_TRUE(m_folder.Exists("wide.png"));
  // A second pass keeps the pictures already there and numbers on.
  ASSERT_TRUE(Run(WriteUtf16("t1.htm", u"<body>" + Placeholder(u"MainImage") + u"</body>"), m_folder / "r.htm",
                  eUnconfirmedOverwrite));
  EXPECT_EQ(ReadText("r.htm"), CStr(u"<body><img src=\"r_files\\Image_004.png\" width=\"100\"></body>"));
  // A gap left by a removed picture is the first free name.
  std::filesystem::remove((m_folder / "r_files/Image_001.png").ToUtf8());
  ASSERT_TRUE(Run(WriteUtf16("t1b.htm", u"<body>" + Placeholder(u"MainImage") + Placeholder(u"MainImage") + u"</body>"),
                  m_folder / "r.htm", eUnconfirmedOverwrite));
  EXPECT_EQ(ReadText("r.htm"), CStr(u"<body><img src=\"r_files\\Image_001.png\" width=\"100\">"
                                    u"<img src=\"r_files\\Image_005.png\" width=\"100\"></body>"));
  // A tall picture in a square box is limited by its height.
  AnswerPicture(u"MainImage", Picture("tall.png", 10, 40), 0, 100, 100);
  ASSERT_TRUE(Run(WriteUtf16("t2.htm", u"<body>" + Placeholder(u"MainImage") + u"</body>"), m_folder / "s.htm",
                  eOverwrite));
  EXPECT_EQ(ReadText("s.htm"), CStr(u"<body><img src=\"s_files\\Image_000.png\" height=\"100\"></body>"));
  AnswerPicture(u"MainImage", m_folder.Write("bad.png", "not a picture"), 0, 100, 100);
  ASSERT_TRUE(Run(WriteUtf16("t3.htm", u"<body>" + Placeholder(u"MainImage") + u"</body>"), m_folder / "u.htm",
                  eOverwrite));
  // A file that is no picture at all is refused in its place, and nothing is copied.
  EXPECT_EQ(ReadText("u.htm"), u"<body>[\"" + (m_folder / "bad.png") +
                                   u"\" is not a picture (PNG, JPEG, GIF, BMP or TIFF)]</body>");
  EXPECT_FALSE(m_folder.Exists("u_files/Image_000.png"));
}

TEST_F(HtmlGenerator, CompanionFolderIsCopiedAndReferencesRewritten) {
  m_folder.Write("my template_files/logo.png", "png");
  const CStr text = u"<body><img src=\"my template_files/logo.png\"><a href=\"my%20template_files/a\">"
                    u"my template_files</a></body>";
  ASSERT_TRUE(Run(WriteUtf16("my template.htm", text), m_folder / "out report.htm", eOverwrite));
  EXPECT_EQ(ReadText("out report.htm"),
            CStr(u"<body><img src=\"out report_files/logo.png\"><a href=\"out%20report_files/a\">"
                 u"my template_files</a></body>"));
  EXPECT_EQ(m_folder.Read("out report_files/logo.png"), "png");
}

TEST_F(HtmlGenerator, SectionedTemplateInThreePasses) {
  AnswerType(u"PrefaceEnd", V::ePrefaceEnd);
  AnswerType(u"SummaryBegin", V::eSummaryBegin);
  int measurement = 0;
  m_answers[u"filename"] = [&](V& v) {
    v.SetType(V::eText);
    v.SetText(CStr::DoStringFormat(u"scan%d", ++measurement));
  };
  AnswerText(u"FileCount", u"2 scans");
  const CStr text = u"<html><body><h1>Batch</h1>" + Placeholder(u"PrefaceEnd") + u"<p>" +
                    Placeholder(u"filename") + u"</p>" + Placeholder(u"SummaryBegin") + u"<p>" +
                    Placeholder(u"FileCount") + u"</p></body></html>";
  const CStr templatePath = WriteUtf16("t.htm", text);
  const CStr report = m_folder / "r.htm";
  ASSERT_TRUE(Run(templatePath, report, eUnconfirmedOverwrite, ePreface));
  EXPECT_EQ(ReadText("r.htm"), CStr(u"<html><body><h1>Batch</h1></body>"));
  ASSERT_TRUE(Run(templatePath, report, eAppend, eBody, false));
  ASSERT_TRUE(Run(templatePath, report, eAppend, eBody, false));
  ASSERT_TRUE(Run(templatePath, report, eAppend, eSummary, false));
  EXPECT_EQ(ReadText("r.htm"), CStr(u"<html><body><h1>Batch</h1><p>scan1</p><p>scan2</p><p>2 scans</p></body>"));
}

TEST_F(HtmlGenerator, WholeFileAtOnceIgnoresSections) {
  AnswerType(u"PrefaceEnd", V::ePrefaceEnd);
  AnswerText(u"filename", u"f");
  m_folio.SetProcessWholeFileAtOnce(true);
  const CStr text = u"<body>a" + Placeholder(u"PrefaceEnd") + u"b" + Placeholder(u"filename") + u"</body>";
  ASSERT_TRUE(Run(WriteUtf16("t.htm", text), m_folder / "r.htm", eOverwrite, ePreface));
  EXPECT_EQ(ReadText("r.htm"), CStr(u"<body>a</body>bf</body>"));
}

TEST_F(HtmlGenerator, ReportsThatCannotBeAppendedToAreExplained) {
  const CStr templatePath = WriteUtf16("t.htm", u"<body>x</body>");
  const CStr narrow = m_folder.Write("narrow.htm", "<body>old</body>");
  EXPECT_FALSE(Run(templatePath, narrow, eAppend));
  const CStr noBody = WriteUtf16("nobody.htm", u"<p>old</p>");
  EXPECT_FALSE(Run(templatePath, noBody, eAppend));
  const CStr fine = WriteUtf16("fine.htm", u"<body>old</body>");
  FileFaults::Reset();
  FileFaults::FailAt(EFileStep::eRead, 2);  // the template, then the report
  EXPECT_FALSE(Run(templatePath, fine, eAppend));
  const std::vector<CStr> texts = m_windows->MessageTexts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0], u"Cannot append to report file \"" + narrow + u"\": The Report file \"" + narrow +
                          u"\" is not in unicode text format");
  EXPECT_EQ(texts[1], u"Cannot append to report file \"" + noBody +
                          u"\": Could not find HTML body end tag (\"</body>\")");
  EXPECT_EQ(texts[2], u"Cannot append to report file \"" + fine + u"\": Unable to open Report file \"" + fine + u"\"");
  EXPECT_EQ(m_folder.Read("narrow.htm"), "<body>old</body>");
  EXPECT_EQ(ReadText("fine.htm"), CStr(u"<body>old</body>"));
}

TEST_F(HtmlGenerator, TemplateAccessFailuresAreExplained) {
  const CStr folderAsTemplate = m_folder / "dir.htm";
  std::filesystem::create_directory(folderAsTemplate.ToUtf8());
  EXPECT_FALSE(Run(folderAsTemplate, m_folder / "r.htm", eOverwrite));
  const CStr templatePath = WriteUtf16("t.htm", u"<body>x</body>");
  FileFaults::Reset();
  FileFaults::FailAt(EFileStep::eWrite, 1);  // the template is read but its copy cannot be written
  EXPECT_FALSE(Run(templatePath, m_folder / "r.htm", eOverwrite));
  const std::vector<CStr> texts = m_windows->MessageTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], u"Error while accessing template \"" + folderAsTemplate + u"\"");
  EXPECT_EQ(texts[1], u"Error while accessing template \"" + templatePath + u"\"");
  EXPECT_FALSE(m_folder.Exists("r.htm"));
  for (const auto& left : std::filesystem::directory_iterator(ProcessTempFolder().ToUtf8()))
    EXPECT_EQ(left.path().filename().string().rfind("TemplateCopy", 0), std::string::npos) << left.path();
}

TEST_F(HtmlGenerator, CompanionCopyFailureAsksWhetherToGoOn) {
  m_folder.Write("t_files/a.png", "png");
  const CStr templatePath = WriteUtf16("t.htm", u"<body>x</body>");
  FileFaults::FailAt(EFileStep::eCopy, 1);
  m_windows->Press(eIdOk);
  EXPECT_TRUE(Run(templatePath, m_folder / "r.htm", eOverwrite));
  FileFaults::Reset();
  FileFaults::FailAt(EFileStep::eCopy, 1);
  CFolio::ClearTemplateCache();  // otherwise a failed cached pass is tried once more
  m_windows->Press(eIdCancel);
  EXPECT_FALSE(Run(templatePath, m_folder / "s.htm", eOverwrite));
  const CStr question = u"Unable to copy files referenced by template \"" + templatePath + u"\".\n\nContinue processing?";
  EXPECT_EQ(m_windows->MessageTexts(), (std::vector<CStr>{question, question}));
  EXPECT_TRUE(m_folder.Exists("r.htm"));
  EXPECT_FALSE(m_folder.Exists("s.htm"));
}

TEST_F(HtmlGenerator, TheTemplateIsReadOncePerCacheLifetime) {
  AnswerText(u"filename", u"v");
  const CStr templatePath = WriteUtf16("t.htm", u"<body>" + Placeholder(u"filename") + u"</body>");
  ASSERT_TRUE(Run(templatePath, m_folder / "r.htm", eOverwrite));
  WriteUtf16("t.htm", u"<body>changed</body>");
  ASSERT_TRUE(Run(templatePath, m_folder / "r.htm", eUnconfirmedOverwrite));
  EXPECT_EQ(ReadText("r.htm"), CStr(u"<body>v</body>"));
  CFolio::ClearTemplateCache();
  ASSERT_TRUE(Run(templatePath, m_folder / "r.htm", eUnconfirmedOverwrite));
  EXPECT_EQ(ReadText("r.htm"), CStr(u"<body>changed</body>"));
}

TEST_F(HtmlGenerator, ProgressWindowFollowsTheRun) {
  AnswerText(u"filename", u"v");
  AnswerType(u"SummaryBegin", V::eSummaryBegin);
  const CStr templatePath =
      WriteUtf16("t.htm", u"<body>" + Placeholder(u"filename") + Placeholder(u"SummaryBegin") + u"</body>");
  m_folio.SetTemplate(templatePath);
  m_folio.SetReport(m_folder / "r.htm");
  m_folio.SetReportOptions(eOverwrite);
  m_folio.SetLivesheeterProcessingType(eBody);
  bool ok = true;
  ASSERT_TRUE(m_folio.Activate(ok, true));
  std::vector<CStr> texts;
  std::vector<int> positions;
  for (const SShownItem& item : m_windows->Shown()) {
    if (item.kind == SShownItem::EKind::eItemText && item.itemId == 14015) texts.push_back(item.text);
    if (item.kind == SShownItem::EKind::eProgressPos) positions.push_back(item.position);
  }
  EXPECT_EQ(texts, (std::vector<CStr>{u"Initializing...", u"Initializing...",
                                      u"Opening template...", u"Processing Element 0",
                                      u"Processing KORI Element 0  (filename)", u"Processing Element 1",
                                      u"Processing KORI Element 1  (SummaryBegin)", u"Cleaning up..."}));
  EXPECT_EQ(positions, (std::vector<int>{0, 0, 0, 20, 20, 55, 55, 0}));
  // A body pass keeps the window for the passes that follow; the summary pass ends it.
  EXPECT_TRUE(m_folio.ProgressDialogExists());
  m_folio.SetLivesheeterProcessingType(eSummary);
  m_folio.SetReportOptions(eAppend);
  ASSERT_TRUE(m_folio.Activate(ok, false));
  EXPECT_FALSE(m_folio.ProgressDialogExists());
}

// Text that only looks like a closing body tag (in a comment) is not where sections go.
TEST_F(HtmlGenerator, SectionsGoBeforeTheLastRealBodyEnd) {
  AnswerText(u"filename", u"v");
  const CStr templatePath =
      WriteUtf16("t.htm", u"<body>" + Placeholder(u"filename") + u"<!-- </body> --></body><p>after</p>");
  const CStr report = WriteUtf16("r.htm", u"<body>old<!-- </body> --></body></html>");
  ASSERT_TRUE(Run(templatePath, report, eAppend));
  EXPECT_EQ(ReadText("r.htm"), CStr(u"<body>old<!-- </body> --><body>v<!-- </body> --></body></html>"));
}

}  // namespace
