#pragma once
#include "folio/platform/ui/CWnd.h"
#include "folio/platform/ui/UiTypes.h"
#include "folio/util/Export.h"

// The Open or Save dialog, shown through the windowing layer. It can remember the
// folder the user chose last in a settings file, and reports a dialog that cannot be
// shown instead of failing silently.
class FOLIO_API CSafeFileDialog {
public:
  CSafeFileDialog(bool openDialog, const CStr& defaultExtension, const CStr& fileName, unsigned flags,
                  const CStr& filter, CWnd* parent = nullptr);

  // Remembers the chosen folder in settings file iniFile, section name.
  void SetStoreSettings(const CStr& iniFile, const CStr& name);
  // The file shown first. The dialog starts in its folder; when it names none, in the
  // remembered folder, else in folder. A non-empty extension replaces the default one.
  void SetFileAndDir(const CStr& file, const CStr& folder, const CStr& extension);
  void SetTitle(const CStr& title) { m_request.title = title; }

  // Shows the dialog; false when it could not be shown (GetErrorCode says why).
  bool SafeDoModal();
  // eIdOk when the user chose a file, else eIdCancel.
  int GetReturnCode() const { return m_returnCode; }
  unsigned long GetErrorCode() const { return m_errorCode; }
  CStr GetPathName() const { return m_path; }
  // What the dialog is asked to show.
  const SFileDialog& GetRequest() const { return m_request; }

private:
  CStr RememberedFolder() const;

  SFileDialog m_request;
  CStr m_iniFile;
  CStr m_settingsName;
  CStr m_fallbackFolder;
  int m_returnCode = eIdCancel;
  unsigned long m_errorCode = 0;
  CStr m_path;
};
