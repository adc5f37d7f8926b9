#include <gtest/gtest.h>

#include <filesystem>

#include "folio/platform/host/CInifile.h"
#include "folio/ui/CFolioDlg.h"
#include "folio/ui/CKoriInifile.h"
#include "folio/util/StringTable.h"
#include "folio/util/SystemUtils.h"
#include "ui/FolioDlgFixture.h"

namespace {

using V = CKORIControlValue;
using EKind = SShownItem::EKind;

class FolioDlg : public FolioDlgFixture {
protected:
  // Opens the dialog and returns the state of its window.
  SScriptedWindowState& Open() {
    EXPECT_TRUE(m_folio.CreateFolioDialog());
    return *m_windows->Windows().back();
  }
  std::vector<std::filesystem::path> Reports() const {
    std::vector<std::filesystem::path> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(OutputFolder().ToUtf8(), error))
      found.push_back(entry.path());
    return found;
  }
};

TEST_F(FolioDlg, TheLastChoicesFillTheReporterAndAnUnknownOptionMeansAuto) {
  StoreChoices("/t/a.htm", "/r/b.htm", "Append");
  { CFolioDlg dialog(nullptr, &m_folio); }
  EXPECT_EQ(m_folio.GetTemplate(), u"/t/a.htm");
  EXPECT_EQ(m_folio.GetReport(), u"/r/b.htm");
  EXPECT_EQ(m_folio.GetReportOptions(), eAppend);

  StoreChoices("/t/a.htm", "/r/b.htm", "Sometimes");
  { CFolioDlg dialog(nullptr, &m_folio); }
  EXPECT_EQ(m_folio.GetReportOptions(), eAuto);
}

TEST_F(FolioDlg, TheDialogSitsTopRightAndEveryWayOutKeepsTheChoices) {
  m_windows->SetScreenSize({1600, 900});
  SScriptedWindowState& window = Open();
  EXPECT_TRUE(m_folio.FolioDialogExists());
  EXPECT_TRUE(window.visible);
  EXPECT_EQ(window.dialog.caption, u"Livesheeter");
  // 359 dialog units are 539 pixels wide.
  EXPECT_EQ(window.topLeft, (SPoint{1600 - 539 - 10, 30}));

  window.Click(CFolioDlg::IDC_OPTION_APPEND);
  window.Type(CFolioDlg::IDC_TEMPLATE, u"/t/a.htm");
  window.Click(eIdOk);  // "Close"
  EXPECT_FALSE(window.visible);
  EXPECT_EQ(CKoriInifile().GetDefaultWordReportOptions(), u"Append");
  EXPECT_EQ(CKoriInifile().GetDefaultWordTemplate(), u"/t/a.htm");

  EXPECT_TRUE(m_folio.CreateFolioDialog());  // the same window comes back
  EXPECT_EQ(m_windows->Windows().size(), 1u);
  window.Click(CFolioDlg::IDC_OPTION_OVERWRITE);
  window.RequestClose();
  EXPECT_EQ(CKoriInifile().GetDefaultWordReportOptions(), u"Overwrite");

  EXPECT_TRUE(m_folio.CreateFolioDialog());
  window.Click(CFolioDlg::IDC_OPTION_UNCONFIRMED_OVERWRITE);
  EXPECT_TRUE(m_folio.DestroyFolioDialog());
  EXPECT_TRUE(window.destroyed);
  EXPECT_EQ(CKoriInifile().GetDefaultWordReportOptions(), u"UnconfirmedOverwrite");
  EXPECT_FALSE(m_folio.DestroyFolioDialog());
  EXPECT_FALSE(m_folio.FolioDialogExists());
}

TEST_F(FolioDlg, WithoutAWindowTheDialogIsNotShown) {
  m_windows->SetCanCreateWindows(false);
  EXPECT_FALSE(m_folio.CreateFolioDialog());
  EXPECT_TRUE(m_folio.DestroyFolioDialog());
}

TEST_F(FolioDlg, ANamedReportTakesTheTemplatesExtension) {
  StoreChoices("/t/a.htm", "", "Append");
  SScriptedWindowState& window = Open();
  window.Type(CFolioDlg::IDC_REPORT, u"/r/r.doc");
  EXPECT_EQ(window.Text(CFolioDlg::IDC_REPORT), u"/r/r.htm");
  EXPECT_EQ(m_folio.GetReport(), u"/r/r.htm");
  window.Type(CFolioDlg::IDC_REPORT, u"/r/plain");
  EXPECT_EQ(window.Text(CFolioDlg::IDC_REPORT), u"/r/plain.htm");
  // The same extension in other letters is left as typed.
  window.Type(CFolioDlg::IDC_REPORT, u"/r/R.HTM");
  EXPECT_EQ(m_folio.GetReport(), u"/r/R.HTM");
  // A new template renames the report too.
  window.Type(CFolioDlg::IDC_TEMPLATE, u"/t/w.docx");
  EXPECT_EQ(window.Text(CFolioDlg::IDC_REPORT), u"/r/R.docx");
}

