#include "folio/platform/ui/CSafeFileDialog.h"

#include "folio/platform/host/CInifile.h"
#include "folio/platform/ui/IWindowing.h"
#include "folio/util/SystemUtils.h"

namespace {
using namespace SystemUtils;
constexpr char16_t kFolderKey[] = u"Folder";
}

CSafeFileDialog::CSafeFileDialog(bool openDialog, const CStr& defaultExtension, const CStr& fileName,
                                 unsigned flags, const CStr& filter, CWnd* parent) {
  (void)parent;  // the backend places its file dialogs itself
  m_request.open = openDialog;
  m_request.defaultExtension = defaultExtension;
  m_request.initialFile = fileName;
  m_request.flags = flags;
  m_request.filter = filter;
}

void CSafeFileDialog::SetStoreSettings(const CStr& iniFile, const CStr& name) {
  m_iniFile = iniFile;
  m_settingsName = name;
}

void CSafeFileDialog::SetFileAndDir(const CStr& file, const CStr& folder, const CStr& extension) {
  m_request.initialFile = GetFileName(file);
  m_request.initialFolder = GetFolder(file);
  m_fallbackFolder = folder;
  if (!extension.IsEmpty()) m_request.defaultExtension = extension;
}

CStr CSafeFileDialog::RememberedFolder() const {
  if (m_iniFile.IsEmpty() || m_settingsName.IsEmpty()) return CStr();
  return CInifile(m_iniFile, m_settingsName).ReadString(kFolderKey, CStr());
}

bool CSafeFileDialog::SafeDoModal() {
  SFileDialog request = m_request;
  if (request.initialFolder.IsEmpty()) {
    const CStr remembered = RememberedFolder();
    request.initialFolder = !remembered.IsEmpty() && PathExists(remembered) ? remembered : m_fallbackFolder;
  }
  const SFileDialogResult result = GetWindowing().FileDialog(request);
  m_errorCode = result.errorCode;
  if (result.result == eIdFailed) return false;
  m_returnCode = result.result == eIdOk ? eIdOk : eIdCancel;
  m_path = m_returnCode == eIdOk ? result.path : CStr();
  // Remembering is a convenience: a settings file that cannot be written costs nothing.
  if (m_returnCode == eIdOk && !m_iniFile.IsEmpty() && !m_settingsName.IsEmpty())
    CInifile(m_iniFile, m_settingsName).WriteString(kFolderKey, GetFolder(m_path));
  return true;
}
