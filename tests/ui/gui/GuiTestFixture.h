#pragma once
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include <wx/dialog.h>
#include <wx/modalhook.h>

#include "folio/platform/ui/IWindowing.h"

// The tests' own X server (Xvfb on a free display, 1280 by 1024 in the toolkit's
// pixels, times GDK_SCALE in the server's) and the desktop backend on it, for the whole
// test program. Nothing appears on a developer's screen.
class CPrivateDisplay : public ::testing::Environment {
public:
  static constexpr int kWidth = 1280;
  static constexpr int kHeight = 1024;
  // Device pixels per toolkit pixel (GDK_SCALE).
  static int Scale();
  void SetUp() override;
  void TearDown() override;
  // The backend on the display; null before SetUp or when it failed.
  static std::shared_ptr<IWindowing> Backend();
  static std::string DisplayName();
};

// Lets the toolkit map and paint what is shown (a fixed short while: the toolkit
// draws on its own clock).
void Settle();

// Saves what the window shows on the screen as screenshots/NAME.png in the build folder.
std::filesystem::path SaveScreenshot(wxWindow& window, const std::string& name);

// Acts in modal dialogs as a user would: each dialog that opens runs the next step
// once it is on the screen. A dialog opening with no step left is cancelled and fails
// the test.
class CModalScript : public wxModalDialogHook {
public:
  using Step = std::function<void(wxDialog&)>;
  CModalScript() { Register(); }
  ~CModalScript() override;
  CModalScript& Then(Step step) {
    m_steps.push_back(std::move(step));
    return *this;
  }
  size_t Remaining() const { return m_steps.size(); }

protected:
  int Enter(wxDialog* dialog) override;
  void Exit(wxDialog* dialog) override {
    if (--m_open[dialog] <= 0) m_open.erase(dialog);
  }

private:
  std::deque<Step> m_steps;
  std::map<wxDialog*, int> m_open;
};

// The shown or hidden top-level window with this caption, or null.
wxWindow* FindTopLevel(const wxString& caption);

// The dialog's children of class T with this label, as the toolkit shows it.
wxWindow* FindByLabel(wxWindow& parent, const wxString& label);

// Sends the key as the keyboard would reach the dialog, through its key hook.
void PressKey(wxWindow& dialog, int keyCode, int modifiers = wxMOD_NONE);

// Clicks the control with the mouse, through the X server (XTest).
void ClickWithMouse(wxWindow& control);

// The window id the command dialog gave the control with this template id.
wxWindow& Control(wxWindow& dialog, int id);
