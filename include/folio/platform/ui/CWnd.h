#pragma once
#include <memory>

#include "folio/platform/ui/IWindowing.h"
#include "folio/util/Export.h"

// A window object of the framework: empty until a window is created for it.
class FOLIO_API CWnd {
public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  virtual bool HasWindow() const { return m_window != nullptr; }
  // Destroys the window, if any; the object stays.
  virtual void DestroyWindow();
  // Calls without a window do nothing (texts read as empty, positions as 0).
  void ShowWindow(bool visible);
  bool IsWindowVisible() const;
  void SetDlgItemText(int id, const CStr& text);
  CStr GetDlgItemText(int id) const;
  void SetProgressPos(int id, int position);
  int GetProgressPos(int id) const;
  void Invalidate();
  void EnableDlgItem(int id, bool enabled);
  bool IsDlgItemEnabled(int id) const;
  void SetDlgItemReadOnly(int id, bool readOnly);
  void CheckDlgButton(int id, bool checked);
  bool IsDlgButtonChecked(int id) const;
  void MoveWindow(SPoint topLeft);
  SPoint GetWindowPosition() const;
  // The window's client area in pixels; empty without a window.
  SSize GetClientSize() const;

protected:
  void Attach(std::unique_ptr<IDialogWindow> window) { m_window = std::move(window); }
  IDialogWindow* Window() const { return m_window.get(); }

private:
  std::unique_ptr<IDialogWindow> m_window;
};
