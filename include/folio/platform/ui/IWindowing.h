#pragma once
#include <functional>
#include <memory>

#include "folio/platform/ui/UiTypes.h"
#include "folio/util/Export.h"
#include "folio/util/StringTable.h"

// A modeless dialog's window, as the backend shows it. Destroying the object
// destroys the window.
class FOLIO_API IDialogWindow {
public:
  virtual ~IDialogWindow() = default;
  virtual void Show(bool visible) = 0;
  virtual bool IsVisible() const = 0;
  // Replaces the text of a control (a label, an edit or a button).
  virtual void SetItemText(int id, const CStr& text) = 0;
  virtual CStr GetItemText(int id) const = 0;
  // Sets a progress control's position; the caller keeps it within the range.
  virtual void SetProgressPos(int id, int position) = 0;
  virtual int GetProgressPos(int id) const = 0;
  // Asks for a repaint of the whole window.
  virtual void Invalidate() = 0;

  // Disabled controls take no input and are drawn grey.
  virtual void EnableItem(int id, bool enabled) = 0;
  virtual bool IsItemEnabled(int id) const = 0;
  // A read-only edit field shows its text but takes no typing.
  virtual void SetItemReadOnly(int id, bool readOnly) = 0;
  virtual bool IsItemReadOnly(int id) const = 0;
  // The checked state of a radio button.
  virtual void SetItemChecked(int id, bool checked) = 0;
  virtual bool IsItemChecked(int id) const = 0;

  // Top-left corner on the screen, in pixels; the size stays.
  virtual void MoveTo(SPoint topLeft) = 0;
  virtual SPoint GetPosition() const = 0;
  virtual SSize GetClientSize() const = 0;

  // Receives what the user does to the window's controls.
  using EventHandler = std::function<void(int id, EControlEvent event)>;
  virtual void SetEventHandler(EventHandler handler) = 0;
};

// The windowing services Folio uses: message boxes, modal and modeless dialogs and
// the common file dialogs. One backend is current for the whole process.
class FOLIO_API IWindowing {
public:
  virtual ~IWindowing() = default;
  // Shows the box modally; returns the id of the button pressed (EDialogResult).
  virtual int DoMessageBox(const SMessageBox& box) = 0;
  // Shows the dialog modally until one command arrives; returns its id (a button id,
  // eIdCancel for Escape and the close box) or eIdFailed when it cannot be shown.
  virtual int RunModal(const SDialogTemplate& dialog) = 0;
  // Creates a hidden modeless window for the dialog; null when it cannot.
  virtual std::unique_ptr<IDialogWindow> CreateModeless(const SDialogTemplate& dialog) = 0;
  virtual SFileDialogResult FileDialog(const SFileDialog& request) = 0;
  // Size of the screen modeless windows are placed on, in pixels.
  virtual SSize GetScreenSize() const = 0;
  // Delivers the user's input to modeless windows until done() says so, for a host
  // without an event loop of its own. Backends that deliver nothing return at once.
  virtual void ProcessEventsUntil(const std::function<bool()>& done) { (void)done; }
};

// The current backend. Until a host or test sets one, the first call chooses: the
// desktop dialogs (GuiWindowing.h) when a display is available and they are
// installed beside the library, the console otherwise.
FOLIO_API IWindowing& GetWindowing();
// Makes backend current and returns the previous one; null returns to the first
// call's choice.
FOLIO_API std::shared_ptr<IWindowing> SetWindowing(std::shared_ptr<IWindowing> backend);

// Sets a backend for one scope and puts the previous one back at its end.
class FOLIO_API CScopedWindowing {
public:
  explicit CScopedWindowing(std::shared_ptr<IWindowing> backend)
      : m_previous(SetWindowing(std::move(backend))) {}
  ~CScopedWindowing() { SetWindowing(std::move(m_previous)); }
  CScopedWindowing(const CScopedWindowing&) = delete;
  CScopedWindowing& operator=(const CScopedWindowing&) = delete;

private:
  std::shared_ptr<IWindowing> m_previous;
};

// Caption of message boxes that name none; "Folio" until the host names itself.
FOLIO_API void SetApplicationTitle(const CStr& title);
FOLIO_API CStr GetApplicationTitle();

// Called with the box's help context when the user presses Help in a message box.
using HelpHandler = std::function<void(unsigned helpContext)>;
FOLIO_API void SetHelpHandler(HelpHandler handler);

// Asks the help handler for the topic of a help context (a dialog's resource id).
// False when no handler is installed.
FOLIO_API bool GetHelp(unsigned helpContext);

// A help request (F1 or the caption's help button) and the control it came from.
struct FOLIO_API SHelpInfo {
  int controlId = 0;
};
// Answers a help request in a dialog with the dialog's topic.
FOLIO_API bool HandleHelpInfo(const SHelpInfo* request, unsigned dialogContext);

// Shows a message box on the current backend, as the framework's message box does:
// the application title as caption when none is given; Help calls the help handler
// and leaves the box open. Returns the id of the closing button.
FOLIO_API int ShowMessageBox(const CStr& text, unsigned style = eMbOk, unsigned helpContext = 0,
                             const CStr& caption = CStr());

// Shows string-table text id, formatted printf-style with args (paths, codes).
template <typename... Args>
int ShowStringMessage(unsigned id, unsigned style, const Args&... args) {
  return ShowMessageBox(CStr::DoStringFormat(LoadResourceString(id).View(), args...), style);
}
