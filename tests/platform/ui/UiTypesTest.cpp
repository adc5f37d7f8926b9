#include <gtest/gtest.h>

#include "folio/platform/ui/UiTypes.h"

namespace {

std::vector<int> Ids(const std::vector<SButton>& buttons) {
  std::vector<int> ids;
  for (const SButton& button : buttons) ids.push_back(button.id);
  return ids;
}

TEST(MessageBoxStyle, each_button_set_has_the_windows_ids_in_display_order) {
  const struct { unsigned style; std::vector<int> ids; } cases[] = {
      {eMbOk, {1}},
      {eMbOkCancel, {1, 2}},
      {eMbAbortRetryIgnore, {3, 4, 5}},
      {eMbYesNoCancel, {6, 7, 2}},
      {eMbYesNo, {6, 7}},
      {eMbRetryCancel, {4, 2}},
      {eMbCancelTryContinue, {2, 10, 11}},
      {eMbRetryCancel | eMbIconWarning | eMbHelp, {4, 2, 9}},
  };
  for (const auto& c : cases) EXPECT_EQ(Ids(SMessageBox{u"t", u"c", c.style}.Buttons()), c.ids) << c.style;
}

TEST(MessageBoxStyle, default_button_follows_the_defbutton_bits) {
  EXPECT_EQ(SMessageBox({u"", u"", eMbYesNoCancel}).DefaultButton(), eIdYes);
  EXPECT_EQ(SMessageBox({u"", u"", eMbYesNoCancel | eMbDefButton2}).DefaultButton(), eIdNo);
  EXPECT_EQ(SMessageBox({u"", u"", eMbYesNoCancel | eMbDefButton3}).DefaultButton(), eIdCancel);
  // A default past the last button falls back to the first.
  EXPECT_EQ(SMessageBox({u"", u"", eMbOk | eMbDefButton4}).DefaultButton(), eIdOk);
}

TEST(MessageBoxStyle, escape_gives_cancel_or_ok_and_nothing_where_windows_refuses_it) {
  EXPECT_EQ(SMessageBox({u"", u"", eMbRetryCancel}).EscapeResult(), eIdCancel);
  EXPECT_EQ(SMessageBox({u"", u"", eMbYesNoCancel}).EscapeResult(), eIdCancel);
  EXPECT_EQ(SMessageBox({u"", u"", eMbOk | eMbHelp}).EscapeResult(), eIdOk);
  EXPECT_EQ(SMessageBox({u"", u"", eMbYesNo}).EscapeResult(), eIdFailed);
  EXPECT_EQ(SMessageBox({u"", u"", eMbAbortRetryIgnore}).EscapeResult(), eIdFailed);
}

TEST(MessageBoxStyle, icon_names_come_from_the_icon_bits) {
  EXPECT_EQ(SMessageBox({u"", u"", 0x4030}).IconName(), u"Warning");
  EXPECT_EQ(SMessageBox({u"", u"", eMbIconError}).IconName(), u"Error");
  EXPECT_EQ(SMessageBox({u"", u"", eMbYesNo}).IconName(), u"");
}

TEST(DialogTemplate, buttons_default_and_labels_come_from_the_controls) {
  SDialogTemplate dialog;
  dialog.controls = {{EControlKind::eLabel, 0, u"first", {}, false},
                     {EControlKind::eButton, 14, u"Go", {}, false},
                     {EControlKind::eLabel, 5, u"second", {}, false},
                     {EControlKind::eButton, 2, u"Cancel", {}, true}};
  EXPECT_EQ(dialog.Buttons(), (std::vector<SButton>{{14, u"Go"}, {2, u"Cancel"}}));
  EXPECT_EQ(dialog.DefaultButton(), 2);
  EXPECT_EQ(dialog.LabelText(), u"first\nsecond");
  ASSERT_NE(dialog.Find(5), nullptr);
  EXPECT_EQ(dialog.Find(5)->text, u"second");
  EXPECT_EQ(dialog.Find(99), nullptr);
  dialog.controls.pop_back();
  EXPECT_EQ(dialog.DefaultButton(), eIdOk);
}

TEST(FileFilter, splits_description_and_pattern_pairs_up_to_the_double_bar) {
  const auto filters = ParseFileFilter(
      u"HTML Template Files (*.htm;*.html)|*.htm;*.html|Word Template Files (*.doc;*.docx;*.docm)|"
      u"*.doc;*.docx;*.docm|All Files (*.*)|*.*||");
  ASSERT_EQ(filters.size(), 3u);
  EXPECT_EQ(filters[0], (SFileFilter{u"HTML Template Files (*.htm;*.html)", u"*.htm;*.html"}));
  EXPECT_EQ(filters[2], (SFileFilter{u"All Files (*.*)", u"*.*"}));
}

TEST(FileFilter, tolerates_a_missing_end_and_a_dangling_description) {
  EXPECT_EQ(ParseFileFilter(u"Text|*.txt").size(), 1u);
  EXPECT_EQ(ParseFileFilter(u"Text|*.txt|Lonely").size(), 1u);
  EXPECT_TRUE(ParseFileFilter(u"").empty());
}

}  // namespace
