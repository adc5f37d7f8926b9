#include "CWxCommandDialog.h"

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

bool IsEnterKey(int keyCode) { return keyCode == WXK_RETURN || keyCode == WXK_NUMPAD_ENTER; }

char16_t FoldedKey(int keyCode) {
  if (keyCode >= 'A' && keyCode <= 'Z') return char16_t(keyCode - 'A' + 'a');
  if ((keyCode >= 'a' && keyCode <= 'z') || (keyCode >= '0' && keyCode <= '9')) return char16_t(keyCode);
  return 0;
}

}  // namespace

CWxCommandDialog::CWxCommandDialog(wxWindow* parent, const wxString& caption, long style)
    : wxDialog(parent, wxID_ANY, caption, wxDefaultPosition, wxDefaultSize, style) {
  Bind(wxEVT_CHAR_HOOK, &CWxCommandDialog::OnCharHook, this);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent& event) { IssueCommand(event.GetId()); });
  Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent& event) { IssueCommand(event.GetId()); });
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
    // The owner decides what closing means; the window itself stays.
    if (event.CanVeto()) event.Veto();
    if (m_onClose) m_onClose();
  });
}

CWxCommandDialog::~CWxCommandDialog() { Detach(); }

void CWxCommandDialog::Detach() {
  m_onCommand = nullptr;
  m_onClose = nullptr;
  m_onEdit = nullptr;
}

void CWxCommandDialog::WatchEdit(wxTextCtrl* edit) {
  edit->Bind(wxEVT_KILL_FOCUS, [this, edit](wxFocusEvent& event) {
    event.Skip();
    if (!edit->IsModified()) return;
    edit->DiscardEdits();
    // A copy: the handler may end the dialog.
    if (EditHandler handler = m_onEdit) handler(edit->GetId());
  });
}

void CWxCommandDialog::IssueCommand(int id) {
  const wxWindow* control = FindWindow(id);
  if (control && !control->IsEnabled()) return;
  if (CommandHandler handler = m_onCommand) handler(id);
}

void CWxCommandDialog::CommitFocusedEdit() {
  auto* edit = dynamic_cast<wxTextCtrl*>(FindFocus());
  if (!edit || edit->GetParent() != this || !edit->IsModified()) return;
  edit->DiscardEdits();
  if (EditHandler handler = m_onEdit) handler(edit->GetId());
}

void CWxCommandDialog::OnCharHook(wxKeyEvent& event) {
  if (!HandleKey(event.GetKeyCode(), event.GetModifiers())) event.Skip();
}

bool CWxCommandDialog::HandleKey(int keyCode, int modifiers) {
  if (keyCode == WXK_ESCAPE && modifiers == wxMOD_NONE) {
    // A box that cannot be dismissed keeps Escape to itself.
    if (m_escapeCommand == eIdFailed) return true;
    CommitFocusedEdit();
    IssueCommand(m_escapeCommand);
    return true;
  }
  if (IsEnterKey(keyCode) && modifiers == wxMOD_NONE) {
    // Enter presses the focused button, as on the templates' own system.
    const wxWindow* focus = FindFocus();
    const int id = dynamic_cast<const wxButton*>(focus) && focus->GetParent() == this ? focus->GetId()
                                                                                       : m_defaultCommand;
    CommitFocusedEdit();
    IssueCommand(id);
    return true;
  }
  const bool inEdit = dynamic_cast<wxTextCtrl*>(FindFocus()) != nullptr;
  if (modifiers == wxMOD_ALT || (modifiers == wxMOD_NONE && !inEdit)) return ActivateMnemonic(keyCode);
  return false;
}

bool CWxCommandDialog::ActivateMnemonic(int keyCode) {
  const auto found = m_mnemonics.find(FoldedKey(keyCode));
  if (found == m_mnemonics.end()) return false;
  wxWindow* control = found->second;
  if (!control->IsEnabled() || !control->IsShown()) return true;
  if (auto* radio = dynamic_cast<wxRadioButton*>(control)) {
    CommitFocusedEdit();
    radio->SetFocus();
    radio->SetValue(true);
    IssueCommand(radio->GetId());
  } else if (dynamic_cast<wxButton*>(control)) {
    CommitFocusedEdit();
    IssueCommand(control->GetId());
  } else if (dynamic_cast<wxStaticText*>(control)) {
    FocusAfter(control);
  }
  return true;
}

void CWxCommandDialog::FocusAfter(wxWindow* label) {
  // A label's mnemonic goes to the control that follows it in the tab order.
  const wxWindowList& children = GetChildren();
  bool after = false;
  for (wxWindow* child : children) {
    if (after && child->IsEnabled() && child->CanAcceptFocus()) {
      child->SetFocus();
      if (auto* edit = dynamic_cast<wxTextCtrl*>(child)) edit->SelectAll();
      return;
    }
    if (child == label) after = true;
  }
}
