#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "folio/util/CStr.h"
#include "folio/util/Export.h"

// What the windowing layer is asked to show, described as data. Style bits and
// results carry the values of the Windows message box and dialog APIs, so that code
// written against those numbers reads the same here.

// Message box style: one button set, optionally an icon, a default button and Help.
enum EMessageBoxStyle : unsigned {
  eMbOk = 0x0,
  eMbOkCancel = 0x1,
  eMbAbortRetryIgnore = 0x2,
  eMbYesNoCancel = 0x3,
  eMbYesNo = 0x4,
  eMbRetryCancel = 0x5,
  eMbCancelTryContinue = 0x6,
  eMbButtonMask = 0xF,
  eMbIconError = 0x10,
  eMbIconQuestion = 0x20,
  eMbIconWarning = 0x30,
  eMbIconInformation = 0x40,
  eMbIconMask = 0xF0,
  eMbDefButton1 = 0x000,
  eMbDefButton2 = 0x100,
  eMbDefButton3 = 0x200,
  eMbDefButton4 = 0x300,
  eMbDefButtonMask = 0xF00,
  eMbHelp = 0x4000,
};

// Results of message boxes and dialogs, and the command ids of their standard buttons.
enum EDialogResult : int {
  eIdFailed = -1,  // the window could not be shown
  eIdOk = 1,
  eIdCancel = 2,
  eIdAbort = 3,
  eIdRetry = 4,
  eIdIgnore = 5,
  eIdYes = 6,
  eIdNo = 7,
  eIdHelp = 9,
  eIdTryAgain = 10,
  eIdContinue = 11,
};

// One button: the command id it issues and its text.
struct FOLIO_API SButton {
  int id = 0;
  CStr text;
  friend bool operator==(const SButton&, const SButton&) = default;
};

struct FOLIO_API SMessageBox {
  CStr text;
  CStr caption;
  unsigned style = eMbOk;
  unsigned helpContext = 0;

  // The buttons of the style, in display order ("OK", "Cancel", ...), Help last.
  std::vector<SButton> Buttons() const;
  // Command id of the default button (the first one unless a eMbDefButtonN bit says so).
  int DefaultButton() const;
  // What Escape and the close box give: Cancel when there is one, OK for an OK-only
  // box, eIdFailed when the box cannot be dismissed that way (Yes/No, Abort/Retry/Ignore).
  int EscapeResult() const;
  // "Error", "Question", "Warning", "Information" or empty.
  CStr IconName() const;
};

enum class EControlKind { eLabel, eButton, eEdit, eRadio, eGroupBox, eProgress };

// Position and size in dialog units.
struct FOLIO_API SRect {
  int x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const SRect&, const SRect&) = default;
};

// A point and a size in screen pixels.
struct FOLIO_API SPoint {
  int x = 0, y = 0;
  friend bool operator==(const SPoint&, const SPoint&) = default;
};

struct FOLIO_API SSize {
  int width = 0, height = 0;
  friend bool operator==(const SSize&, const SSize&) = default;
};

// Pixel size of a dialog-unit size in the dialogs' font ("MS Shell Dlg" 8 at 96 dpi:
// a dialog unit is a quarter of the 6-pixel average character width and an eighth of
// the 13-pixel character height).
FOLIO_API SSize DialogUnitsToPixels(const SRect& rect);

// What the user did to a control of a modeless window.
enum class EControlEvent {
  eClicked,         // a button or radio button was pressed
  eEditCommitted,   // an edit field lost the focus after its text was changed
  eCloseRequested,  // the caption's close button (control id 0)
};

struct FOLIO_API SDialogControl {
  EControlKind kind = EControlKind::eLabel;
  int id = 0;  // 0 for a label without an id
  CStr text;
  SRect rect;
  bool isDefault = false;  // the default push button (Enter)
};

// A dialog resource: caption, size and controls. Escape and the close box issue the
// Cancel command (eIdCancel) whether or not the dialog has a Cancel button.
struct FOLIO_API SDialogTemplate {
  int resourceId = 0;
  CStr caption;
  SRect rect;
  std::vector<SDialogControl> controls;

  std::vector<SButton> Buttons() const;
  // Id of the default push button, or eIdOk when none is marked.
  int DefaultButton() const;
  // The texts of the labels, joined by new lines.
  CStr LabelText() const;
  // The control with this id, or null.
  const SDialogControl* Find(int id) const;
};

// Flags of the file dialogs (the Windows OFN_ values that matter here).
enum EFileDialogFlags : unsigned {
  eOfnHideReadOnly = 0x4,
  eOfnPathMustExist = 0x800,
  eOfnFileMustExist = 0x1000,
};

struct FOLIO_API SFileDialog {
  bool open = true;  // Open, else Save
  CStr title;
  // "Description|*.a;*.b|Description|*.*||"
  CStr filter;
  CStr defaultExtension;
  CStr initialFolder;
  CStr initialFile;
  unsigned flags = 0;
};

struct FOLIO_API SFileFilter {
  CStr description;
  CStr patterns;  // "*.htm;*.html"
  friend bool operator==(const SFileFilter&, const SFileFilter&) = default;
};

// Splits a "Description|patterns|...||" filter into its pairs.
FOLIO_API std::vector<SFileFilter> ParseFileFilter(const CStr& filter);

struct FOLIO_API SFileDialogResult {
  // eIdOk with a path, eIdCancel, or eIdFailed when the dialog could not be shown.
  int result = eIdCancel;
  CStr path;
  // The common-dialog extended error code when result is eIdFailed.
  unsigned long errorCode = 0;
};

// What a modeless window's controls hold, by control id, as a backend keeps it.
struct FOLIO_API SControlStates {
  std::map<int, CStr> texts;
  std::map<int, int> positions;  // progress bars
  std::set<int> disabled;
  std::set<int> readOnly;
  std::set<int> checked;
  SPoint topLeft;
  SSize clientSize;

  // The controls as the dialog starts: texts, bars at 0, everything enabled.
  explicit SControlStates(const SDialogTemplate& dialog = {});
  CStr Text(int id) const;
  int Position(int id) const;
};
