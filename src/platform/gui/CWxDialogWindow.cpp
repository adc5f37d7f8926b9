#include "CWxDialogWindow.h"

#include <algorithm>

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/gauge.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include "GuiText.h"

namespace {

// Often enough to look alive, rarely enough to cost nothing next to the work.
constexpr std::chrono::milliseconds kRepaintInterval{40};

}  // namespace

CWxDialogWindow::CWxDialogWindow(const SDialogTemplate& layout)
    : m_dialog(new CWxCommandDialog(nullptr, ToWx(layout.caption))) {
  BuildTemplateControls(*m_dialog, layout, m_texts);
  m_dialog->SetCommandHandler([this](int id) {
    if (EventHandler handler = m_handler) handler(id, EControlEvent::eClicked);
  });
  m_dialog->SetCloseHandler([this] {
    if (EventHandler handler = m_handler) handler(0, EControlEvent::eCloseRequested);
  });
  m_dialog->SetEditHandler([this](int id) {
    if (EventHandler handler = m_handler) handler(id, EControlEvent::eEditCommitted);
  });
}

CWxDialogWindow::~CWxDialogWindow() {
  m_dialog->Detach();
  m_dialog->Hide();
  // Deferred: we may be inside one of the window's own event handlers.
  m_dialog->Destroy();
}

void CWxDialogWindow::Show(bool visible) {
  m_dialog->Show(visible);
  if (visible) m_dialog->Raise();
}

bool CWxDialogWindow::IsVisible() const { return m_dialog->IsShown(); }

void CWxDialogWindow::SetItemText(int id, const CStr& text) {
  if (!dynamic_cast<wxTextCtrl*>(m_dialog->FindWindow(id))) m_texts.texts[id] = text;
  SetControlText(*m_dialog, m_texts, id, text);
  RepaintDuringRun();
}

CStr CWxDialogWindow::GetItemText(int id) const {
  const wxWindow* window = m_dialog->FindWindow(id);
  if (const auto* edit = dynamic_cast<const wxTextCtrl*>(window)) return FromWx(edit->GetValue());
  const auto found = m_texts.texts.find(id);
  return found == m_texts.texts.end() ? CStr() : found->second;
}

void CWxDialogWindow::SetProgressPos(int id, int position) {
  if (auto* gauge = dynamic_cast<wxGauge*>(m_dialog->FindWindow(id))) {
    gauge->SetValue(std::clamp(position, 0, gauge->GetRange()));
    RepaintDuringRun();
  }
}

int CWxDialogWindow::GetProgressPos(int id) const {
  const auto* gauge = dynamic_cast<const wxGauge*>(m_dialog->FindWindow(id));
  return gauge ? gauge->GetValue() : 0;
}

void CWxDialogWindow::Invalidate() { m_dialog->Refresh(); }

void CWxDialogWindow::EnableItem(int id, bool enabled) {
  if (wxWindow* window = m_dialog->FindWindow(id)) window->Enable(enabled);
}

bool CWxDialogWindow::IsItemEnabled(int id) const {
  const wxWindow* window = m_dialog->FindWindow(id);
  return window && window->IsThisEnabled();
}

void CWxDialogWindow::SetItemReadOnly(int id, bool readOnly) {
  if (auto* edit = dynamic_cast<wxTextCtrl*>(m_dialog->FindWindow(id))) edit->SetEditable(!readOnly);
}

bool CWxDialogWindow::IsItemReadOnly(int id) const {
  const auto* edit = dynamic_cast<const wxTextCtrl*>(m_dialog->FindWindow(id));
  return edit && !edit->IsEditable();
}

void CWxDialogWindow::SetItemChecked(int id, bool checked) {
  // A radio button is cleared by checking another of its group.
  if (auto* radio = dynamic_cast<wxRadioButton*>(m_dialog->FindWindow(id)); radio && checked) radio->SetValue(true);
}

bool CWxDialogWindow::IsItemChecked(int id) const {
  const auto* radio = dynamic_cast<const wxRadioButton*>(m_dialog->FindWindow(id));
  return radio && radio->GetValue();
}

void CWxDialogWindow::MoveTo(SPoint topLeft) { m_dialog->Move(topLeft.x, topLeft.y); }

SPoint CWxDialogWindow::GetPosition() const {
  const wxPoint at = m_dialog->GetPosition();
  return {at.x, at.y};
}

SSize CWxDialogWindow::GetClientSize() const {
  const wxSize size = m_dialog->GetClientSize();
  return {size.x, size.y};
}

void CWxDialogWindow::SetEventHandler(EventHandler handler) { m_handler = std::move(handler); }

void CWxDialogWindow::RepaintDuringRun() {
  if (!m_dialog->IsShown() || !wxTheApp) return;
  // A change made while the toolkit already yields is painted by that yield.
  if (const wxEventLoopBase* loop = wxEventLoopBase::GetActive(); loop && loop->IsYielding()) return;
  // A host without a running loop gets one for the moment.
  const wxEventLoopGuarantor loopIfNeeded;
  const auto now = std::chrono::steady_clock::now();
  if (now - m_lastRepaint < kRepaintInterval) return;
  m_lastRepaint = now;
  // Paint and layout only: no clicks or keys reach Folio's windows in the middle of a run.
  wxEventLoopBase::GetActive()->YieldFor(wxEVT_CATEGORY_UI);
}
