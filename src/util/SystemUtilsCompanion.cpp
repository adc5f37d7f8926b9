// Copying, moving and deleting a document together with its companion folder, with
// the silent shell operation's rules: existing files are overwritten, existing folders
// merged into, missing destination folders created.
#include <system_error>
#include <vector>

#include "folio/util/SystemUtils.h"
#include "util/FileSafety.h"

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

// Moves from onto to. Nothing is followed through a link: a link is moved as the link
// it is, and a link where a folder is to be merged into fails the move.
bool MoveTree(const fs::path& from, const fs::path& to) {
  std::error_code error;
  const bool fromIsFolder = fs::is_directory(fs::symlink_status(from, error));
  const fs::file_status toStatus = fs::symlink_status(to, error);
  const bool toExists = fs::exists(toStatus);
  if (toExists && fs::is_directory(toStatus) != fromIsFolder) return false;
  if (!toExists || !fromIsFolder) {
    error.clear();
    fs::rename(from, to, error);  // replaces a file of that name
    if (!error) return true;
    if (error != std::errc::cross_device_link) return false;
    if (!FileSafety::CopyTree(from, to, false)) return false;
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

// followSource: whether a source that is a link is taken for what it points at (the
// document the caller named) or left alone (its companion folder).
bool RunOperation(const CStr& from, const CStr& to, int operation, bool followSource) {
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
  return operation == eMove ? MoveTree(source, destination) : FileSafety::CopyTree(source, destination, followSource);
}

}  // namespace

bool FileOperationWithCompanion(const CStr& from, const CStr& to, int operation) {
  if (operation != eMove && operation != eCopy && operation != eDelete) return false;
  CStr source = from;
  CStr destination = to;
  if (!QualifyPath(source)) return false;
  if (operation != eDelete && !QualifyPath(destination)) return false;
  if (!RunOperation(source, destination, operation, true)) return false;

  const CStr sourceCompanion = GetCompanionFolder(source);
  if (!PathExists(sourceCompanion)) return true;
  const CStr destinationCompanion = operation == eDelete ? CStr() : GetCompanionFolder(destination);
  return RunOperation(sourceCompanion, destinationCompanion, operation, false);
}

}  // namespace SystemUtils
