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

// Whether the file at path holds bytes at offset at, as its last bytes. Times on disk
// move in coarse steps, so a stamp alone can miss a quick edit of the same size.
bool FileEndsWith(const CStr& path, std::uint64_t at, std::string_view bytes);

// A file whose end is rewritten time after time: a report whose passes each replace its
// text from the body end on with a new section and closing text. Beside it lives a
// hidden twin with the same bytes. Splicing writes the new end into the twin, flushes
// it, and swaps the two names in one step, so that the file is at every moment either
// the old one or the new one, whatever kills the process; then the old file, now the
// twin, gets the same bytes. A splice thus costs what it writes, not what the file holds.
// The twin is removed when the object goes.
class CGrowingFile {
public:
  // Copies the file at path, when it is still the one expected, into a new twin. Null
  // when it is not, when the twin cannot be made or when the file system cannot swap
  // names; the caller then rewrites the whole file, as before.
  static std::unique_ptr<CGrowingFile> Start(const CStr& path, const SFileStamp& expected);
  ~CGrowingFile();
  CGrowingFile(const CGrowingFile&) = delete;
  CGrowingFile& operator=(const CGrowingFile&) = delete;

  const CStr& Path() const { return m_path; }
  // Whether the file and its twin are exactly as this object left them; when not, the
  // file must be read and written whole again.
  bool Unchanged() const;
  // Makes the file its first at bytes followed by bytes. False when a step failed and the
  // file is as it was; true when the file holds the new bytes, though a failure in
  // bringing the twin up to date may have spent the object (Unchanged is then false).
  bool Splice(std::uint64_t at, std::string_view bytes);

private:
  CGrowingFile(CStr path, CStr twin);
  void Restamp(int fileFd, int twinFd);

  CStr m_path;
  CStr m_twin;
  SFileStamp m_file;
  SFileStamp m_twinStamp;
  bool m_usable = false;
  bool m_scratch = false;  // in a private folder: a crash loses nothing, so nothing waits for the disk
};
