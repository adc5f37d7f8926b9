#include "html/OpenFileText.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace OpenFileText {

bool GetSize(int fileDescriptor, uint64_t& size) {
  struct stat info;
  if (fstat(fileDescriptor, &info) != 0 || info.st_size < 0) return false;
  size = static_cast<uint64_t>(info.st_size);
  return true;
}

int64_t ReadAt(int fileDescriptor, uint64_t offset, void* buffer, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t count = pread(fileDescriptor, static_cast<char*>(buffer) + done, size - done,
                                static_cast<off_t>(offset + done));
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return -1;
    if (count == 0) break;
    done += static_cast<size_t>(count);
  }
  return static_cast<int64_t>(done);
}

}  // namespace OpenFileText
