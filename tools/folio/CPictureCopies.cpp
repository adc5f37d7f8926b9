#include "CPictureCopies.h"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace FolioCli {
namespace {

struct SDescriptor {
  int fd;
  ~SDescriptor() {
    if (fd >= 0) ::close(fd);
  }
};

// Copies the opened file's bytes to a new file at to.
bool CopyBytes(int from, std::size_t size, const std::filesystem::path& to) {
  const SDescriptor out{::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600)};
  if (out.fd < 0) return false;
  off_t offset = 0;
  while (static_cast<std::size_t>(offset) < size) {
    const ssize_t sent = ::sendfile(out.fd, from, &offset, size - static_cast<std::size_t>(offset));
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) {
      ::unlink(to.c_str());
      return false;
    }
  }
  return true;
}

}  // namespace

CPictureCopies::~CPictureCopies() {
  std::error_code ec;
  if (!m_folder.empty()) std::filesystem::remove_all(m_folder, ec);
}

bool CPictureCopies::MakeFolder() {
  if (!m_folder.empty()) return true;
  std::error_code ec;
  std::string pattern = (std::filesystem::temp_directory_path(ec) / "folio-pictures-XXXXXX").string();
  if (ec || !mkdtemp(pattern.data())) return false;
  m_folder = pattern;
  return true;
}

std::optional<std::filesystem::path> CPictureCopies::Copy(const std::filesystem::path& original) {
  if (!MakeFolder()) return std::nullopt;
  // Opened once and never through a link: the file handed on is the one opened here.
  const SDescriptor in{::open(original.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)};
  struct stat info {};
  if (in.fd < 0 || ::fstat(in.fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  const std::filesystem::path copy =
      m_folder / ("picture" + std::to_string(m_count++) + original.extension().string());
  // A second name for that very file costs no copying, and removing it leaves the
  // user's name alone; where none can be made (another file system, a file of someone
  // else's), the bytes are copied.
  const std::string opened = "/proc/self/fd/" + std::to_string(in.fd);
  if (::linkat(AT_FDCWD, opened.c_str(), AT_FDCWD, copy.c_str(), AT_SYMLINK_FOLLOW) == 0) return copy;
  if (!CopyBytes(in.fd, static_cast<std::size_t>(info.st_size), copy)) return std::nullopt;
  return copy;
}

}  // namespace FolioCli
