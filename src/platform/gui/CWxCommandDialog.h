#pragma once
#include <functional>
#include <map>

#include <wx/dialog.h>

#include "folio/platform/ui/UiTypes.h"

class wxKeyEvent;
class wxTextCtrl;

// A dialog whose controls issue commands, as the templates' framework routes them:
// a click, Enter (the focused button, else the default one), Escape (the escape
// command), and mnemonics (Alt with the letter, or the letter alone outside an edit
// field). An edit field reports a changed text when the user leaves it, and before
// any command the keyboard issues from inside it.
class CWxCommandDialog : public wxDialog {
public:
  using CommandHandler = std::function<void(int command)>;
  using CloseHandler = std::function<void()>;
  using EditHandler = std::function<void(int id)>;

  CWxCommandDialog(wxWindow* parent, const wxString& caption, long style = wxDEFAULT_DIALOG_STYLE);
  ~CWxCommandDialog() override;

  void SetCommandHandler(CommandHandler handler) { m_onCommand = std::move(handler); }
  void SetCloseHandler(CloseHandler handler) { m_onClose = std::move(handler); }
  void SetEditHandler(EditHandler handler) { m_onEdit = std::move(handler); }
  // Drops every handler: the window no longer reaches its owner.
  void Detach();

  // eIdFailed: Escape does nothing.
  void SetEscapeCommand(int id) { m_escapeCommand = id; }
  void SetDefaultCommand(int id) { m_defaultCommand = id; }
  // The control that the letter (folded to lower case) activates.
  void AddMnemonic(char16_t letter, wxWindow* control) { m_mnemonics[letter] = control; }
  // Watches an edit field for changes the user leaves behind.
  void WatchEdit(wxTextCtrl* edit);

  // Issues command id as a click on its control would, if that control is enabled.
  void IssueCommand(int id);
  // What the keyboard does with key and modifiers; true when the dialog used the key.
  bool HandleKey(int keyCode, int modifiers);

private:
  void OnCharHook(wxKeyEvent& event);
  void CommitFocusedEdit();
  bool ActivateMnemonic(int keyCode);
  void FocusAfter(wxWindow* label);

  CommandHandler m_onCommand;
  CloseHandler m_onClose;
  EditHandler m_onEdit;
  int m_escapeCommand = eIdCancel;
  int m_defaultCommand = eIdOk;
  std::map<char16_t, wxWindow*> m_mnemonics;
};
