#include "folio/platform/ui/CDialog.h"

int CDialog::DoModal() {
  m_ended = false;
  m_modal = true;
  m_result = eIdFailed;
  IWindowing& windowing = GetWindowing();
  // Commands that no handler ends the dialog with leave it open for the next one.
  while (!m_ended) {
    const int command = windowing.RunModal(m_template);
    if (command == eIdFailed) break;
    OnCommand(command);
  }
  m_modal = false;
  return m_ended ? m_result : eIdFailed;
}

bool CDialog::CreateModeless(CWnd* parent) {
  m_parent = parent;
  std::unique_ptr<IDialogWindow> window = GetWindowing().CreateModeless(m_template);
  if (!window) return false;
  window->SetEventHandler([this](int id, EControlEvent event) { OnControlEvent(id, event); });
  Attach(std::move(window));
  return OnInitDialog();
}

void CDialog::EndDialog(int result) {
  m_ended = true;
  m_result = result;
  // A modeless dialog stays, hidden, until its owner destroys it.
  if (!m_modal) ShowWindow(false);
}

void CDialog::OnControlEvent(int id, EControlEvent event) {
  switch (event) {
    case EControlEvent::eClicked: OnCommand(id); break;
    case EControlEvent::eEditCommitted: OnEditCommitted(id); break;
    case EControlEvent::eCloseRequested: OnClose(); break;
  }
}

bool CDialog::OnCommand(int id) {
  switch (id) {
    case eIdOk: OnOK(); return true;
    case eIdCancel: OnCancel(); return true;
    default: return false;
  }
}
