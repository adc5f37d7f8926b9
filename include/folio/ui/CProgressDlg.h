#pragma once
#include "folio/platform/ui/CDialog.h"
#include "folio/report/IReportUi.h"
#include "folio/util/Export.h"

// The modeless window that shows the reporter's current step and a percentage bar.
class FOLIO_API CProgressDlg : public CDialog, public IProgressView {
public:
  enum { IDD = 14100, IDC_PROGRESS_BAR = 14008, IDC_PROGRESS_TEXT = 14015 };

  explicit CProgressDlg(CWnd* parent = nullptr);
  ~CProgressDlg() override;

  // Dialog 14100 as the windowing layer shows it.
  static SDialogTemplate Template();

  // Creates the (hidden) window; false when the windowing layer cannot.
  bool Create() override { return CreateModeless(GetParent()); }
  bool HasWindow() const override { return CDialog::HasWindow(); }
  void Show() override { ShowWindow(true); }
  // Replaces the text and moves the bar to percent clamped to 0..100.
  void SetProgress(const CStr& text, int percent) override;
  void DestroyWindow() override { CDialog::DestroyWindow(); }
  SSize GetClientSize() const override { return CDialog::GetClientSize(); }
  void MoveTo(SPoint topLeft) override { MoveWindow(topLeft); }
};
