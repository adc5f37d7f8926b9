#pragma once
#include <cstddef>
#include <cstdint>

// A read-only mapping of a whole open file: the one place where the HTML reader
// meets the operating system (a file mapping and a view on Windows, mmap here).
class CReadOnlyMapping {
public:
  CReadOnlyMapping() = default;
  CReadOnlyMapping(const CReadOnlyMapping&) = delete;
  CReadOnlyMapping& operator=(const CReadOnlyMapping&) = delete;
  ~CReadOnlyMapping();

  // Size of the open file in bytes; false when the platform cannot tell.
  static bool GetFileSize(int fileDescriptor, uint64_t& size);
  // Maps size bytes of the file from its start; false when that fails.
  bool Map(int fileDescriptor, uint64_t size);
  const unsigned char* GetData() const { return static_cast<const unsigned char*>(m_data); }
  uint64_t GetSize() const { return m_size; }

private:
  void* m_data = nullptr;
  uint64_t m_size = 0;
};
