#include <gtest/gtest.h>

#include "folio/platform/ui/UiTypes.h"

namespace {

std::vector<int> Ids(const std::vector<SButton>& buttons) {
  std::vector<int> ids;
  for (const SButton& button : buttons) ids.push_back(button.id);
  return ids;
}

// The buttons in display order with the system's ids, the default from the defbutton bits
// (past the last button, the first), what Escape gives (Cancel, the lone OK, or nothing
// where the box cannot be escaped) and the icon named by the icon bits.
TEST(MessageBoxStyle, buttons_default_escape_and_icon_follow_the_style_bits) {
  const struct { unsigned style; std::vector<int> ids; int byDefault, escape; const char16_t* icon; } cases[] = {
      {eMbOk, {1}, eIdOk, eIdOk, u""},
      {eMbOkCancel, {1, 2}, eIdOk, eIdCancel, u""},
      {eMbAbortRetryIgnore, {3, 4, 5}, eIdAbort, eIdFailed, u""},
      {eMbYesNoCancel, {6, 7, 2}, eIdYes, eIdCancel, u""},
      {eMbYesNoCancel | eMbDefButton2, {6, 7, 2}, eIdNo, eIdCancel, u""},
      {eMbYesNoCancel | eMbDefButton3, {6, 7, 2}, eIdCancel, eIdCancel, u""},
      {eMbYesNo | eMbIconError, {6, 7}, eIdYes, eIdFailed, u"Error"},
      {eMbRetryCancel, {4, 2}, eIdRetry, eIdCancel, u""},
      {eMbCancelTryContinue, {2, 10, 11}, eIdCancel, eIdCancel, u""},
      {eMbRetryCancel | eMbIconWarning | eMbHelp, {4, 2, 9}, eIdRetry, eIdCancel, u"Warning"},
      {eMbOk | eMbHelp | eMbDefButton4, {1, 9}, eIdOk, eIdOk, u""},
  };
  for (const auto& c : cases) {
    const SMessageBox box{u"t", u"c", c.style};
    EXPECT_EQ(Ids(box.Buttons()), c.ids) << std::hex << c.style;
    EXPECT_EQ(box.DefaultButton(), c.byDefault) << std::hex << c.style;
    EXPECT_EQ(box.EscapeResult(), c.escape) << std::hex << c.style;
    EXPECT_EQ(box.IconName(), c.icon) << std::hex << c.style;
  }
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
  // A missing end and a dangling description are tolerated.
  EXPECT_EQ(ParseFileFilter(u"Text|*.txt").size(), 1u);
  EXPECT_EQ(ParseFileFilter(u"Text|*.txt|Lonely").size(), 1u);
  EXPECT_TRUE(ParseFileFilter(u"").empty());
}

}  // namespace
