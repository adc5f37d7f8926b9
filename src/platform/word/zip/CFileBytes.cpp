#include "platform/word/zip/CFileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/com/CComError.h"
#include "platform/word/zip/Prefault.h"

namespace {

struct SDescriptor {
  int fd;
  ~SDescriptor() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

std::shared_ptr<CFileBytes> CFileBytes::Open(const std::filesystem::path& path) {
  std::optional<std::string> bytes = Read(path);
  if (!bytes) return nullptr;
  std::shared_ptr<CFileBytes> file(new CFileBytes());
  file->m_bytes = std::move(*bytes);
  return file;
}

std::optional<std::string> CFileBytes::Read(const std::filesystem::path& path) {
  // Not blocking, so that a pipe named as a document is refused instead of waited on.
  const SDescriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
  if (file.fd < 0) return std::nullopt;
  struct stat info {};
  if (::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  if (static_cast<std::uint64_t>(info.st_size) > kMaxBytes)
    throw CComError(HRESULT_INVALID_DATA, CStr::FromUtf8("the document \"" + path.string() + "\" is larger than the limit of " +
                                                         std::to_string(kMaxBytes) + " bytes"));
  std::string out;
  ReservePrefaulted(out, static_cast<size_t>(info.st_size) + 1);
  out.resize(static_cast<size_t>(info.st_size));
  // What the file holds when it is read counts, should it have changed since: past the
  // size it had, it is read on in small pieces up to the limit.
  char more[1u << 16];
  std::size_t done = 0;
  for (;;) {
    const bool inSize = done < out.size();
    char* into = inSize ? out.data() + done : more;
    const ssize_t count = ::read(file.fd, into, inSize ? out.size() - done : sizeof more);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return std::nullopt;
    if (count == 0) break;
    if (!inSize) {
      if (out.size() + static_cast<std::size_t>(count) > kMaxBytes) break;
      out.append(more, static_cast<std::size_t>(count));
    }
    done += static_cast<std::size_t>(count);
  }
  out.resize(done);
  return out;
}
