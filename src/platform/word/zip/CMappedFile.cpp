#include "platform/word/zip/CMappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

std::shared_ptr<CMappedFile> CMappedFile::Open(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info {};
  std::shared_ptr<CMappedFile> file(new CMappedFile());
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  file->m_size = static_cast<std::size_t>(info.st_size);
  if (file->m_size > 0) {
    void* data = ::mmap(nullptr, file->m_size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (data == MAP_FAILED) {
      ::close(fd);
      return nullptr;
    }
    file->m_data = data;
  }
  ::close(fd);
  return file;
}

CMappedFile::~CMappedFile() {
  if (m_data) ::munmap(m_data, m_size);
}
