#include "platform/fs/CSafeFileWriter.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "folio/util/SystemUtils.h"
#include "platform/fs/CPrivateFolder.h"
#include "platform/fs/FileFaults.h"
#include "util/FileSafety.h"

namespace fs = std::filesystem;

namespace {

// Only a file that replaces one of the user's waits for the disk: the rename is atomic,
// so a crash leaves the old file or the new one, and the new one must then be whole.
// A new file has nothing to lose, and a scratch file lost in a crash costs nothing.
bool NeedsFlush(const FileSafety::SWriteTarget& target) { return target.exists && !IsScratchPath(target.path); }

bool FlushFile(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  const bool flushed = ::fsync(fd) == 0;
  ::close(fd);
  return flushed;
}

}  // namespace

CSafeFileWriter::CSafeFileWriter(const CStr& target) : m_target(target) {
  if (FileFaults::Hit(EFileStep::eCreate)) {
    errno = EIO;
    Fail(u"create");
    return;
  }
  // Through the user's own links to the file they name; a read-only report, or a link
  // someone else planted, is refused rather than replaced.
  const FileSafety::SWriteTarget resolved = FileSafety::ResolveWriteTarget(SystemUtils::ToFsPath(target));
  if (!resolved.refusal.empty()) {
    m_error = CStr::DoStringFormat(u"cannot write \"%s\": %s", m_target, CStr::FromUtf8(resolved.refusal));
    return;
  }
  m_destination = resolved.path;
  m_flush = NeedsFlush(resolved);
  fs::path folder = m_destination.parent_path();
  if (folder.empty()) folder = ".";
  // Hidden, in the same folder, so that the final rename never crosses file systems.
  // A new file gets what the umask allows, as any program's new file would.
  const int fd = FileSafety::CreateExclusiveFile(folder, "." + m_destination.filename().string() + ".folio-",
                                                 resolved.exists ? 0600 : 0666, m_temporary);
  if (fd < 0) {
    Fail(u"create");
    return;
  }
  if (resolved.exists) {
    // A replaced file keeps its group and permissions, less set-user and set-group id.
    if (::fchown(fd, static_cast<uid_t>(-1), resolved.info.st_gid) != 0) {
      // Not a member of that group: the file keeps this user's group.
    }
    ::fchmod(fd, resolved.info.st_mode & 0777);
  }
  m_file = ::fdopen(fd, "wb");
  if (!m_file) {
    ::close(fd);
    Fail(u"create");
    return;
  }
  // Documents arrive in many small pieces; fewer, larger writes.
  std::setvbuf(m_file, nullptr, _IOFBF, 256u << 10);
  m_good = true;
}

CSafeFileWriter::~CSafeFileWriter() {
  if (!m_committed) Discard();
}

void CSafeFileWriter::Fail(const char16_t* step) {
  m_error = CStr::DoStringFormat(u"cannot %s a temporary file for \"%s\": %s", CStr(step), m_target,
                                 CStr::FromUtf8(std::strerror(errno)));
  m_good = false;
}

void CSafeFileWriter::Discard() {
  if (m_file) std::fclose(m_file);
  m_file = nullptr;
  if (!m_temporary.empty()) ::unlink(m_temporary.c_str());
  m_temporary.clear();
}

bool CSafeFileWriter::Write(std::string_view bytes) {
  if (!m_good) return false;
  if (FileFaults::Hit(EFileStep::eWrite)) {
    errno = ENOSPC;
    Fail(u"write");
    return false;
  }
  if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) Fail(u"write");
  return m_good;
}

bool CSafeFileWriter::Commit() {
  if (!m_good) {
    Discard();
    return false;
  }
  const bool flushFault = FileFaults::Hit(EFileStep::eFlush);
  if (flushFault || std::fflush(m_file) != 0 || (m_flush && ::fsync(::fileno(m_file)) != 0)) {
    if (flushFault) errno = EIO;
    Fail(u"flush");
    Discard();
    return false;
  }
  std::fclose(m_file);
  m_file = nullptr;
  const bool renameFault = FileFaults::Hit(EFileStep::eRename);
  if (renameFault || std::rename(m_temporary.c_str(), m_destination.c_str()) != 0) {
    if (renameFault) errno = EACCES;
    Fail(u"rename");
    Discard();
    return false;
  }
  m_temporary.clear();
  m_committed = true;
  return true;
}

bool ReplaceFileSafely(const CStr& source, const CStr& target) {
  std::FILE* in = SystemUtils::OpenFile(source, "rb");
  if (!in) return false;
  CSafeFileWriter writer(target);
  char buffer[1 << 16];
  size_t n;
  while (writer.Good() && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0) writer.Write({buffer, n});
  const bool readOk = !std::ferror(in);
  std::fclose(in);
  return readOk && writer.Commit();
}

