#include "folio/platform/ui/CStringEdit.h"

void CStringEdit::SubclassDlgItem(int id, CWnd* dialog) {
  m_id = id;
  m_dialog = dialog;
}

CStr CStringEdit::GetWindowText() const { return m_dialog ? m_dialog->GetDlgItemText(m_id) : CStr(); }

void CStringEdit::SetWindowText(const CStr& text) {
  if (m_dialog) m_dialog->SetDlgItemText(m_id, text);
}

void CStringEdit::SetReadOnly(bool readOnly) {
  if (m_dialog) m_dialog->SetDlgItemReadOnly(m_id, readOnly);
}

bool CStringEdit::Validate() {
  if (!m_validate) return true;
  CString text(GetWindowText());
  const bool accepted = m_validate(text);
  SetWindowText(text.ToCStr());
  return accepted;
}
