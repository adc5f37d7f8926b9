#include "platform/fs/CGrowingFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "folio/util/SystemUtils.h"
#include "platform/fs/CPrivateFolder.h"
#include "platform/fs/FileFaults.h"

namespace {

// Closes a descriptor when it goes.
class CFd {
public:
  explicit CFd(int fd = -1) : m_fd(fd) {}
  ~CFd() {
    if (m_fd >= 0) ::close(m_fd);
  }
  CFd(const CFd&) = delete;
  CFd& operator=(const CFd&) = delete;
  int Get() const { return m_fd; }
  explicit operator bool() const { return m_fd >= 0; }

private:
  int m_fd;
};

std::string Native(const CStr& path) { return SystemUtils::ToFsPath(path).string(); }

SFileStamp StampOf(const struct stat& s) {
  return {static_cast<std::uint64_t>(s.st_dev), static_cast<std::uint64_t>(s.st_ino),
          static_cast<std::uint64_t>(s.st_size), s.st_mtim.tv_sec * 1000000000LL + s.st_mtim.tv_nsec,
          s.st_ctim.tv_sec * 1000000000LL + s.st_ctim.tv_nsec};
}

// The same file, though renaming may have touched its inode's change time.
bool SameFile(const std::optional<SFileStamp>& a, const SFileStamp& b) {
  return a && a->device == b.device && a->inode == b.inode && a->size == b.size;
}

bool WriteAt(int fd, std::string_view bytes, std::uint64_t at) {
  if (FileFaults::Hit(EFileStep::eWrite)) return false;
  while (!bytes.empty()) {
    const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(at));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
    at += static_cast<std::uint64_t>(n);
  }
  return true;
}

bool Flush(int fd) { return !FileFaults::Hit(EFileStep::eFlush) && ::fsync(fd) == 0; }

// Makes the swap of names last through a power cut before the old file is touched.
bool FlushFolder(const std::string& file) {
  std::string folder = std::filesystem::path(file).parent_path().string();
  if (folder.empty()) folder = ".";
  const CFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return fd && Flush(fd.Get());
}

// Both names swap their files in one step; a file system that cannot do it says so.
bool Exchange(const std::string& a, const std::string& b) {
  if (FileFaults::Hit(EFileStep::eRename)) return false;
  return ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0;
}

// The whole content of from into to (both at offset 0), in the kernel where it can.
bool CopyAll(int from, int to, std::uint64_t size) {
  if (FileFaults::Hit(EFileStep::eCopy)) return false;
  loff_t in = 0, out = 0;
  while (static_cast<std::uint64_t>(in) < size) {
    const ssize_t n = ::copy_file_range(from, &in, to, &out, size - static_cast<std::uint64_t>(in), 0);
    if (n < 0 && errno == EINTR) continue;
    if (n > 0) continue;
    if (n == 0) return false;  // the file got shorter
    // No copy in the kernel here: read and write.
    char buffer[1 << 16];
    while (static_cast<std::uint64_t>(in) < size) {
      const ssize_t r = ::pread(from, buffer, sizeof buffer, in);
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0 || !WriteAt(to, std::string_view(buffer, static_cast<size_t>(r)), static_cast<std::uint64_t>(out)))
        return false;
      in += r;
      out += r;
    }
  }
  return true;
}

}  // namespace

std::optional<SFileStamp> SFileStamp::Of(int fd) {
  struct stat s {};
  if (::fstat(fd, &s) != 0 || !S_ISREG(s.st_mode)) return std::nullopt;
  return StampOf(s);
}

std::optional<SFileStamp> SFileStamp::Of(const CStr& path) {
  struct stat s {};
  if (::lstat(Native(path).c_str(), &s) != 0 || !S_ISREG(s.st_mode)) return std::nullopt;
  return StampOf(s);
}

std::optional<SFileStamp> SFileStamp::OfFolder(const CStr& path) {
  struct stat s {};
  if (::lstat(Native(path).c_str(), &s) != 0 || !S_ISDIR(s.st_mode)) return std::nullopt;
  return StampOf(s);
}

