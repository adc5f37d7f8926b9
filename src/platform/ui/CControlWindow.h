#pragma once
#include "folio/platform/ui/IWindowing.h"

// The part of a modeless window every backend keeps the same way: the state of its
// controls and where it is. Backends add how the window is shown.
class CControlWindow : public IDialogWindow {
public:
  explicit CControlWindow(SControlStates& controls) : m_controls(controls) {}

  void SetItemText(int id, const CStr& text) override { m_controls.texts[id] = text; }
  CStr GetItemText(int id) const override { return m_controls.Text(id); }
  void SetProgressPos(int id, int position) override { m_controls.positions[id] = position; }
  int GetProgressPos(int id) const override { return m_controls.Position(id); }

  void EnableItem(int id, bool enabled) override { Mark(m_controls.disabled, id, !enabled); }
  bool IsItemEnabled(int id) const override { return !m_controls.disabled.contains(id); }
  void SetItemReadOnly(int id, bool readOnly) override { Mark(m_controls.readOnly, id, readOnly); }
  bool IsItemReadOnly(int id) const override { return m_controls.readOnly.contains(id); }
  void SetItemChecked(int id, bool checked) override { Mark(m_controls.checked, id, checked); }
  bool IsItemChecked(int id) const override { return m_controls.checked.contains(id); }

  void MoveTo(SPoint topLeft) override { m_controls.topLeft = topLeft; }
  SPoint GetPosition() const override { return m_controls.topLeft; }
  SSize GetClientSize() const override { return m_controls.clientSize; }

protected:
  static void Mark(std::set<int>& ids, int id, bool on) {
    if (on) ids.insert(id);
    else ids.erase(id);
  }

  SControlStates& m_controls;
};
