#pragma once
// What several platform tests need: numbers as bytes in either order, and a look at files.
#include <isa-l/crc.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace platformtest {

// v as width bytes, least significant first.
inline std::string Le(std::uint32_t v, int width) {
  std::string out;
  for (int i = 0; i < width; ++i, v >>= 8) out += static_cast<char>(v & 0xFF);
  return out;
}

// v as width bytes, most significant first.
inline std::string Be(std::uint32_t v, int width) {
  std::string out;
  for (int shift = (width - 1) * 8; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
  return out;
}

// The four bytes at at, least significant first.
inline std::uint32_t Le32At(const std::string& bytes, size_t at) {
  std::uint32_t v = 0;
  for (size_t i = 4; i-- > 0;) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

// The PNG with a pHYs chunk (pixels per metre) after its header chunk.
inline std::string WithPhys(std::string png, std::uint32_t perMetreX, std::uint32_t perMetreY) {
  const std::string body = "pHYs" + Be(perMetreX, 4) + Be(perMetreY, 4) + '\x01';
  const auto crc = crc32_gzip_refl(0, reinterpret_cast<const unsigned char*>(body.data()), body.size());
  return png.insert(8 + 25, Be(9, 4) + body + Be(crc, 4));
}

inline std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline size_t EntriesIn(const std::filesystem::path& folder) {
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// The permission bits of path itself, not of what a link leads to.
inline mode_t ModeOf(const std::filesystem::path& path) {
  struct stat info {};
  ::lstat(path.c_str(), &info);
  return info.st_mode & 07777;
}

}  // namespace platformtest
