#include "platform/fs/CPrivateFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <algorithm>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "folio/util/EBase.h"
#include "folio/util/SystemUtils.h"
#include "platform/fs/FileFaults.h"

using namespace SystemUtils;

namespace {

// The private folders alive in this process, absolute and without their final separator.
// Never destroyed: a folder held in a static object is removed after other statics go.
std::vector<std::filesystem::path>& LiveFolders() {
  static auto* folders = new std::vector<std::filesystem::path>();
  return *folders;
}

std::filesystem::path Normal(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::absolute(path, ec).lexically_normal();
}

}  // namespace

CPrivateFolder::CPrivateFolder() {
  if (FileFaults::Hit(EFileStep::eCreate)) return;
  std::string pattern;
  try {
    pattern = (ToFsPath(GetTempFolder()) / "folio-XXXXXX").string();
  } catch (const EBase&) {
    return;
  }
  if (!::mkdtemp(pattern.data())) return;
  const std::filesystem::path folder = Normal(pattern);
  m_path = AddTrailingSeparator(CStr::FromUtf8(folder.string()));
  LiveFolders().push_back(folder);
}

CPrivateFolder::~CPrivateFolder() {
  if (m_path.IsEmpty()) return;
  std::erase(LiveFolders(), Normal(ToFsPath(m_path).parent_path()));
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

bool IsScratchPath(const std::filesystem::path& path) {
  const std::filesystem::path normal = Normal(path);
  for (const std::filesystem::path& folder : LiveFolders()) {
    const auto [end, rest] = std::mismatch(folder.begin(), folder.end(), normal.begin(), normal.end());
    if (end == folder.end() && rest != normal.end()) return true;
  }
  return false;
}

CStr PrivateTempName(const CStr& stem, const CStr& extension) {
  const CStr folder = ProcessTempFolder();
  return folder.IsEmpty() ? CStr() : MakeUniqueFileName(folder + stem, extension);
}
