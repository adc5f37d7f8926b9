#pragma once
#include <filesystem>
#include <memory>
#include <string_view>

// A file's bytes mapped read-only: pages are read when touched, and nothing is copied.
// Replacing the file by renaming (as every save here does) leaves the mapping intact.
class CMappedFile {
public:
  // The mapping, or null when the file cannot be opened or mapped (an empty file maps
  // to no bytes).
  static std::shared_ptr<CMappedFile> Open(const std::filesystem::path& path);
  ~CMappedFile();
  CMappedFile(const CMappedFile&) = delete;
  CMappedFile& operator=(const CMappedFile&) = delete;

  std::string_view Bytes() const { return {static_cast<const char*>(m_data), m_size}; }

private:
  CMappedFile() = default;
  void* m_data = nullptr;
  std::size_t m_size = 0;
};