TEST_F(FolioDlg, ControlsFollowTheOptionAndTheNames) {
  SScriptedWindowState& window = Open();
  EXPECT_TRUE(window.checked.contains(CFolioDlg::IDC_OPTION_AUTO));
  EXPECT_TRUE(window.readOnly.contains(CFolioDlg::IDC_REPORT));
  EXPECT_TRUE(window.disabled.contains(CFolioDlg::IDC_BROWSE_REPORT));
  EXPECT_TRUE(window.disabled.contains(CFolioDlg::IDC_CREATE_REPORT));
  EXPECT_TRUE(window.disabled.contains(CFolioDlg::IDC_TEMPLATE_OPEN));
  EXPECT_THROW(window.Type(CFolioDlg::IDC_REPORT, u"/r/x.htm"), EUnexpectedQuestion);

  // With automatic names, a template is all Create Report needs.
  window.Type(CFolioDlg::IDC_TEMPLATE, u"/t/a.htm");
  EXPECT_FALSE(window.disabled.contains(CFolioDlg::IDC_CREATE_REPORT));
  EXPECT_FALSE(window.disabled.contains(CFolioDlg::IDC_TEMPLATE_OPEN));

  window.Click(CFolioDlg::IDC_OPTION_OVERWRITE);
  EXPECT_EQ(m_folio.GetReportOptions(), eOverwrite);
  EXPECT_FALSE(window.readOnly.contains(CFolioDlg::IDC_REPORT));
  EXPECT_FALSE(window.disabled.contains(CFolioDlg::IDC_BROWSE_REPORT));
  EXPECT_TRUE(window.disabled.contains(CFolioDlg::IDC_CREATE_REPORT));
  EXPECT_TRUE(window.disabled.contains(CFolioDlg::IDC_REPORT_OPEN));
  EXPECT_EQ(window.Text(CFolioDlg::IDC_REPORT), u"");
  window.Type(CFolioDlg::IDC_REPORT, u"/r/x.htm");
  EXPECT_FALSE(window.disabled.contains(CFolioDlg::IDC_CREATE_REPORT));
  EXPECT_FALSE(window.disabled.contains(CFolioDlg::IDC_REPORT_OPEN));
}

TEST_F(FolioDlg, AnAutomaticReportIsNamedByTheClockAndMadeInThreePasses) {
  std::filesystem::create_directories(OutputFolder().ToUtf8());
  StoreChoices(SectionedTemplate("T.HTML").ToUtf8(), "", "Auto");
  SScriptedWindowState& window = Open();
  window.Click(CFolioDlg::IDC_CREATE_REPORT);

  const std::vector<std::filesystem::path> reports = Reports();
  ASSERT_EQ(reports.size(), 1u);
  const std::string name = reports[0].filename().string();
  EXPECT_TRUE(name.starts_with("Report ") && name.ends_with(".htm")) << name;
  EXPECT_EQ(m_folio.GetReport(), CStr::FromUtf8(reports[0].string()));
  EXPECT_EQ(window.Text(CFolioDlg::IDC_REPORT), m_folio.GetReport());
  const CStr report = TextFile::Read(m_folio.GetReport());
  EXPECT_NE(report.Find(u"Preface"), CStr::npos);
  EXPECT_NE(report.Find(u"Body scan_014.spm"), CStr::npos);
  EXPECT_NE(report.Find(u"Summary"), CStr::npos);
  // The user's option is back, although body and summary were appended.
  EXPECT_EQ(m_folio.GetReportOptions(), eAuto);
  EXPECT_TRUE(window.checked.contains(CFolioDlg::IDC_OPTION_AUTO));

  // Hidden while the report was made, shown again at the end.
  std::vector<EKind> visibility;
  for (const SShownItem& item : m_windows->Shown())
    if (item.resourceId == CFolioDlg::IDD && (item.kind == EKind::eWindowShown || item.kind == EKind::eWindowHidden))
      visibility.push_back(item.kind);
  EXPECT_EQ(visibility, (std::vector<EKind>{EKind::eWindowShown, EKind::eWindowHidden, EKind::eWindowShown}));
  EXPECT_TRUE(window.visible);
  EXPECT_TRUE(m_windows->MessageTexts().empty());
}

TEST_F(FolioDlg, AMissingOutputFolderIsCreatedOnlyWhenTheUserSaysYes) {
  StoreChoices(SectionedTemplate("t.htm").ToUtf8(), "sub/r.htm", "UnconfirmedOverwrite");
  SScriptedWindowState& window = Open();
  const CStr folder = OutputFolder() + u"/sub/";
  const CStr question = u"The output folder \"" + folder + u"\" does not exist.\n\nDo you wish to create it?";

  m_windows->Press(eIdNo);
  window.Click(CFolioDlg::IDC_CREATE_REPORT);
  EXPECT_EQ(m_windows->MessageTexts(), std::vector<CStr>{question});
  EXPECT_EQ(m_folio.GetReport(), OutputFolder() + u"/sub/r.htm");
  EXPECT_FALSE(std::filesystem::exists(folder.ToUtf8()));
  EXPECT_TRUE(window.visible);

  m_windows->Press(eIdYes);
  window.Click(CFolioDlg::IDC_CREATE_REPORT);
  EXPECT_TRUE(std::filesystem::exists((OutputFolder() + u"/sub/r.htm").ToUtf8()));
  EXPECT_EQ(m_folio.GetReportOptions(), eUnconfirmedOverwrite);
}

