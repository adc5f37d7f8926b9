#include <gtest/gtest.h>

#include <functional>

#include "folio/platform/ui/CScriptedWindowing.h"
#include "folio/ui/CConfirmOverwriteDlg.h"

namespace {

class ConfirmOverwrite : public ::testing::Test {
protected:
  std::shared_ptr<CScriptedWindowing> ui = std::make_shared<CScriptedWindowing>();
  CScopedWindowing scope{ui};
  CConfirmOverwriteDlg dialog;
};

TEST_F(ConfirmOverwrite, shows_dialog_14302_with_its_caption_question_and_three_buttons) {
  EXPECT_EQ(dialog.GetChoice(), -1);
  ui->Press(14106);
  dialog.DoModal();
  ASSERT_EQ(ui->Shown().size(), 1u);
  const SShownItem& shown = ui->Shown()[0];
  EXPECT_EQ(shown.kind, SShownItem::EKind::eDialog);
  EXPECT_EQ(shown.resourceId, 14302);
  EXPECT_EQ(shown.caption, u"KORI Livesheeter");
  EXPECT_EQ(shown.text, u"The report file exists. What would you like to do?");
  EXPECT_EQ(shown.buttons, (std::vector<SButton>{{14106, u"Overwrite"}, {3, u"Append"}, {2, u"Cancel"}}));
  EXPECT_EQ(CConfirmOverwriteDlg::Template().DefaultButton(), 14106);
}

// Every button ends the dialog with OK and records its id, as the reporter sees it
// through its interface; Escape and the close box count as Cancel.
TEST_F(ConfirmOverwrite, every_way_out_ends_with_ok_and_records_its_button) {
  const std::pair<std::function<void()>, int> cases[] = {
      {[this] { ui->Press(14106); }, IConfirmOverwrite::eOverwrite},
      {[this] { ui->Press(3); }, IConfirmOverwrite::eAppend},
      {[this] { ui->Press(2); }, IConfirmOverwrite::eCancel},
      {[this] { ui->PressEscape(); }, IConfirmOverwrite::eCancel},
      {[this] { ui->PressClose(); }, IConfirmOverwrite::eCancel}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    cases[i].first();
    CConfirmOverwriteDlg fresh;
    IConfirmOverwrite& question = fresh;
    EXPECT_EQ(question.DoModal(), eIdOk) << "case " << i;
    EXPECT_EQ(question.GetChoice(), cases[i].second) << "case " << i;
  }
}

TEST_F(ConfirmOverwrite, keeps_no_choice_when_it_cannot_be_shown) {
  ui->FailToShow();
  EXPECT_EQ(dialog.DoModal(), eIdFailed);
  EXPECT_EQ(dialog.GetChoice(), -1);
}

}  // namespace
