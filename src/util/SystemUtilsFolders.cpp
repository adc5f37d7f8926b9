// Folder creation: plan the growing paths as text, then check and create them natively.
#include <system_error>

#include "folio/util/SystemUtils.h"
#include "util/SystemUtilsDetail.h"

namespace SystemUtils {

namespace {

std::vector<CStr> SplitComponents(const CStr& path, EPathStyle style) {
  std::vector<CStr> components;
  CStr current;
  for (char16_t c : path.View()) {
    if (IsSlash(c, style)) {
      if (!current.IsEmpty()) components.push_back(std::move(current));
      current = CStr();
    } else {
      current += c;
    }
  }
  if (!current.IsEmpty()) components.push_back(std::move(current));
  return components;
}

bool HasInvalidWindowsCharacter(const CStr& path) {
  for (CStr::size_type i = 0; i < path.GetLength(); ++i) {
    const char16_t c = path[i];
    if (c == u'*' || c == u'?') return true;
    if (c == u':' && i != 1) return true;
  }
  return false;
}

}  // namespace

std::vector<CStr> PlanFolderCreation(const CStr& fullPath, EPathStyle style) {
  if (style == EPathStyle::eWindows && HasInvalidWindowsCharacter(fullPath)) return {};
  std::vector<CStr> components = SplitComponents(fullPath, style);
  if (components.empty()) return {};

  const char16_t separator = AddedSeparator(style);
  CStr current;
  std::size_t next = 1;
  if (style == EPathStyle::ePosix && fullPath.StartsWith(u"/")) {
    // The root plays the part of the drive: it is checked, never created.
    current = u"/";
    next = 0;
  } else if (style == EPathStyle::eWindows && fullPath.GetLength() > 2 &&
             fullPath.StartsWith(u"\\\\")) {
    if (components.size() < 2) return {};
    current = u"\\\\" + components[0] + separator + components[1];
    next = 2;
  } else {
    current = components[0];
  }

  std::vector<CStr> paths{current};
  for (; next < components.size(); ++next) {
    if (!current.EndsWith(std::u16string_view(&separator, 1))) current += separator;
    current += components[next];
    paths.push_back(current);
  }
  return paths;
}

bool CreateFolder(const CStr& folder) {
  const std::vector<CStr> paths = PlanFolderCreation(GetFullPath(folder), kNativePathStyle);
  if (paths.empty()) return false;
  std::error_code error;
  // A missing drive, share or root cannot be created.
  if (!std::filesystem::is_directory(ToFsPath(paths.front()), error)) return false;

  std::size_t firstMissing = 1;
  while (firstMissing < paths.size() &&
         std::filesystem::is_directory(ToFsPath(paths[firstMissing]), error))
    ++firstMissing;

  for (std::size_t i = firstMissing; i < paths.size(); ++i) {
    error.clear();
    if (std::filesystem::create_directory(ToFsPath(paths[i]), error)) continue;
    // Something of that name appeared or was in the way (a file): it is not ours to remove.
    if (!error || error == std::errc::file_exists) return false;
    std::error_code ignored;
    std::filesystem::remove_all(ToFsPath(paths[firstMissing]), ignored);
    return false;
  }
  return true;
}

}  // namespace SystemUtils
