#include "platform/word/zip/Prefault.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23  // Linux 5.14; older kernels answer EINVAL, which is harmless
#endif

void ReservePrefaulted(std::string& s, std::size_t n, std::size_t expected) {
  s.reserve(n);
  n = std::min(n, expected);
  // Below this the allocator hands out pages the process has mostly touched already.
  constexpr std::size_t kWorthIt = 256u << 10;
  if (n < kWorthIt) return;
  static const std::uintptr_t page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<std::uintptr_t>(s.data());
  const std::uintptr_t first = (begin + page - 1) & ~(page - 1);
  const std::uintptr_t last = (begin + n) & ~(page - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
}
