// Dialog units and mnemonics, without a window.
#include <gtest/gtest.h>

#include "platform/gui/DialogLayout.h"

namespace {

TEST(DialogLayout, mnemonics_prefer_free_word_starts_then_any_free_letter_and_skip_texts_without_one) {
  const std::vector<CStr> texts = {u"Overwrite (with confirmation)", u"Overwrite (without confirmation)", u"...",
                                   u"Open...", u"Append", u"", u"Try Again", u"a&b"};
  // o; w of "without"; none; p ("O" taken); A; none; T; b ("a" taken).
  EXPECT_EQ(ChooseMnemonics(texts), (std::vector<int>{0, 11, -1, 1, 0, -1, 0, 2}));
  EXPECT_EQ(MnemonicLabel(u"Open...", 1), "O&pen...");
  // A literal ampersand is shown, not taken as a mnemonic.
  EXPECT_EQ(MnemonicLabel(u"a&b", 2), "a&&&b");
  EXPECT_EQ(MnemonicLabel(u"a&b", -1), "a&&b");
}

TEST(DialogLayout, units_stretch_evenly_to_the_neediest_control_and_neighbours_still_touch) {
  const SDialogUnits font{2.0, 2.125};
  // A 10-unit-high control that needs 25 pixels sets 2.5 pixels per unit down; across,
  // nothing needs more than the font gives.
  const SDialogUnits fit = FitDialogUnits(font, {{0, 0, 50, 10}, {0, 0, 14, 14}, {0, 0, 0, 0}},
                                          {wxSize(90, 25), wxSize(18, 26), wxSize(500, 500)});
  EXPECT_DOUBLE_EQ(fit.x, 2.0);
  EXPECT_DOUBLE_EQ(fit.y, 2.5);

  const SDialogUnits odd{1.7, 2.3};
  const wxRect left = ToPixels({3, 5, 7, 9}, odd);
  const wxRect right = ToPixels({10, 5, 7, 9}, odd);
  EXPECT_EQ(left.GetRight() + 1, right.GetLeft());
  EXPECT_EQ(left.GetTop(), right.GetTop());
}

}  // namespace
