#pragma once
#include <deque>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

#include "folio/platform/ui/IWindowing.h"
#include "folio/util/Export.h"

// A question the script had no fitting answer for; what() says what was asked.
class FOLIO_API EUnexpectedQuestion : public std::logic_error {
public:
  using std::logic_error::logic_error;
};

// One thing the scripted backend was shown or told, in order.
struct FOLIO_API SShownItem {
  enum class EKind {
    eMessageBox, eDialog, eFileDialog,                       // questions
    eWindowCreated, eWindowShown, eWindowHidden,             // modeless windows
    eItemText, eProgressPos, eWindowInvalidated, eWindowDestroyed,
  };
  EKind kind = EKind::eMessageBox;
  int resourceId = 0;  // dialogs and modeless windows
  CStr caption;        // message box caption, dialog caption or file dialog title
  CStr text;           // message text, dialog label text, item text, or initial file
  std::vector<SButton> buttons;
  unsigned style = 0;  // message box style or file dialog flags
  unsigned helpContext = 0;
  int itemId = 0;
  int position = 0;
  int answer = 0;      // the id the question was answered with
  CStr path;           // a file dialog's chosen path
};

// The state of one modeless window, kept after it is destroyed. A test acts on the
// window through it, as a user would: only on a shown window and an enabled control.
struct FOLIO_API SScriptedWindowState : SControlStates {
  SDialogTemplate dialog;
  bool visible = false;
  bool destroyed = false;
  int invalidations = 0;
  IDialogWindow::EventHandler handler;

  // Presses a button or radio button (a radio button becomes the checked one of its group).
  void Click(int id);
  // Replaces an edit field's text and leaves the field.
  void Type(int id, const CStr& text);
  // Presses the caption's close button.
  void RequestClose();

private:
  void Require(int id, bool editable) const;
};

// Backend for tests: answers come from a queue, everything shown is recorded. A
// question without a fitting answer throws EUnexpectedQuestion naming the question.
// Message boxes with only an OK button are notices and answer themselves OK unless
// SetNoticesNeedAnswers(true).
class FOLIO_API CScriptedWindowing : public IWindowing {
public:
  // Queue the next answer: a button or command id, Escape, the close box, a file
  // chosen in a file dialog, or a dialog that cannot be shown (with its error code).
  CScriptedWindowing& Press(int id);
  CScriptedWindowing& PressEscape();
  CScriptedWindowing& PressClose();
  CScriptedWindowing& ChooseFile(const CStr& path);
  CScriptedWindowing& FailToShow(unsigned long errorCode = 0);

  void SetNoticesNeedAnswers(bool need) { m_noticesNeedAnswers = need; }
  // Whether modeless windows can be created (false makes CreateModeless fail).
  void SetCanCreateWindows(bool can) { m_canCreateWindows = can; }

  // Answers not used yet.
  size_t Remaining() const { return m_answers.size(); }
  const std::vector<SShownItem>& Shown() const { return *m_shown; }
  // The texts of the message boxes shown, in order.
  std::vector<CStr> MessageTexts() const;
  // Every modeless window created, in order.
  const std::vector<std::shared_ptr<SScriptedWindowState>>& Windows() const { return m_windows; }

  int DoMessageBox(const SMessageBox& box) override;
  int RunModal(const SDialogTemplate& dialog) override;
  std::unique_ptr<IDialogWindow> CreateModeless(const SDialogTemplate& dialog) override;
  SFileDialogResult FileDialog(const SFileDialog& request) override;
  SSize GetScreenSize() const override { return m_screen; }
  void SetScreenSize(SSize screen) { m_screen = screen; }

private:
  struct SAnswer {
    enum class EKind { ePress, eEscape, eClose, eFile, eFail };
    EKind kind;
    int id = 0;
    CStr path;
    unsigned long errorCode = 0;
  };

  [[noreturn]] void Unexpected(const SShownItem& question, const char* why);
  // The pressed id, when the question has that button.
  int PressButton(const SShownItem& question, int id);

  std::deque<SAnswer> m_answers;
  // Shared with the modeless windows, which may outlive the backend.
  std::shared_ptr<std::vector<SShownItem>> m_shown = std::make_shared<std::vector<SShownItem>>();
  std::vector<std::shared_ptr<SScriptedWindowState>> m_windows;
  bool m_noticesNeedAnswers = false;
  bool m_canCreateWindows = true;
  SSize m_screen{1920, 1080};
};
