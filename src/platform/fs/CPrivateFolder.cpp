#include "platform/fs/CPrivateFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <system_error>

#include "folio/util/EBase.h"
#include "folio/util/SystemUtils.h"
#include "platform/fs/FileFaults.h"

using namespace SystemUtils;

CPrivateFolder::CPrivateFolder() {
  if (FileFaults::Hit(EFileStep::eCreate)) return;
  std::string pattern;
  try {
    pattern = (ToFsPath(GetTempFolder()) / "folio-XXXXXX").string();
  } catch (const EBase&) {
    return;
  }
  if (::mkdtemp(pattern.data())) m_path = AddTrailingSeparator(CStr::FromUtf8(pattern));
}

CPrivateFolder::~CPrivateFolder() {
  // Only a folder that is still the one made here is emptied: never through a link.
  if (!StillPrivate()) return;
  std::error_code ignored;
  std::filesystem::remove_all(ToFsPath(m_path).parent_path(), ignored);
}

bool CPrivateFolder::StillPrivate() const {
  if (m_path.IsEmpty()) return false;
  struct stat info {};
  const std::string path = ToFsPath(m_path).parent_path().string();
  return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
         (info.st_mode & 077) == 0;
}

CStr ProcessTempFolder() {
  static std::unique_ptr<CPrivateFolder> folder;
  // One that vanished or changed hands is left alone and replaced.
  if (!folder || !folder->StillPrivate()) folder = std::make_unique<CPrivateFolder>();
  return folder->Path();
}

CStr PrivateTempName(const CStr& stem, const CStr& extension) {
  const CStr folder = ProcessTempFolder();
  return folder.IsEmpty() ? CStr() : MakeUniqueFileName(folder + stem, extension);
}
