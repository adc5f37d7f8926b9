#include "folio/platform/ui/CDialog.h"

int CDialog::DoModal() {
  m_ended = false;
  m_result = eIdFailed;
  IWindowing& windowing = GetWindowing();
  // Commands that no handler ends the dialog with leave it open for the next one.
  while (!m_ended) {
    const int command = windowing.RunModal(m_template);
    if (command == eIdFailed) return eIdFailed;
    OnCommand(command);
  }
  return m_result;
}

bool CDialog::CreateModeless(CWnd* parent) {
  m_parent = parent;
  std::unique_ptr<IDialogWindow> window = GetWindowing().CreateModeless(m_template);
  if (!window) return false;
  Attach(std::move(window));
  return OnInitDialog();
}

void CDialog::EndDialog(int result) {
  m_ended = true;
  m_result = result;
}

bool CDialog::OnCommand(int id) {
  switch (id) {
    case eIdOk: OnOK(); return true;
    case eIdCancel: OnCancel(); return true;
    default: return false;
  }
}