bool MoveFileSafely(const CStr& source, const CStr& target) {
  const fs::path from = SystemUtils::ToFsPath(source);
  if (!IsScratchPath(from)) return ReplaceFileSafely(source, target);
  const FileSafety::SWriteTarget resolved = FileSafety::ResolveWriteTarget(SystemUtils::ToFsPath(target));
  if (!resolved.refusal.empty()) return false;
  const int fd = ::open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (ok && resolved.exists) {
    // What the safe writer keeps of a replaced file.
    if (::fchown(fd, static_cast<uid_t>(-1), resolved.info.st_gid) != 0) {
      // Not a member of that group: the file keeps this user's group.
    }
    ::fchmod(fd, resolved.info.st_mode & 0777);
  }
  const bool flushFault = FileFaults::Hit(EFileStep::eFlush);
  ok = ok && !flushFault && (!NeedsFlush(resolved) || ::fsync(fd) == 0);
  ::close(fd);
  if (!ok) return false;
  if (FileFaults::Hit(EFileStep::eRename)) return false;
  if (std::rename(from.c_str(), resolved.path.c_str()) == 0) return true;
  return errno == EXDEV && ReplaceFileSafely(source, target);
}

bool CopyFileSafely(const CStr& source, const CStr& target) {
  return FileSafety::CopyTree(SystemUtils::ToFsPath(source), SystemUtils::ToFsPath(target), true,
                              [] { return FileFaults::Hit(EFileStep::eCopy); });
}

CFileSetAside::~CFileSetAside() {
  if (m_aside.empty()) return;
  // The old file goes only once its successor is on the disk.
  FlushFile(m_original);
  ::unlink(m_aside.c_str());
}

bool CFileSetAside::SetAside(const CStr& path, CStr& error) {
  const FileSafety::SWriteTarget target = FileSafety::ResolveWriteTarget(SystemUtils::ToFsPath(path));
  if (!target.refusal.empty() || !target.exists) {
    error = CStr::FromUtf8(target.exists ? target.refusal : std::strerror(ENOENT));
    return false;
  }
  // A new name reserved exclusively, then taken over by the rename.
  fs::path folder = target.path.parent_path();
  if (folder.empty()) folder = ".";
  fs::path aside;
  const int fd = FileSafety::CreateExclusiveFile(folder, "." + target.path.filename().string() + ".folio-old-", 0600, aside);
  if (fd >= 0) ::close(fd);
  CStr reason;
  if (fd < 0 || !RenamePath(SystemUtils::FromFsPath(target.path), SystemUtils::FromFsPath(aside), reason)) {
    error = fd < 0 ? CStr::FromUtf8(std::strerror(errno)) : reason;
    if (fd >= 0) ::unlink(aside.c_str());
    return false;
  }
  m_original = target.path;
  m_aside = aside;
  return true;
}

void CFileSetAside::Restore() {
  if (m_aside.empty()) return;
  if (std::rename(m_aside.c_str(), m_original.c_str()) == 0) m_aside.clear();
}

bool MakeRealFolder(const CStr& folder) {
  fs::path path = SystemUtils::ToFsPath(folder);
  if (!path.has_filename()) path = path.parent_path();  // "x/" would look through a link
  if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) return false;
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool RenamePath(const CStr& from, const CStr& to, CStr& error) {
  std::error_code ec;
  if (FileFaults::Hit(EFileStep::eRename)) ec = std::make_error_code(std::errc::permission_denied);
  else fs::rename(SystemUtils::ToFsPath(from), SystemUtils::ToFsPath(to), ec);
  if (ec) error = CStr::FromUtf8(ec.message());
  return !ec;
}

bool ReadFileBytes(const CStr& path, std::string& bytes) {
  if (FileFaults::Hit(EFileStep::eRead)) return false;
  // Not blocking, so that a pipe named as a file is refused instead of waited on.
  const int fd = ::open(SystemUtils::ToFsPath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  bytes.clear();
  if (ok) bytes.reserve(static_cast<size_t>(info.st_size));
  char buffer[1 << 16];
  while (ok) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return ok;
}

bool CopyFolderContents(const CStr& from, const CStr& to) {
  return FileSafety::CopyTree(SystemUtils::ToFsPath(from), SystemUtils::ToFsPath(to), false,
                              [] { return FileFaults::Hit(EFileStep::eCopy); });
}

void RemoveFile(const CStr& path) {
  std::error_code ec;
  fs::remove(SystemUtils::ToFsPath(path), ec);
}
