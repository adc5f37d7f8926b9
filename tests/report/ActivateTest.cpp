#include "ReportFixture.h"

namespace {

class Activate : public ReportFixture {
protected:
  CStr MakeTemplate() { return WriteUtf16("t.htm", u"<html><body>" + Placeholder(u"filename") + u"</body></html>"); }
};

TEST_F(Activate, MissingCallbackIsReportedSilently) {
  CFolio folio;
  folio.SetTemplate(MakeTemplate());
  bool ok = true;
  EXPECT_FALSE(folio.Activate(ok, false));
  EXPECT_EQ(folio.GetError(), CStr(u"GetValue callback function not initialized"));
  EXPECT_TRUE(m_windows->Shown().empty());
}

TEST_F(Activate, InputErrorsAreShownAndLeaveTheErrorText) {
  m_folio.GetError() = u"earlier";
  EXPECT_FALSE(Run(CStr(), m_folder / "r.htm", eAuto));
  EXPECT_FALSE(Run(m_folder / "missing.htm", m_folder / "r.htm", eAuto));
  EXPECT_EQ(m_windows->MessageTexts(),
            (std::vector<CStr>{u"Please enter a template file name.", u"The specified template does not exist"}));
  EXPECT_EQ(m_folio.GetError(), CStr(u"earlier"));
}

TEST_F(Activate, FormatComesFromTheExtension) {
  EXPECT_EQ(CFolio::GetTemplateFormat(u"a/b/REPORT.HTM"), eHTML);
  EXPECT_EQ(CFolio::GetTemplateFormat(u"x.html"), eHTML);
  EXPECT_EQ(CFolio::GetTemplateFormat(u"x.htmx"), eWord);
  EXPECT_EQ(CFolio::GetTemplateFormat(u"x.txt"), eWord);
  EXPECT_EQ(CFolio::GetTemplateFormat(u"noextension"), eWord);
}

TEST_F(Activate, AutoWritesThroughATemporaryReportAndSwitchesToAppend) {
  AnswerText(u"filename", u"scan_014.spm");
  const CStr report = m_folder / "report.htm";
  ASSERT_TRUE(Run(MakeTemplate(), report, eAuto));
  EXPECT_EQ(m_folio.GetReportOptions(), eAppend);
  EXPECT_EQ(ReadText("report.htm"), CStr(u"<html><body>scan_014.spm</body></html>"));
  for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path()))
    EXPECT_EQ(entry.path().filename().string().rfind("TempReport", 0), std::string::npos) << entry.path();
  // A second automatic run appends to the report it made.
  ASSERT_TRUE(Run(MakeTemplate(), report, eAuto));
  // Without section tags the body is the whole template, head included.
  EXPECT_EQ(ReadText("report.htm"),
            CStr(u"<html><body>scan_014.spm<html><body>scan_014.spm</body></html>"));
}

TEST_F(Activate, OverwriteAsksOnlyWhenTheReportExists) {
  AnswerText(u"filename", u"new");
  const CStr report = m_folder / "report.htm";
  ASSERT_TRUE(Run(MakeTemplate(), report, eOverwrite));
  EXPECT_TRUE(m_windows->Shown().empty());
  EXPECT_EQ(ReadText("report.htm"), CStr(u"<html><body>new</body></html>"));

  m_windows->Press(IConfirmOverwrite::eOverwrite);
  AnswerText(u"filename", u"newer");
  ASSERT_TRUE(Run(MakeTemplate(), report, eOverwrite));
  EXPECT_EQ(m_folio.GetReportOptions(), eUnconfirmedOverwrite);
  EXPECT_EQ(ReadText("report.htm"), CStr(u"<html><body>newer</body></html>"));

  m_windows->Press(IConfirmOverwrite::eAppend);
  ASSERT_TRUE(Run(MakeTemplate(), report, eOverwrite));
  EXPECT_EQ(m_folio.GetReportOptions(), eAppend);
  EXPECT_EQ(ReadText("report.htm"), CStr(u"<html><body>newer<html><body>newer</body></html>"));
}

TEST_F(Activate, CancellingTheQuestionKeepsTheReport) {
  const CStr report = WriteUtf16("report.htm", u"<html><body>old</body></html>");
  m_windows->PressEscape();
  EXPECT_FALSE(Run(MakeTemplate(), report, eOverwrite));
  EXPECT_FALSE(m_lastOk);
  EXPECT_EQ(m_folio.GetReportOptions(), eOverwrite);
  EXPECT_EQ(ReadText("report.htm"), CStr(u"<html><body>old</body></html>"));
}

TEST_F(Activate, AReportThatCannotBeSetAsideIsAskedAbout) {
  const CStr report = WriteUtf16("report.htm", u"<html><body>old</body></html>");
  FileFaults::FailAt(EFileStep::eRename, 1);
  m_windows->Press(eIdCancel);
  EXPECT_FALSE(Run(MakeTemplate(), report, eUnconfirmedOverwrite));
  EXPECT_EQ(ReadText("report.htm"), CStr(u"<html><body>old</body></html>"));
  FileFaults::Reset();
  FileFaults::FailAt(EFileStep::eRename, 1);
  m_windows->Press(eIdRetry);
  AnswerText(u"filename", u"new");
  EXPECT_TRUE(Run(MakeTemplate(), report, eUnconfirmedOverwrite));
  EXPECT_EQ(ReadText("report.htm"), CStr(u"<html><body>new</body></html>"));
  const std::vector<CStr> texts = m_windows->MessageTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], texts[1]);
  EXPECT_TRUE(texts[0].StartsWith(u"The report can not be saved because the output file \"" + report +
                                  u"\" is inaccessible.\r\n\r\nError message: \""));
}

TEST_F(Activate, AReadOnlyReportIsNotReplacedButAskedAbout) {
  const CStr report = WriteUtf16("report.htm", u"<html><body>old</body></html>");
  std::filesystem::permissions(report.ToUtf8(), std::filesystem::perms::owner_read);
  m_windows->Press(eIdCancel);
  EXPECT_FALSE(Run(MakeTemplate(), report, eUnconfirmedOverwrite));
  EXPECT_EQ(ReadText("report.htm"), CStr(u"<html><body>old</body></html>"));
  const std::vector<CStr> texts = m_windows->MessageTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], u"The report can not be saved because the output file \"" + report +
                          u"\" is inaccessible.\r\n\r\nError message: \"it is read-only\"");
}

TEST_F(Activate, AnOverwriteThatFailsPutsTheOldReportBack) {
  const CStr report = WriteUtf16("report.htm", u"<html><body>old</body></html>");
  FileFaults::FailAt(EFileStep::eRead, 1);  // the template cannot be read
  EXPECT_FALSE(Run(MakeTemplate(), report, eUnconfirmedOverwrite));
  EXPECT_FALSE(m_lastOk);
  EXPECT_EQ(ReadText("report.htm"), CStr(u"<html><body>old</body></html>"));
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path()))
    entries += entry.path().filename() != PrivateFolderName();
  EXPECT_EQ(entries, 2);
}

TEST_F(Activate, AnInaccessibleReportIsAskedAboutUntilCancelled) {
  const CStr report = m_folder / "no-such-folder/report.htm";
  m_windows->Press(eIdRetry).Press(eIdCancel);
  EXPECT_FALSE(Run(MakeTemplate(), report, eOverwrite));
  const CStr text = u"The report file \"" + report + u"\" is inaccessible, please close when opened in other application.";
  EXPECT_EQ(m_windows->MessageTexts(), (std::vector<CStr>{text, text}));
}

}  // namespace
