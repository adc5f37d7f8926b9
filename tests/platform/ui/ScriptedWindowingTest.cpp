#include <gtest/gtest.h>

#include "folio/platform/ui/CDialog.h"
#include "folio/platform/host/CInifile.h"
#include "folio/platform/ui/CSafeFileDialog.h"
#include "folio/platform/ui/CScriptedWindowing.h"
#include "folio/platform/ui/CStringEdit.h"
#include "util/ScratchFolder.h"

namespace {

using EKind = SShownItem::EKind;

class ScriptedWindowing : public ::testing::Test {
protected:
  std::shared_ptr<CScriptedWindowing> ui = std::make_shared<CScriptedWindowing>();
  CScopedWindowing scope{ui};
};

SDialogTemplate TwoButtonDialog() {
  SDialogTemplate dialog;
  dialog.resourceId = 500;
  dialog.caption = u"Question";
  dialog.controls = {{EControlKind::eLabel, 0, u"Proceed?", {}, false},
                     {EControlKind::eButton, 1, u"OK", {}, true},
                     {EControlKind::eButton, 40, u"More", {}, false}};
  return dialog;
}

// A dialog whose "More" button does not end it.
class CMoreDialog : public CDialog {
public:
  CMoreDialog() : CDialog(TwoButtonDialog(), nullptr) {}
  int more = 0;

protected:
  bool OnCommand(int id) override {
    if (id == 40) { ++more; return true; }
    return CDialog::OnCommand(id);
  }
};

TEST_F(ScriptedWindowing, records_every_message_box_with_caption_text_buttons_and_answer_escape_included) {
  ui->Press(eIdRetry).Press(eIdCancel);
  EXPECT_EQ(ShowMessageBox(u"first", eMbRetryCancel, 0, u"KORI"), eIdRetry);
  EXPECT_EQ(ShowMessageBox(u"second", eMbRetryCancel | eMbIconWarning), eIdCancel);
  ASSERT_EQ(ui->Shown().size(), 2u);
  const SShownItem& first = ui->Shown()[0];
  EXPECT_EQ(first.kind, EKind::eMessageBox);
  EXPECT_EQ(first.caption, u"KORI");
  EXPECT_EQ(first.text, u"first");
  EXPECT_EQ(first.buttons, (std::vector<SButton>{{eIdRetry, u"Retry"}, {eIdCancel, u"Cancel"}}));
  EXPECT_EQ(first.answer, eIdRetry);
  // Without a caption the application title stands in.
  EXPECT_EQ(ui->Shown()[1].caption, GetApplicationTitle());
  EXPECT_EQ(ui->Shown()[1].style, unsigned(eMbRetryCancel | eMbIconWarning));
  EXPECT_EQ(ui->MessageTexts(), (std::vector<CStr>{u"first", u"second"}));
  EXPECT_EQ(ui->Remaining(), 0u);
  // Escape and close give what the box allows.
  ui->PressEscape().PressClose().PressEscape();
  EXPECT_EQ(ShowMessageBox(u"a", eMbRetryCancel), eIdCancel);
  EXPECT_EQ(ShowMessageBox(u"b", eMbYesNoCancel), eIdCancel);
  EXPECT_EQ(ShowMessageBox(u"c", eMbOk), eIdOk);
}

TEST_F(ScriptedWindowing, string_table_messages_are_formatted_with_their_arguments) {
  ui->Press(eIdCancel);
  EXPECT_EQ(ShowStringMessage(eStrReportFileInaccessible, eMbRetryCancel, CStr(u"/r/\u00e9t\u00e9.htm")), eIdCancel);
  ShowStringMessage(eStrErrorAccessingWord, eMbOk, 0x80080005u);
  EXPECT_EQ(ui->MessageTexts(),
            (std::vector<CStr>{u"The report file \"/r/\u00e9t\u00e9.htm\" is inaccessible, please close when "
                               u"opened in other application.",
                               u"Error when accessing Microsoft Word (Error code: 0x80080005)"}));
}

// A question the script does not answer fails, naming it: none left, escape where the box
// cannot be escaped, a button the box lacks, an answer of another kind. A notice answers
// itself unless told not to.
TEST_F(ScriptedWindowing, a_question_the_script_does_not_answer_fails_but_a_notice_answers_itself) {
  EXPECT_EQ(ShowMessageBox(u"notice"), eIdOk);
  EXPECT_THROW(ShowMessageBox(u"question", eMbOkCancel), EUnexpectedQuestion);
  // The failed question is still on record.
  EXPECT_EQ(ui->MessageTexts(), (std::vector<CStr>{u"notice", u"question"}));
  ui->PressEscape();
  try {
    ShowMessageBox(u"Create the folder?", eMbYesNo);
    ADD_FAILURE() << "no failure";
  } catch (const EUnexpectedQuestion& e) {
    const std::string what = e.what();
    EXPECT_NE(what.find("Create the folder?"), std::string::npos) << what;
    EXPECT_NE(what.find("Yes(6) No(7)"), std::string::npos) << what;
  }
  ui->Press(eIdYes);
  EXPECT_THROW(ShowMessageBox(u"x", eMbRetryCancel), EUnexpectedQuestion);
  ui->ChooseFile(u"/tmp/a.htm");
  EXPECT_THROW(ShowMessageBox(u"x", eMbOkCancel), EUnexpectedQuestion);
  ui->Press(eIdOk);
  EXPECT_THROW(GetWindowing().FileDialog({}), EUnexpectedQuestion);
  ui->SetNoticesNeedAnswers(true);
  EXPECT_THROW(ShowMessageBox(u"notice"), EUnexpectedQuestion);
}

TEST_F(ScriptedWindowing, help_calls_the_help_handler_and_leaves_the_box_open) {
  std::vector<unsigned> asked;
  SetHelpHandler([&](unsigned context) { asked.push_back(context); });
  ui->Press(eIdHelp).Press(eIdOk);
  EXPECT_EQ(ShowMessageBox(u"notice", 0x4030, 0xFFFDBF92u, u"KORI"), eIdOk);
  SetHelpHandler(nullptr);
  EXPECT_EQ(asked, std::vector<unsigned>{0xFFFDBF92u});
  EXPECT_EQ(ui->Shown().size(), 2u);
}

TEST_F(ScriptedWindowing, file_dialogs_return_the_chosen_path_cancel_or_failure) {
  ui->ChooseFile(u"/data/t.htm").PressEscape().Press(eIdCancel).FailToShow(0x3002);
  SFileDialog request;
  request.title = u"Template file name";
  request.initialFile = u"old.htm";
  request.flags = eOfnFileMustExist | eOfnHideReadOnly;
  const SFileDialogResult chosen = GetWindowing().FileDialog(request);
  EXPECT_EQ(chosen.result, eIdOk);
  EXPECT_EQ(chosen.path, u"/data/t.htm");
  EXPECT_EQ(GetWindowing().FileDialog(request).result, eIdCancel);
  EXPECT_EQ(GetWindowing().FileDialog(request).result, eIdCancel);
  const SFileDialogResult failed = GetWindowing().FileDialog(request);
  EXPECT_EQ(failed.result, eIdFailed);
  EXPECT_EQ(failed.errorCode, 0x3002u);
  EXPECT_EQ(ui->Shown()[0].caption, u"Template file name");
  EXPECT_EQ(ui->Shown()[0].text, u"old.htm");
  EXPECT_EQ(ui->Shown()[0].style, 0x1004u);
  EXPECT_EQ(ui->Shown()[0].path, u"/data/t.htm");
}

TEST_F(ScriptedWindowing, a_modal_dialog_runs_until_a_command_ends_it) {
  ui->Press(40).Press(40).Press(eIdOk);
  CMoreDialog dialog;
  EXPECT_EQ(dialog.DoModal(), eIdOk);
  EXPECT_EQ(dialog.more, 2);
  ASSERT_EQ(ui->Shown().size(), 3u);
  EXPECT_EQ(ui->Shown()[0].kind, EKind::eDialog);
  EXPECT_EQ(ui->Shown()[0].resourceId, 500);
  EXPECT_EQ(ui->Shown()[0].text, u"Proceed?");
  // Escape and close issue Cancel; a dialog that cannot be shown gives minus one.
  ui->PressEscape().PressClose().FailToShow();
  EXPECT_EQ(dialog.DoModal(), eIdCancel);
  EXPECT_EQ(dialog.DoModal(), eIdCancel);
  EXPECT_EQ(dialog.DoModal(), eIdFailed);
  EXPECT_EQ(ui->Shown()[3].answer, eIdCancel);
  EXPECT_THROW(dialog.DoModal(), EUnexpectedQuestion);
  ui->Press(eIdNo);  // not one of the dialog's buttons
  EXPECT_THROW(dialog.DoModal(), EUnexpectedQuestion);
}

TEST_F(ScriptedWindowing, modeless_windows_record_their_changes_and_keep_state_after_destruction) {
  CDialog dialog(TwoButtonDialog(), nullptr);
  ASSERT_TRUE(dialog.CreateModeless(nullptr));
  EXPECT_FALSE(dialog.IsWindowVisible());
  dialog.ShowWindow(true);
  dialog.SetDlgItemText(40, u"Less");
  EXPECT_EQ(dialog.GetDlgItemText(40), u"Less");
  EXPECT_EQ(dialog.GetDlgItemText(1), u"OK");
  dialog.DestroyWindow();
  EXPECT_FALSE(dialog.HasWindow());
  EXPECT_EQ(dialog.GetDlgItemText(40), u"");

  ASSERT_EQ(ui->Windows().size(), 1u);
  const SScriptedWindowState& state = *ui->Windows()[0];
  EXPECT_TRUE(state.destroyed);
  EXPECT_EQ(state.texts.at(40), u"Less");
  std::vector<EKind> kinds;
  for (const SShownItem& item : ui->Shown()) kinds.push_back(item.kind);
  EXPECT_EQ(kinds, (std::vector<EKind>{EKind::eWindowCreated, EKind::eWindowShown, EKind::eItemText,
                                       EKind::eWindowDestroyed}));
}

TEST_F(ScriptedWindowing, a_backend_that_cannot_create_windows_leaves_the_dialog_without_one) {
  ui->SetCanCreateWindows(false);
  CDialog dialog(TwoButtonDialog(), nullptr);
  EXPECT_FALSE(dialog.CreateModeless(nullptr));
  EXPECT_FALSE(dialog.HasWindow());
  dialog.SetDlgItemText(1, u"ignored");  // harmless without a window
  EXPECT_TRUE(ui->Shown().empty());
}

TEST(WindowingBackend, a_scoped_backend_is_current_only_within_its_scope) {
  IWindowing* before = &GetWindowing();
  {
    auto scripted = std::make_shared<CScriptedWindowing>();
    CScopedWindowing scope(scripted);
    EXPECT_EQ(&GetWindowing(), scripted.get());
  }
  EXPECT_EQ(&GetWindowing(), before);
}


SDialogTemplate FormDialog() {
  SDialogTemplate dialog;
  dialog.resourceId = 600;
  dialog.rect = {0, 0, 100, 40};
  dialog.controls = {{EControlKind::eRadio, 10, u"One", {}, false},
                     {EControlKind::eRadio, 11, u"Two", {}, false},
                     {EControlKind::eEdit, 20, u"", {}, false},
                     {EControlKind::eButton, 30, u"Go", {}, false},
                     {EControlKind::eButton, 1, u"Close", {}, false}};
  return dialog;
}

// A modeless form whose edit field trims what is typed and whose Go button counts.
class CFormDialog : public CDialog {
public:
  CFormDialog() : CDialog(FormDialog(), nullptr) {}
  int goes = 0;
  int closes = 0;
  CStringEdit edit;

protected:
  bool OnInitDialog() override {
    edit.SubclassDlgItem(20, this);
    edit.SetValidationCallback([](CString& text) {
      text = CString(text.ToCStr().Trimmed());
      return true;
    });
    return true;
  }
  bool OnCommand(int id) override {
    if (id == 30) { ++goes; return true; }
    return CDialog::OnCommand(id);
  }
  void OnEditCommitted(int id) override {
    if (id == 20) edit.Validate();
  }
  void OnClose() override {
    ++closes;
    CDialog::OnClose();
  }
};

TEST_F(ScriptedWindowing, a_modeless_window_takes_clicks_and_typing_only_where_a_user_could) {
  CFormDialog dialog;
  ASSERT_TRUE(dialog.CreateModeless(nullptr));
  SScriptedWindowState& window = *ui->Windows().back();
  EXPECT_THROW(window.Click(30), EUnexpectedQuestion);  // not shown yet
  dialog.ShowWindow(true);

  window.Click(30);
  EXPECT_EQ(dialog.goes, 1);
  dialog.EnableDlgItem(30, false);
  EXPECT_THROW(window.Click(30), EUnexpectedQuestion);
  EXPECT_THROW(window.Click(99), EUnexpectedQuestion);
  EXPECT_THROW(window.Type(30, u"x"), EUnexpectedQuestion);

  window.Type(20, u"  trimmed ");
  EXPECT_EQ(dialog.GetDlgItemText(20), u"trimmed");
  dialog.SetDlgItemReadOnly(20, true);
  EXPECT_THROW(window.Type(20, u"x"), EUnexpectedQuestion);

  // Radio buttons of the group exclude each other.
  window.Click(10);
  window.Click(11);
  EXPECT_FALSE(dialog.IsDlgButtonChecked(10));
  EXPECT_TRUE(dialog.IsDlgButtonChecked(11));

  // Closing a modeless dialog hides it; the window stays until destroyed.
  window.RequestClose();
  EXPECT_EQ(dialog.closes, 1);
  EXPECT_TRUE(dialog.HasWindow());
  EXPECT_FALSE(window.visible);
  dialog.ShowWindow(true);
  window.Click(1);
  EXPECT_FALSE(window.visible);
}

TEST_F(ScriptedWindowing, windows_report_their_pixel_size_and_move) {
  CFormDialog dialog;
  ASSERT_TRUE(dialog.CreateModeless(nullptr));
  EXPECT_EQ(dialog.GetClientSize(), (SSize{150, 65}));
  dialog.MoveWindow({70, 30});
  EXPECT_EQ(dialog.GetWindowPosition(), (SPoint{70, 30}));
}

TEST_F(ScriptedWindowing, a_file_dialog_starts_in_the_files_folder_else_the_remembered_one) {
  ScratchFolder folder;
  const CStr ini = folder / "settings.ini";
  const CStr remembered = folder.Text();
  ui->ChooseFile(remembered + u"/picked.htm").ChooseFile(u"/elsewhere/b.htm");

  CSafeFileDialog first(true, CStr(), CStr(), eOfnFileMustExist, u"All|*.*||");
  first.SetStoreSettings(ini, u"Probe");
  first.SetFileAndDir(CStr(), u"/fallback", CStr());
  ASSERT_TRUE(first.SafeDoModal());
  EXPECT_EQ(first.GetReturnCode(), eIdOk);
  EXPECT_EQ(first.GetPathName(), remembered + u"/picked.htm");

  CSafeFileDialog second(true, CStr(), CStr(), eOfnFileMustExist, u"All|*.*||");
  second.SetStoreSettings(ini, u"Probe");
  second.SetFileAndDir(CStr(), u"/fallback", CStr());
  ASSERT_TRUE(second.SafeDoModal());
  // The folder of the last choice is what the next dialog starts in.
  EXPECT_EQ(CInifile(ini, u"Probe").ReadString(u"Folder", CStr()), u"/elsewhere");

  CSafeFileDialog third(false, CStr(), CStr(), 0, CStr());
  third.SetFileAndDir(u"/named/r.htm", u"/fallback", CStr());
  ui->FailToShow(12291);
  EXPECT_FALSE(third.SafeDoModal());
  EXPECT_EQ(third.GetErrorCode(), 12291u);
  EXPECT_EQ(third.GetRequest().initialFile, u"r.htm");
}

}  // namespace
