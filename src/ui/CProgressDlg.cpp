#include "folio/ui/CProgressDlg.h"

#include <algorithm>

CProgressDlg::CProgressDlg(CWnd* parent) : CDialog(Template(), parent) {}

CProgressDlg::~CProgressDlg() = default;

SDialogTemplate CProgressDlg::Template() {
  SDialogTemplate dialog;
  dialog.resourceId = IDD;
  dialog.caption = u"Creating Livesheet";
  dialog.rect = {0, 0, 283, 42};
  dialog.controls = {
      {EControlKind::eLabel, IDC_PROGRESS_TEXT, u"Initializing...", {7, 5, 269, 12}, false},
      {EControlKind::eProgress, IDC_PROGRESS_BAR, CStr(), {7, 19, 269, 16}, false},
  };
  return dialog;
}

void CProgressDlg::SetProgress(const CStr& text, int percent) {
  Invalidate();
  SetDlgItemText(IDC_PROGRESS_TEXT, text);
  SetProgressPos(IDC_PROGRESS_BAR, std::clamp(percent, 0, 100));
}