bool FileEndsWith(const CStr& path, std::uint64_t at, std::string_view bytes) {
  const CFd fd(::open(Native(path).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  struct stat info {};
  if (!fd || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<std::uint64_t>(info.st_size) != at + bytes.size())
    return false;
  std::string found(bytes.size(), '\0');
  std::size_t done = 0;
  while (done < found.size()) {
    const ssize_t n = ::pread(fd.Get(), found.data() + done, found.size() - done, static_cast<off_t>(at + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return found == bytes;
}

CGrowingFile::CGrowingFile(CStr path, CStr twin)
    : m_path(std::move(path)), m_twin(std::move(twin)), m_scratch(IsScratchPath(SystemUtils::ToFsPath(m_path))) {}

CGrowingFile::~CGrowingFile() {
  if (!m_twin.IsEmpty()) ::unlink(Native(m_twin).c_str());
}

std::unique_ptr<CGrowingFile> CGrowingFile::Start(const CStr& path, const SFileStamp& expected) {
  const std::string native = Native(path);
  const CFd file(::open(native.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
  struct stat info {};
  if (!file || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) || StampOf(info) != expected) return nullptr;

  // Hidden, beside the file: the swap never crosses file systems.
  const std::filesystem::path fsPath(native);
  std::string pattern = (fsPath.parent_path() / ("." + fsPath.filename().string() + ".folio-twin-XXXXXX")).string();
  if (FileFaults::Hit(EFileStep::eCreate)) return nullptr;
  const CFd twin(::mkostemp(pattern.data(), O_CLOEXEC));
  if (!twin) return nullptr;
  std::unique_ptr<CGrowingFile> growing(new CGrowingFile(path, SystemUtils::FromFsPath(pattern)));
  // The twin becomes the file at the next splice, so it must look the same.
  if (::fchown(twin.Get(), static_cast<uid_t>(-1), info.st_gid) != 0) {
    // Not a member of that group: the twin keeps this user's group.
  }
  ::fchmod(twin.Get(), info.st_mode & 0777);
  // Same bytes on both sides: swapping them now changes nothing but proves the file
  // system can swap, before any splice depends on it.
  const bool scratch = growing->m_scratch;
  if (!CopyAll(file.Get(), twin.Get(), expected.size) || !(scratch || Flush(twin.Get())) || !Exchange(pattern, native) ||
      !(scratch || FlushFolder(native)))
    return nullptr;
  growing->Restamp(twin.Get(), file.Get());
  return growing->m_usable ? std::move(growing) : nullptr;
}

void CGrowingFile::Restamp(int fileFd, int twinFd) {
  const std::optional<SFileStamp> file = SFileStamp::Of(fileFd);
  const std::optional<SFileStamp> twin = SFileStamp::Of(twinFd);
  m_usable = file && twin && file->size == twin->size;
  if (m_usable) {
    m_file = *file;
    m_twinStamp = *twin;
  }
}

bool CGrowingFile::Unchanged() const {
  return m_usable && SFileStamp::Of(m_path) == m_file && SFileStamp::Of(m_twin) == m_twinStamp;
}

bool CGrowingFile::Splice(std::uint64_t at, std::string_view bytes) {
  if (!m_usable || at > m_file.size) return false;
  m_usable = false;  // until every step below has worked
  const std::string file = Native(m_path);
  const std::string twin = Native(m_twin);
  const auto write = [&](int fd) {
    return WriteAt(fd, bytes, at) && ::ftruncate(fd, static_cast<off_t>(at + bytes.size())) == 0;
  };
  const CFd next(::open(twin.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
  if (!next || SFileStamp::Of(next.Get()) != m_twinStamp) return false;
  if (!write(next.Get()) || !(m_scratch || Flush(next.Get())) || SFileStamp::Of(m_path) != m_file ||
      !Exchange(twin, file)) {
    // The twin is no longer the file's copy; the object is spent.
    return false;
  }
  // From here on the file holds the new bytes; what follows only readies the twin.
  if (!m_scratch && !FlushFolder(file)) return true;
  const CFd previous(::open(twin.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
  if (!previous || !SameFile(SFileStamp::Of(previous.Get()), m_file) || !write(previous.Get())) return true;
  Restamp(next.Get(), previous.Get());
  return true;
}
