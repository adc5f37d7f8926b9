#include "folio/ui/CConfirmOverwriteDlg.h"

CConfirmOverwriteDlg::CConfirmOverwriteDlg(CWnd* parent) : CDialog(Template(), parent) {}

CConfirmOverwriteDlg::~CConfirmOverwriteDlg() = default;

SDialogTemplate CConfirmOverwriteDlg::Template() {
  SDialogTemplate dialog;
  dialog.resourceId = IDD;
  dialog.caption = u"KORI Livesheeter";
  dialog.rect = {0, 0, 184, 44};
  dialog.controls = {
      {EControlKind::eLabel, 0, u"The report file exists. What would you like to do?", {12, 6, 160, 12}, false},
      {EControlKind::eButton, IDC_OVERWRITE, u"Overwrite", {6, 24, 50, 14}, true},
      {EControlKind::eButton, IDC_APPEND, u"Append", {66, 24, 50, 14}, false},
      {EControlKind::eButton, eIdCancel, u"Cancel", {126, 24, 50, 14}, false},
  };
  return dialog;
}

bool CConfirmOverwriteDlg::OnCommand(int id) {
  switch (id) {
    case IDC_OVERWRITE: OnBnClickedOverwrite(); return true;
    case IDC_APPEND: OnBnClickedAppend(); return true;
    default: return CDialog::OnCommand(id);
  }
}

// Each button ends the dialog the way OK does; the choice says which one it was.
void CConfirmOverwriteDlg::OnBnClickedOverwrite() {
  m_choice = IDC_OVERWRITE;
  OnOK();
}

void CConfirmOverwriteDlg::OnBnClickedAppend() {
  m_choice = IDC_APPEND;
  OnOK();
}

void CConfirmOverwriteDlg::OnBnClickedCancel() {
  m_choice = eIdCancel;
  OnOK();
}
