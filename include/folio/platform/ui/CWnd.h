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

protected:
  void Attach(std::unique_ptr<IDialogWindow> window) { m_window = std::move(window); }

private:
  std::unique_ptr<IDialogWindow> m_window;
};
