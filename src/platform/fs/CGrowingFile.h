#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "folio/util/CStr.h"

// What tells that a file is still the one we left: device, inode, size, and the times
// of the last change to its content and to its inode.
struct SFileStamp {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // nanoseconds
  std::int64_t changed = 0;
  bool operator==(const SFileStamp&) const = default;

  // The stamp of an open file, or of the file at a path (not following a last link).
  static std::optional<SFileStamp> Of(int fd);
  static std::optional<SFileStamp> Of(const CStr& path);
  // The same for a folder: its times change whenever a name in it comes or goes.
  static std::optional<SFileStamp> OfFolder(const CStr& path);
};

// A file that grows at one place, time after time: a report whose passes each insert
// their section before the same closing text (the tail). Beside it lives a hidden twin
// with the same bytes. Inserting writes the section and the tail into the twin, flushes
// it, and swaps the two names in one step, so that the file is at every moment either
// the old one or the new one, whatever kills the process; then the old file, now the
// twin, gets the same bytes. A pass thus costs what it inserts, not what the file holds.
// The twin is removed when the object goes.
class CGrowingFile {
public:
  // After path was written whole, with the tail from byte insertAt on: copies it into a
  // new twin. Null when the twin cannot be made or the file system cannot swap names;
  // the caller then rewrites the whole file each time, as before.
  static std::unique_ptr<CGrowingFile> Start(const CStr& path, std::uint64_t insertAt, std::string tail);
  ~CGrowingFile();
  CGrowingFile(const CGrowingFile&) = delete;
  CGrowingFile& operator=(const CGrowingFile&) = delete;

  const CStr& Path() const { return m_path; }
  // The bytes that follow every insertion.
  const std::string& Tail() const { return m_tail; }
  // Whether the file and its twin are exactly as this object left them; when not, the
  // file must be read and written whole again.
  bool Unchanged() const;
  // Inserts bytes before the tail. False when a step failed: the file is then as it was
  // or, when only bringing the twin up to date failed, as it is meant to be; either way
  // this object can no longer be used.
  bool Insert(std::string_view bytes);

private:
  CGrowingFile(CStr path, CStr twin, std::uint64_t insertAt, std::string tail);
  bool WriteTwin(int fd, std::string_view inserted) const;
  void Restamp(int fileFd, int twinFd);

  CStr m_path;
  CStr m_twin;
  std::uint64_t m_insertAt;
  std::string m_tail;
  SFileStamp m_file;
  SFileStamp m_twinStamp;
  bool m_usable = false;
};
