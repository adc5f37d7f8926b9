#pragma once
#include <map>
#include <memory>
#include <string>

#include "CControlWindow.h"
#include "CTerminal.h"
#include "folio/platform/ui/IWindowing.h"

class CConsoleWindow;

struct SConsoleState {
  CTerminal terminal;
  // The window whose line is on the screen, if any.
  CConsoleWindow* line = nullptr;
};

// Owns the control states; a base of the window so they exist before it refers to them.
struct SOwnedControls {
  SControlStates owned;
};

// A modeless window on a terminal: its label text and progress bar as one line.
class CConsoleWindow : private SOwnedControls, public CControlWindow {
public:
  static constexpr int kBarWidth = 20;

  CConsoleWindow(std::shared_ptr<SConsoleState> state, const SDialogTemplate& dialog);
  ~CConsoleWindow() override;

  // "text [#####...............]  25%", the text shortened to fit columns - 1.
  static std::string FormatLine(const CStr& text, int percent, int columns);

  void Show(bool visible) override;
  bool IsVisible() const override { return m_visible; }
  void SetItemText(int id, const CStr& text) override;
  void SetProgressPos(int id, int position) override;
  void Invalidate() override { Draw(); }
  // A line on a terminal takes no clicks or typing.
  void SetEventHandler(EventHandler) override {}

  // Whether the terminal can stand in for the dialog: one that only shows text and a
  // bar, since a line on a terminal cannot be clicked.
  static bool CanShow(const SDialogTemplate& dialog);

  // Takes the line off the screen while something else is printed, and puts it back.
  void Suspend();
  void Resume() { Draw(); }

private:
  void Draw();

  std::shared_ptr<SConsoleState> m_state;
  int m_labelId = 0;
  int m_barId = -1;  // no progress control: nothing to draw
  bool m_visible = false;
  std::string m_drawn;  // the line on the screen, empty when none
};
