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
