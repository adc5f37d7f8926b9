#include "folio/platform/ui/CWnd.h"

CWnd::~CWnd() = default;

void CWnd::DestroyWindow() { m_window.reset(); }

void CWnd::ShowWindow(bool visible) {
  if (m_window) m_window->Show(visible);
}

bool CWnd::IsWindowVisible() const { return m_window && m_window->IsVisible(); }

void CWnd::SetDlgItemText(int id, const CStr& text) {
  if (m_window) m_window->SetItemText(id, text);
}

CStr CWnd::GetDlgItemText(int id) const { return m_window ? m_window->GetItemText(id) : CStr(); }

void CWnd::SetProgressPos(int id, int position) {
  if (m_window) m_window->SetProgressPos(id, position);
}

int CWnd::GetProgressPos(int id) const { return m_window ? m_window->GetProgressPos(id) : 0; }

void CWnd::Invalidate() {
  if (m_window) m_window->Invalidate();
}

void CWnd::EnableDlgItem(int id, bool enabled) {
  if (m_window) m_window->EnableItem(id, enabled);
}

bool CWnd::IsDlgItemEnabled(int id) const { return m_window && m_window->IsItemEnabled(id); }

void CWnd::SetDlgItemReadOnly(int id, bool readOnly) {
  if (m_window) m_window->SetItemReadOnly(id, readOnly);
}

void CWnd::CheckDlgButton(int id, bool checked) {
  if (m_window) m_window->SetItemChecked(id, checked);
}

bool CWnd::IsDlgButtonChecked(int id) const { return m_window && m_window->IsItemChecked(id); }

void CWnd::MoveWindow(SPoint topLeft) {
  if (m_window) m_window->MoveTo(topLeft);
}

SPoint CWnd::GetWindowPosition() const { return m_window ? m_window->GetPosition() : SPoint(); }

SSize CWnd::GetClientSize() const { return m_window ? m_window->GetClientSize() : SSize(); }
