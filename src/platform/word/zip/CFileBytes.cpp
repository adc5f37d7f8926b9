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
  const SDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.fd < 0) return nullptr;
  struct stat info {};
  if (::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
  if (static_cast<std::uint64_t>(info.st_size) > kMaxBytes)
    throw CComError(HRESULT_INVALID_DATA, CStr::FromUtf8("the document \"" + path.string() + "\" is larger than the limit of " +
                                                         std::to_string(kMaxBytes) + " bytes"));
  std::shared_ptr<CFileBytes> bytes(new CFileBytes());
  std::string& out = bytes->m_bytes;
  // What the file holds when it is read counts, should it have changed since.
  ReservePrefaulted(out, static_cast<size_t>(info.st_size) + 1);
  out.resize(static_cast<size_t>(info.st_size));
  size_t done = 0;
  for (;;) {
    if (done == out.size()) {
      if (out.size() >= kMaxBytes) break;
      out.resize(std::min<size_t>(out.size() + (1u << 20), kMaxBytes));
    }
    const ssize_t count = ::read(file.fd, out.data() + done, out.size() - done);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return nullptr;
    if (count == 0) break;
    done += static_cast<size_t>(count);
  }
  out.resize(done);
  return bytes;
}
