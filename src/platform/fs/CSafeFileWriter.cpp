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
#include "platform/fs/FileFaults.h"

namespace fs = std::filesystem;

CSafeFileWriter::CSafeFileWriter(const CStr& target) : m_target(target) {
  const fs::path path = SystemUtils::ToFsPath(target);
  fs::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  // Hidden, in the same folder, so that the final rename never crosses file systems.
  std::string pattern = (folder / ("." + path.filename().string() + ".folio-XXXXXX")).string();
  if (FileFaults::Hit(EFileStep::eCreate)) {
    errno = EIO;
    Fail(u"create");
    return;
  }
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    Fail(u"create");
    return;
  }
  m_temporary = SystemUtils::FromFsPath(pattern);
  // A replaced file keeps its permissions; a new one gets the usual rw-r--r--.
  std::error_code ec;
  const fs::perms existing = fs::status(path, ec).permissions();
  ::fchmod(fd, ec || existing == fs::perms::unknown ? 0644 : static_cast<mode_t>(existing));
  m_file = ::fdopen(fd, "wb");
  if (!m_file) {
    ::close(fd);
    Fail(u"create");
    return;
  }
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
  if (!m_temporary.IsEmpty()) ::unlink(m_temporary.ToUtf8().c_str());
  m_temporary = CStr();
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
  if (flushFault || std::fflush(m_file) != 0 || ::fsync(::fileno(m_file)) != 0) {
    if (flushFault) errno = EIO;
    Fail(u"flush");
    Discard();
    return false;
  }
  std::fclose(m_file);
  m_file = nullptr;
  const bool renameFault = FileFaults::Hit(EFileStep::eRename);
  if (renameFault || std::rename(m_temporary.ToUtf8().c_str(), m_target.ToUtf8().c_str()) != 0) {
    if (renameFault) errno = EACCES;
    Fail(u"rename");
    Discard();
    return false;
  }
  m_temporary = CStr();
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

bool RenamePath(const CStr& from, const CStr& to, CStr& error) {
  std::error_code ec;
  if (FileFaults::Hit(EFileStep::eRename)) ec = std::make_error_code(std::errc::permission_denied);
  else fs::rename(SystemUtils::ToFsPath(from), SystemUtils::ToFsPath(to), ec);
  if (ec) error = CStr::FromUtf8(ec.message());
  return !ec;
}

bool ReadFileBytes(const CStr& path, std::string& bytes) {
  if (FileFaults::Hit(EFileStep::eRead)) return false;
  std::FILE* in = SystemUtils::OpenFile(path, "rb");
  if (!in) return false;
  bytes.clear();
  char buffer[1 << 16];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.append(buffer, n);
  const bool ok = !std::ferror(in);
  std::fclose(in);
  return ok;
}

bool CopyFolderContents(const CStr& from, const CStr& to) {
  if (FileFaults::Hit(EFileStep::eCopy)) return false;
  std::error_code ec;
  fs::create_directories(SystemUtils::ToFsPath(to), ec);
  fs::copy(SystemUtils::ToFsPath(from), SystemUtils::ToFsPath(to),
           fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
  return !ec;
}

void RemoveFile(const CStr& path) {
  std::error_code ec;
  fs::remove(SystemUtils::ToFsPath(path), ec);
}