TEST_F(FolioDlg, AFolderThatCannotBeMadeStopsBeforeAnyReport) {
  m_folder.Write("Livesheet Reports", "a file where the folder should be");
  StoreChoices(SectionedTemplate("t.htm").ToUtf8(), "sub/r.htm", "Append");
  SScriptedWindowState& window = Open();
  m_windows->Press(eIdYes);
  window.Click(CFolioDlg::IDC_CREATE_REPORT);
  const std::vector<CStr> texts = m_windows->MessageTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1], u"Unable to create folder \"" + OutputFolder() + u"/sub/\" (error code: 0)");
  EXPECT_TRUE(window.visible);
}

TEST_F(FolioDlg, AFailedPassBringsTheDialogBackWithTheUsersOption) {
  std::filesystem::create_directories(OutputFolder().ToUtf8());
  StoreChoices((m_folder / "missing.htm").ToUtf8(), "r.htm", "Overwrite");
  SScriptedWindowState& window = Open();
  window.Click(CFolioDlg::IDC_CREATE_REPORT);
  ASSERT_EQ(m_windows->MessageTexts().size(), 1u);
  EXPECT_EQ(m_windows->MessageTexts()[0], u"The specified template does not exist");
  EXPECT_TRUE(Reports().empty());
  EXPECT_EQ(m_folio.GetReportOptions(), eOverwrite);
  EXPECT_TRUE(window.visible);
}

TEST_F(FolioDlg, RecordedConversionsEndTheRunWithTheMigrationNotice) {
  std::filesystem::create_directories(OutputFolder().ToUtf8());
  StoreChoices(SectionedTemplate("t.htm").ToUtf8(), "", "Auto");
  SReportConversionResult result(V::eTranslated);
  m_folio.SetReportConversionResult(result);
  SScriptedWindowState& window = Open();
  m_windows->Press(eIdOk);
  window.Click(CFolioDlg::IDC_CREATE_REPORT);

  const SShownItem& notice = m_windows->Shown().back();
  ASSERT_EQ(notice.kind, EKind::eMessageBox);
  EXPECT_EQ(notice.text, LoadResourceString(eStrMigrationNotice));
  EXPECT_EQ(notice.caption, u"KORI");
  EXPECT_EQ(notice.style, 0x4030u);
  EXPECT_EQ(notice.helpContext, 0xFFFDBF92u);
}

TEST_F(FolioDlg, FileDialogsSetTheNamesOrSayWhyTheyCouldNotShow) {
  StoreChoices("", "", "Append");
  SScriptedWindowState& window = Open();
  m_windows->ChooseFile(u"/t/chosen.htm");
  window.Click(CFolioDlg::IDC_BROWSE_TEMPLATE);
  EXPECT_EQ(m_folio.GetTemplate(), u"/t/chosen.htm");
  EXPECT_EQ(window.Text(CFolioDlg::IDC_TEMPLATE), u"/t/chosen.htm");

  m_windows->ChooseFile(u"/r/out.doc");
  window.Click(CFolioDlg::IDC_BROWSE_REPORT);
  EXPECT_EQ(m_folio.GetReport(), u"/r/out.htm");

  m_windows->PressEscape();
  window.Click(CFolioDlg::IDC_BROWSE_TEMPLATE);
  EXPECT_EQ(m_folio.GetTemplate(), u"/t/chosen.htm");

  m_windows->FailToShow(12291);
  window.Click(CFolioDlg::IDC_BROWSE_REPORT);
  const CStr failure = m_windows->MessageTexts().back();
  EXPECT_TRUE(failure.StartsWith(u"Unable to display \"Save File\" dialog\n\nError description:\nThe buffer"))
      << failure.ToUtf8();

  std::vector<std::pair<CStr, unsigned>> asked;
  for (const SShownItem& item : m_windows->Shown())
    if (item.kind == EKind::eFileDialog) asked.emplace_back(item.caption, item.style);
  ASSERT_EQ(asked.size(), 4u);
  EXPECT_EQ(asked[0], std::make_pair(CStr(u"Template file name"), 0x1004u));
  EXPECT_EQ(asked[1], std::make_pair(CStr(u"Report file name"), 0x0804u));
}

TEST_F(FolioDlg, HelpAsksForTheDialogsTopic) {
  std::vector<unsigned> topics;
  SetHelpHandler([&topics](unsigned context) { topics.push_back(context); });
  SScriptedWindowState& window = Open();
  window.Click(CFolioDlg::IDC_HELP);
  SetHelpHandler(nullptr);
  EXPECT_EQ(topics, std::vector<unsigned>{14101});
}

}  // namespace
