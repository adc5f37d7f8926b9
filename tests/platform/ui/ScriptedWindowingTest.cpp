#include <gtest/gtest.h>

#include "folio/platform/ui/CDialog.h"
#include "folio/platform/ui/CScriptedWindowing.h"

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

TEST_F(ScriptedWindowing, records_every_message_box_with_caption_text_buttons_and_answer) {
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

TEST_F(ScriptedWindowing, escape_and_close_give_what_the_box_allows) {
  ui->PressEscape().PressClose().PressEscape();
  EXPECT_EQ(ShowMessageBox(u"a", eMbRetryCancel), eIdCancel);
  EXPECT_EQ(ShowMessageBox(u"b", eMbYesNoCancel), eIdCancel);
  EXPECT_EQ(ShowMessageBox(u"c", eMbOk), eIdOk);
}

TEST_F(ScriptedWindowing, escape_in_a_yes_no_box_fails_naming_the_question) {
  ui->PressEscape();
  try {
    ShowMessageBox(u"Create the folder?", eMbYesNo);
    FAIL() << "no failure";
  } catch (const EUnexpectedQuestion& e) {
    const std::string what = e.what();
    EXPECT_NE(what.find("Create the folder?"), std::string::npos) << what;
    EXPECT_NE(what.find("Yes(6) No(7)"), std::string::npos) << what;
  }
}

TEST_F(ScriptedWindowing, pressing_a_button_the_box_lacks_fails) {
  ui->Press(eIdYes);
  EXPECT_THROW(ShowMessageBox(u"x", eMbRetryCancel), EUnexpectedQuestion);
}

TEST_F(ScriptedWindowing, a_question_with_an_empty_script_fails_but_a_notice_answers_itself) {
  EXPECT_EQ(ShowMessageBox(u"notice"), eIdOk);
  EXPECT_THROW(ShowMessageBox(u"question", eMbOkCancel), EUnexpectedQuestion);
  // The failed question is still on record.
  EXPECT_EQ(ui->MessageTexts(), (std::vector<CStr>{u"notice", u"question"}));
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

TEST_F(ScriptedWindowing, answers_of_the_wrong_kind_fail) {
  ui->ChooseFile(u"/tmp/a.htm");
  EXPECT_THROW(ShowMessageBox(u"x", eMbOkCancel), EUnexpectedQuestion);
  ui->Press(eIdOk);
  EXPECT_THROW(GetWindowing().FileDialog({}), EUnexpectedQuestion);
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
}

TEST_F(ScriptedWindowing, escape_and_close_issue_cancel_in_a_dialog_and_failure_gives_minus_one) {
  ui->PressEscape().PressClose().FailToShow();
  CMoreDialog dialog;
  EXPECT_EQ(dialog.DoModal(), eIdCancel);
  EXPECT_EQ(dialog.DoModal(), eIdCancel);
  EXPECT_EQ(dialog.DoModal(), eIdFailed);
  EXPECT_EQ(ui->Shown()[0].answer, eIdCancel);
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

}  // namespace
