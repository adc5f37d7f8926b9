#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// A file's bytes read into memory once. A mapping would fault (SIGBUS) when another
// process cuts the file short while it is read, and its bytes could change between
// reading a member and copying it unchanged into a saved document.
class CFileBytes {
public:
  // The largest file read.
  static constexpr std::uint64_t kMaxBytes = std::uint64_t{512} << 20;

  // The bytes, or null when the file cannot be opened or read (or is no regular
  // file); CComError (invalid data) when it is larger than kMaxBytes.
  static std::shared_ptr<CFileBytes> Open(const std::filesystem::path& path);
  // The same bytes as a string; nullopt when the file cannot be opened or read.
  static std::optional<std::string> Read(const std::filesystem::path& path);

  std::string_view Bytes() const { return m_bytes; }

private:
  CFileBytes() = default;
  std::string m_bytes;
};
