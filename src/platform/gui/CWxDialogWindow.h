#pragma once
#include <chrono>
#include <map>

#include "TemplateDialog.h"
#include "folio/platform/ui/IWindowing.h"

// A modeless dialog window of the desktop backend. Destroying the object destroys the
// window. While the window is shown, each change lets the toolkit repaint (at most
// every few tens of milliseconds), so that a window updated from a long run on the
// host's thread stays drawn; the user's input waits until the run returns.
class CWxDialogWindow : public IDialogWindow {
public:
  explicit CWxDialogWindow(const SDialogTemplate& layout);
  ~CWxDialogWindow() override;

  void Show(bool visible) override;
  bool IsVisible() const override;
  void SetItemText(int id, const CStr& text) override;
  CStr GetItemText(int id) const override;
  void SetProgressPos(int id, int position) override;
  int GetProgressPos(int id) const override;
  void Invalidate() override;
  void EnableItem(int id, bool enabled) override;
  bool IsItemEnabled(int id) const override;
  void SetItemReadOnly(int id, bool readOnly) override;
  bool IsItemReadOnly(int id) const override;
  void SetItemChecked(int id, bool checked) override;
  bool IsItemChecked(int id) const override;
  void MoveTo(SPoint topLeft) override;
  SPoint GetPosition() const override;
  SSize GetClientSize() const override;
  void SetEventHandler(EventHandler handler) override;

  CWxCommandDialog& Dialog() { return *m_dialog; }

private:
  void RepaintDuringRun();

  CWxCommandDialog* m_dialog;  // owned by the toolkit once created; destroyed by us
  STemplateTexts m_texts;
  EventHandler m_handler;
  std::chrono::steady_clock::time_point m_lastRepaint;
};
