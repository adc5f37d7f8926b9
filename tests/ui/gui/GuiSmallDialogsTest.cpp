// The overwrite question, message boxes and the progress window on the desktop backend.
#include <chrono>
#include <thread>

#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "GuiTestFixture.h"
#include "folio/ui/CConfirmOverwriteDlg.h"
#include "folio/ui/CProgressDlg.h"

namespace {

class Gui : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_NE(CPrivateDisplay::Backend(), nullptr); }
  CScopedWindowing m_scope{CPrivateDisplay::Backend()};
};

// The labels of the dialog's buttons in the order the keyboard visits them.
std::vector<wxString> ButtonLabels(wxWindow& dialog) {
  std::vector<wxString> labels;
  for (wxWindow* child : dialog.GetChildren())
    if (dynamic_cast<wxButton*>(child)) labels.push_back(child->GetLabel());
  return labels;
}

TEST_F(Gui, the_overwrite_question_shows_its_texts_and_answers_keys_and_clicks) {
  CModalScript script;
  script
      .Then([](wxDialog& dialog) {
        EXPECT_EQ(dialog.GetTitle(), "KORI Livesheeter");
        EXPECT_NE(FindByLabel(dialog, "The report file exists. What would you like to do?"), nullptr);
        EXPECT_EQ(ButtonLabels(dialog), (std::vector<wxString>{"&Overwrite", "&Append", "&Cancel"}));
        EXPECT_EQ(dialog.GetDefaultItem(), &Control(dialog, 14106)) << "Overwrite is the default";
        SaveScreenshot(dialog, "confirm_overwrite");
        PressKey(dialog, WXK_RETURN);
      })
      .Then([](wxDialog& dialog) { PressKey(dialog, WXK_ESCAPE); })
      .Then([](wxDialog& dialog) { PressKey(dialog, 'A', wxMOD_ALT); })
      .Then([](wxDialog& dialog) { ClickWithMouse(Control(dialog, 3)); })
      .Then([](wxDialog& dialog) { ClickWithMouse(Control(dialog, 2)); });
  for (int expected : {14106, 2, 3, 3, 2}) {
    CConfirmOverwriteDlg question;
    EXPECT_EQ(question.DoModal(), eIdOk);
    EXPECT_EQ(question.GetChoice(), expected);
  }
}

TEST_F(Gui, message_boxes_have_the_style_s_buttons_icon_and_default_and_escape_only_where_allowed) {
  CModalScript script;
  script
      .Then([](wxDialog& box) {
        EXPECT_EQ(box.GetTitle(), "KORI");
        EXPECT_EQ(ButtonLabels(box), (std::vector<wxString>{"&OK", "&Help"}));
        bool hasIcon = false;
        for (wxWindow* child : box.GetChildren()) hasIcon = hasIcon || dynamic_cast<wxStaticBitmap*>(child);
        EXPECT_TRUE(hasIcon) << "the warning icon";
        SaveScreenshot(box, "message_box_warning");
        PressKey(box, WXK_RETURN);
      })
      .Then([](wxDialog& box) {
        EXPECT_EQ(ButtonLabels(box), (std::vector<wxString>{"&Yes", "&No"}));
        EXPECT_EQ(box.GetDefaultItem(), &Control(box, eIdNo));
        SaveScreenshot(box, "message_box_question");
        // Yes/No cannot be dismissed: Escape is ignored, the keys still answer.
        PressKey(box, WXK_ESCAPE);
        EXPECT_TRUE(box.IsModal());
        PressKey(box, 'y');
      })
      .Then([](wxDialog& box) {
        EXPECT_EQ(ButtonLabels(box), (std::vector<wxString>{"&Abort", "&Retry", "&Ignore"}));
        ClickWithMouse(Control(box, eIdIgnore));
      })
      .Then([](wxDialog& box) { PressKey(box, WXK_ESCAPE); });

  const CStr notice = u"Some items are no longer supported.\r\n\r\nIt is recommended to update the template(s).";
  EXPECT_EQ(ShowMessageBox(notice, eMbOk | eMbHelp | eMbIconWarning, 0, u"KORI"), eIdOk);
  EXPECT_EQ(ShowMessageBox(u"The output folder \"/tmp/a&b\" does not exist.\n\nDo you wish to create it?",
                           eMbYesNo | eMbIconQuestion | eMbDefButton2),
            eIdYes);
  EXPECT_EQ(ShowMessageBox(u"Disk error", eMbAbortRetryIgnore | eMbIconError), eIdIgnore);
  EXPECT_EQ(ShowMessageBox(u"Retry?", eMbRetryCancel), eIdCancel);
}

TEST_F(Gui, the_progress_window_clamps_repaints_during_a_long_run_and_keeps_its_texts) {
  CProgressDlg progress;
  ASSERT_TRUE(progress.Create());
  progress.MoveTo({100, 100});
  progress.Show();
  wxWindow* window = FindTopLevel("Creating Livesheet");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->IsShown());
  EXPECT_NE(FindByLabel(*window, "Initializing..."), nullptr);
  auto& bar = static_cast<wxGauge&>(Control(*window, CProgressDlg::IDC_PROGRESS_BAR));
  EXPECT_EQ(bar.GetRange(), 100);

  progress.SetProgress(u"Step", -5);
  EXPECT_EQ(bar.GetValue(), 0);
  progress.SetProgress(u"Step", 250);
  EXPECT_EQ(bar.GetValue(), 100);

  // A run that never returns to the event loop: the window is painted all the same.
  int paints = 0;
  window->Bind(wxEVT_PAINT, [&paints](wxPaintEvent& event) {
    ++paints;
    event.Skip();
  });
  for (int step = 0; step <= 10; ++step) {
    progress.SetProgress(u"Calculating value " + CStr::FromUtf8(std::to_string(step)), step * 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_GE(paints, 2);
  EXPECT_EQ(progress.GetDlgItemText(CProgressDlg::IDC_PROGRESS_TEXT), u"Calculating value 10");
  progress.SetProgress(u"Writing \"a&b.htm\"", 40);
  EXPECT_EQ(progress.GetDlgItemText(CProgressDlg::IDC_PROGRESS_TEXT), u"Writing \"a&b.htm\"");
  SaveScreenshot(*window, "progress");
  progress.DestroyWindow();
}

}  // namespace
