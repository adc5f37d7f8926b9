#pragma once
#include <memory>

#include "folio/platform/ui/UiTypes.h"
#include "folio/util/CStr.h"
#include "folio/util/Export.h"

// The windows the reporter shows while it works. The reporter knows them only through
// these interfaces; the user-interface layer implements them and registers a factory.

// Modal question before an existing report is overwritten.
class IConfirmOverwrite {
public:
  // Button ids the choice can hold.
  enum EChoice : int { eNoChoice = -1, eCancel = 2, eAppend = 3, eOverwrite = 14106 };
  virtual ~IConfirmOverwrite() = default;
  // Runs the question modally; returns the modal result (1 OK, 2 Cancel, ...).
  virtual int DoModal() = 0;
  // The button that closed the question; eNoChoice when none did.
  virtual int GetChoice() const = 0;
};

class CFolio;

// A modeless window the reporter owns and places.
class IReportWindow {
public:
  virtual ~IReportWindow() = default;
  // Creates the (hidden) window; false when the platform cannot.
  virtual bool Create() = 0;
  virtual bool HasWindow() const = 0;
  virtual void Show() = 0;
  virtual void DestroyWindow() = 0;
  // Pixel size of the window's client area, and where its top-left corner goes.
  virtual SSize GetClientSize() const = 0;
  virtual void MoveTo(SPoint topLeft) = 0;
};

// Modeless window with one line of text and a percentage bar.
class IProgressView : public IReportWindow {
public:
  // Replaces the text and sets the bar to percent clamped to 0..100.
  virtual void SetProgress(const CStr& text, int percent) = 0;
};

// The report dialog, in which the user picks template and report and runs the
// generation. It edits its reporter's fields.
class IReportDialog : public IReportWindow {};

// Makes the reporter's windows.
class IReportUiFactory {
public:
  virtual ~IReportUiFactory() = default;
  virtual std::unique_ptr<IConfirmOverwrite> MakeConfirmOverwrite() = 0;
  virtual std::unique_ptr<IProgressView> MakeProgressView() = 0;
  // The report dialog of owner, which outlives it.
  virtual std::unique_ptr<IReportDialog> MakeReportDialog(CFolio& owner) = 0;
};

// Installs the factory the reporter uses (the user-interface layer does this when the
// library is loaded; tests may install their own). Null removes it.
FOLIO_API void SetReportUiFactory(std::shared_ptr<IReportUiFactory> factory);
// The installed factory, or null.
FOLIO_API std::shared_ptr<IReportUiFactory> GetReportUiFactory();
