#include <climits>

#include <gtest/gtest.h>

#include "folio/platform/ui/CScriptedWindowing.h"
#include "folio/report/CFolio.h"
#include "folio/ui/CProgressDlg.h"
#include "folio/ui/FolioDll.h"

namespace {

class Progress : public ::testing::Test {
protected:
  std::shared_ptr<CScriptedWindowing> ui = std::make_shared<CScriptedWindowing>();
  CScopedWindowing scope{ui};
  CProgressDlg dialog;

  const SScriptedWindowState& Window() { return *ui->Windows().back(); }
};

// The window is made hidden with its initial text; destroying it keeps the object for
// another window.
TEST_F(Progress, creates_a_hidden_window_for_dialog_14100_with_its_initial_text_again_and_again) {
  IProgressView& view = dialog;
  EXPECT_FALSE(view.HasWindow());
  ASSERT_TRUE(view.Create());
  EXPECT_TRUE(view.HasWindow());
  EXPECT_EQ(Window().dialog.resourceId, 14100);
  EXPECT_EQ(Window().dialog.caption, u"Creating Livesheet");
  EXPECT_FALSE(Window().visible);
  EXPECT_EQ(dialog.GetDlgItemText(CProgressDlg::IDC_PROGRESS_TEXT), u"Initializing...");
  EXPECT_EQ(dialog.GetProgressPos(CProgressDlg::IDC_PROGRESS_BAR), 0);
  view.Show();
  EXPECT_TRUE(Window().visible);
  dialog.SetProgress(u"step", 50);
  view.DestroyWindow();
  EXPECT_FALSE(view.HasWindow());
  EXPECT_TRUE(ui->Windows().front()->destroyed);
  ASSERT_TRUE(view.Create());
  EXPECT_EQ(ui->Windows().size(), 2u);
  EXPECT_EQ(dialog.GetDlgItemText(CProgressDlg::IDC_PROGRESS_TEXT), u"Initializing...");
  EXPECT_EQ(dialog.GetProgressPos(CProgressDlg::IDC_PROGRESS_BAR), 0);
}

TEST_F(Progress, replaces_the_text_each_time_repaints_and_clamps_the_percentage_to_the_bar) {
  ASSERT_TRUE(dialog.Create());
  dialog.SetProgress(u"Opening template...", 0);
  dialog.SetProgress(u"Processing Element 1", 90);
  EXPECT_EQ(dialog.GetDlgItemText(CProgressDlg::IDC_PROGRESS_TEXT), u"Processing Element 1");
  EXPECT_EQ(Window().invalidations, 2);
  std::vector<CStr> texts;
  for (const SShownItem& item : ui->Shown())
    if (item.kind == SShownItem::EKind::eItemText) texts.push_back(item.text);
  EXPECT_EQ(texts, (std::vector<CStr>{u"Opening template...", u"Processing Element 1"}));
  const struct { int percent; int bar; } cases[] = {{-5, 0}, {250, 100}, {0, 0}, {100, 100}, {42, 42},
                                                    {INT_MIN, 0}, {INT_MAX, 100}};
  for (const auto& c : cases) {
    dialog.SetProgress(u"step", c.percent);
    EXPECT_EQ(dialog.GetProgressPos(CProgressDlg::IDC_PROGRESS_BAR), c.bar) << c.percent;
  }
}

TEST_F(Progress, fails_to_create_when_the_windowing_layer_cannot) {
  ui->SetCanCreateWindows(false);
  EXPECT_FALSE(dialog.Create());
  EXPECT_FALSE(dialog.HasWindow());
  dialog.SetProgress(u"nowhere", 50);  // harmless
  EXPECT_TRUE(ui->Shown().empty());
}

TEST_F(Progress, the_reporter_places_its_progress_window_top_right_once) {
  FolioDll_NewDynLinkLibrary();
  ui->SetScreenSize({1280, 1024});
  CFolio reporter;
  ASSERT_TRUE(reporter.CreateProgressDialog());
  // 283 dialog units are 425 pixels wide.
  EXPECT_EQ(Window().topLeft, (SPoint{1280 - 425 - 10, 10}));
  EXPECT_TRUE(Window().visible);
  ASSERT_TRUE(reporter.CreateProgressDialog());
  EXPECT_EQ(ui->Windows().size(), 1u);
}

}  // namespace
