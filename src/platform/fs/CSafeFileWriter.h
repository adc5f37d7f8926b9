#pragma once
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "folio/util/CStr.h"

// Writes a file so that its old content survives any failure: the bytes go to a new
// file beside the target, created exclusively under an unguessable name, which is
// flushed to disk when it replaces a file (not a scratch file of a private folder)
// and then renamed over the target. Until Commit succeeds the target is
// untouched; a writer dropped without a successful Commit removes its temporary file.
// A target that is one of the user's own links is written through (the link stays); a
// read-only target, a link of another user's or anything but a regular file is refused.
// A replaced file keeps its group and permissions (never set-user or set-group id); a
// new one gets what the umask allows.
class CSafeFileWriter {
public:
  explicit CSafeFileWriter(const CStr& target);
  ~CSafeFileWriter();
  CSafeFileWriter(const CSafeFileWriter&) = delete;
  CSafeFileWriter& operator=(const CSafeFileWriter&) = delete;

  // Whether every step so far worked.
  bool Good() const { return m_good; }
  bool Write(std::string_view bytes);
  // Flushes, closes and renames over the target; false (target untouched) on failure.
  bool Commit();
  // What failed, for messages: the step and the system's reason.
  const CStr& GetError() const { return m_error; }

private:
  void Fail(const char16_t* step);
  void Discard();

  CStr m_target;
  std::filesystem::path m_destination;  // the file replaced: the target, or its link's target
  std::filesystem::path m_temporary;
  std::FILE* m_file = nullptr;
  bool m_good = false;
  bool m_committed = false;
  bool m_flush = false;  // an existing file of the user's is replaced
  CStr m_error;
};

// Copies source over target the same safe way; false leaves target as it was.
bool ReplaceFileSafely(const CStr& source, const CStr& target);
// Moves source, a file of this process's private folder, over target in one step when
// both are on one file system (flushed first when it replaces a file that is no
// scratch file), else copies
// it as ReplaceFileSafely does. target keeps its group and permissions and is written
// through the user's own links as the safe writer does; false leaves target as it was.
bool MoveFileSafely(const CStr& source, const CStr& target);
// Copies the file source to target, replacing a file there in one step and never
// writing through a link; false leaves target as it was.
bool CopyFileSafely(const CStr& source, const CStr& target);

// An existing file moved out of the way under an unguessable hidden name in its folder,
// to be put back or, when the object goes, dropped once what took its place is flushed
// to disk. A file the safe writer would not
// replace (read-only, another user's link, not a regular file) is not moved either.
class CFileSetAside {
public:
  CFileSetAside() = default;
  ~CFileSetAside();
  CFileSetAside(const CFileSetAside&) = delete;
  CFileSetAside& operator=(const CFileSetAside&) = delete;

  // Moves the file at path aside; false with the reason in error.
  bool SetAside(const CStr& path, CStr& error);
  // Puts the file back where it was.
  void Restore();

private:
  std::filesystem::path m_original;
  std::filesystem::path m_aside;
};
// Makes folder when it is missing; true when it is a real folder afterwards (a link
// there is never written into).
bool MakeRealFolder(const CStr& folder);

// Renames a file or folder; false with the system's reason in error.
bool RenamePath(const CStr& from, const CStr& to, CStr& error);
// The whole content of a file; false when it cannot be read.
bool ReadFileBytes(const CStr& path, std::string& bytes);
// Copies everything inside folder from into folder to (created when missing),
// replacing files of the same name. Links are skipped, never followed, and so is from
// itself when it is a link; a failed copy removes everything it created.
bool CopyFolderContents(const CStr& from, const CStr& to);
// Removes a file if it is there; a missing file is not an error.
void RemoveFile(const CStr& path);
