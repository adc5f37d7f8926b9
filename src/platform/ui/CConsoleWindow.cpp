#include "CConsoleWindow.h"

#include <algorithm>

namespace {

// Code points of UTF-8 text; continuation bytes do not count.
size_t CodePoints(const std::string& utf8) {
  return static_cast<size_t>(std::count_if(utf8.begin(), utf8.end(),
                                           [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The first count code points of utf8.
std::string FirstCodePoints(const std::string& utf8, size_t count) {
  size_t seen = 0;
  for (size_t i = 0; i < utf8.size(); ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80 && seen++ == count) return utf8.substr(0, i);
  }
  return utf8;
}

}  // namespace

CConsoleWindow::CConsoleWindow(std::shared_ptr<SConsoleState> state, const SDialogTemplate& dialog)
    : SOwnedControls{SControlStates(dialog)}, CControlWindow(owned), m_state(std::move(state)) {
  bool haveLabel = false;
  for (const SDialogControl& control : dialog.controls) {
    if (control.kind == EControlKind::eProgress) {
      if (m_barId < 0) m_barId = control.id;
    } else if (control.kind == EControlKind::eLabel && !haveLabel) {
      m_labelId = control.id;
      haveLabel = true;
      // A label without an id keeps its text under 0.
      if (control.id == 0) owned.texts[0] = control.text;
    }
  }
}

bool CConsoleWindow::CanShow(const SDialogTemplate& dialog) {
  for (const SDialogControl& control : dialog.controls)
    if (control.kind != EControlKind::eLabel && control.kind != EControlKind::eProgress &&
        control.kind != EControlKind::eGroupBox)
      return false;
  return true;
}

CConsoleWindow::~CConsoleWindow() {
  Suspend();
  if (m_state->line == this) m_state->line = nullptr;
}

std::string CConsoleWindow::FormatLine(const CStr& text, int percent, int columns) {
  percent = std::clamp(percent, 0, 100);
  std::string bar = " [";
  const int filled = percent * kBarWidth / 100;
  bar.append(static_cast<size_t>(filled), '#');
  bar.append(static_cast<size_t>(kBarWidth - filled), '.');
  bar += "] ";
  const std::string number = std::to_string(percent);
  bar.append(3 - number.size(), ' ');
  bar += number + "%";

  // Line breaks would end the line that is redrawn in place.
  std::string label = text.ToUtf8();
  std::replace_if(label.begin(), label.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
  // One column stays free: writing the last one makes some terminals wrap.
  const long room = static_cast<long>(columns) - 1 - static_cast<long>(bar.size());
  if (room <= 0) return bar.substr(1);
  if (CodePoints(label) > static_cast<size_t>(room))
    label = room > 3 ? FirstCodePoints(label, static_cast<size_t>(room - 3)) + "..." : std::string();
  return label + bar;
}

void CConsoleWindow::Show(bool visible) {
  m_visible = visible;
  if (visible) Draw();
  else Suspend();
}

void CConsoleWindow::SetItemText(int id, const CStr& text) {
  CControlWindow::SetItemText(id, text);
  Draw();
}

void CConsoleWindow::SetProgressPos(int id, int position) {
  CControlWindow::SetProgressPos(id, position);
  Draw();
}

void CConsoleWindow::Suspend() {
  if (m_drawn.empty()) return;
  m_state->terminal.Write("\r\x1b[K");
  m_drawn.clear();
}

void CConsoleWindow::Draw() {
  if (!m_visible || m_barId < 0 || !m_state->terminal.OutputIsTerminal()) return;
  // Another window's line gives way to this one.
  if (m_state->line && m_state->line != this) m_state->line->Suspend();
  m_state->line = this;
  const std::string line = FormatLine(GetItemText(m_labelId), GetProgressPos(m_barId),
                                      m_state->terminal.Columns());
  if (line == m_drawn) return;
  m_state->terminal.Write("\r" + line + "\x1b[K");
  m_drawn = line;
}
