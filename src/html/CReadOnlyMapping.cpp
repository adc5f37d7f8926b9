#include "html/CReadOnlyMapping.h"

#include <sys/mman.h>
#include <sys/stat.h>

CReadOnlyMapping::~CReadOnlyMapping() {
  if (m_data) munmap(m_data, m_size);
}

bool CReadOnlyMapping::GetFileSize(int fileDescriptor, uint64_t& size) {
  struct stat info;
  if (fstat(fileDescriptor, &info) != 0 || info.st_size < 0) return false;
  size = static_cast<uint64_t>(info.st_size);
  return true;
}

bool CReadOnlyMapping::Map(int fileDescriptor, uint64_t size) {
  if (m_data || size == 0 || size > SIZE_MAX) return false;
  void* data = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fileDescriptor, 0);
  if (data == MAP_FAILED) return false;
  m_data = data;
  m_size = size;
  return true;
}
