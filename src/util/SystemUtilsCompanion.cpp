// Copying, moving and deleting a document together with its companion folder, with
// the silent shell operation's rules: existing files are overwritten, existing folders
// merged into, missing destination folders created.
#include <system_error>
#include <vector>

#include "folio/util/SystemUtils.h"

namespace fs = std::filesystem;

namespace SystemUtils {

namespace {

bool IsInside(const fs::path& inner, const fs::path& outer) {
  std::error_code error;
  const fs::path a = fs::weakly_canonical(inner, error);
  const fs::path b = fs::weakly_canonical(outer, error);
  auto ai = a.begin();
  for (auto bi = b.begin(); bi != b.end(); ++bi, ++ai) {
    if (bi->empty()) continue;  // a trailing separator
    if (ai == a.end() || *ai != *bi) return false;
  }
  return true;
}

bool CopyTree(const fs::path& from, const fs::path& to) {
  std::error_code error;
  if (fs::is_directory(from, error)) {
    if (fs::exists(to, error) && !fs::is_directory(to, error)) return false;
    fs::create_directory(to, error);
    if (error) return false;
    for (const fs::directory_entry& entry : fs::directory_iterator(from, error)) {
      if (!CopyTree(entry.path(), to / entry.path().filename())) return false;
    }
    return !error;
  }
  if (fs::is_directory(to, error)) return false;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
  return !error;
}

bool MoveTree(const fs::path& from, const fs::path& to) {
  std::error_code error;
  const bool fromIsFolder = fs::is_directory(from, error);
  const bool toExists = fs::exists(fs::symlink_status(to, error));
  if (toExists && fs::is_directory(to, error) != fromIsFolder) return false;
  if (!toExists || !fromIsFolder) {
    error.clear();
    fs::rename(from, to, error);  // replaces a file of that name
    if (!error) return true;
    if (error != std::errc::cross_device_link) return false;
    if (!CopyTree(from, to)) return false;
    fs::remove_all(from, error);
    return !error;
  }
  // Both are folders: merge, entry by entry, then drop the emptied source.
  std::vector<fs::path> entries;
  for (const fs::directory_entry& entry : fs::directory_iterator(from, error))
    entries.push_back(entry.path());
  if (error) return false;
  for (const fs::path& entry : entries) {
    if (!MoveTree(entry, to / entry.filename())) return false;
  }
  fs::remove(from, error);
  return !error;
}

bool RunOperation(const CStr& from, const CStr& to, int operation) {
  const fs::path source = ToFsPath(from);
  std::error_code error;
  if (!fs::exists(fs::symlink_status(source, error))) return false;
  if (operation == eDelete) {
    fs::remove_all(source, error);
    return !error;
  }
  const fs::path destination = ToFsPath(to);
  if (fs::equivalent(source, destination, error) || IsInside(destination, source)) return false;
  if (destination.has_parent_path()) {
    fs::create_directories(destination.parent_path(), error);
    if (error) return false;
  }
  return operation == eMove ? MoveTree(source, destination) : CopyTree(source, destination);
}

}  // namespace

bool FileOperationWithCompanion(const CStr& from, const CStr& to, int operation) {
  if (operation != eMove && operation != eCopy && operation != eDelete) return false;
  CStr source = from;
  CStr destination = to;
  if (!QualifyPath(source)) return false;
  if (operation != eDelete && !QualifyPath(destination)) return false;
  if (!RunOperation(source, destination, operation)) return false;

  const CStr sourceCompanion = RemoveExtension(source) + u"_files";
  if (!PathExists(sourceCompanion)) return true;
  const CStr destinationCompanion =
      operation == eDelete ? CStr() : RemoveExtension(destination) + u"_files";
  return RunOperation(sourceCompanion, destinationCompanion, operation);
}

}  // namespace SystemUtils
