#include <gtest/gtest.h>

#include "folio/platform/ui/CScriptedWindowing.h"
#include "folio/ui/CConfirmOverwriteDlg.h"

namespace {

class ConfirmOverwrite : public ::testing::Test {
protected:
  std::shared_ptr<CScriptedWindowing> ui = std::make_shared<CScriptedWindowing>();
  CScopedWindowing scope{ui};
  CConfirmOverwriteDlg dialog;
};

TEST_F(ConfirmOverwrite, has_no_choice_after_construction) {
  EXPECT_EQ(dialog.GetChoice(), -1);
}

TEST_F(ConfirmOverwrite, shows_dialog_14302_with_its_caption_question_and_three_buttons) {
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

TEST_F(ConfirmOverwrite, every_button_ends_with_ok_and_records_its_id) {
  const struct { int press; int choice; } cases[] = {{14106, 14106}, {3, 3}, {2, 2}};
  for (const auto& c : cases) {
    ui->Press(c.press);
    CConfirmOverwriteDlg fresh;
    EXPECT_EQ(fresh.DoModal(), eIdOk) << c.press;
    EXPECT_EQ(fresh.GetChoice(), c.choice) << c.press;
  }
}

TEST_F(ConfirmOverwrite, escape_and_the_close_box_count_as_cancel) {
  ui->PressEscape();
  EXPECT_EQ(dialog.DoModal(), eIdOk);
  EXPECT_EQ(dialog.GetChoice(), 2);
  ui->PressClose();
  CConfirmOverwriteDlg closed;
  EXPECT_EQ(closed.DoModal(), eIdOk);
  EXPECT_EQ(closed.GetChoice(), 2);
}

TEST_F(ConfirmOverwrite, keeps_no_choice_when_it_cannot_be_shown) {
  ui->FailToShow();
  EXPECT_EQ(dialog.DoModal(), eIdFailed);
  EXPECT_EQ(dialog.GetChoice(), -1);
}

TEST_F(ConfirmOverwrite, the_reporter_sees_the_same_through_its_interface) {
  ui->Press(3);
  IConfirmOverwrite& question = dialog;
  EXPECT_EQ(question.DoModal(), eIdOk);
  EXPECT_EQ(question.GetChoice(), IConfirmOverwrite::eAppend);
}

}  // namespace
