#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CZipArchive;

// One member to write: its bytes (which stay where they are), or member copyMember of
// an open archive, whose compressed bytes are copied without inflating them, or bytes
// deflated already (data is then the deflated form of size bytes with that crc).
struct SZipSource {
  std::string_view name;
  std::string_view data;
  CZipArchive* copyFrom = nullptr;
  std::size_t copyMember = 0;
  bool deflated = false;
  std::uint32_t crc = 0;
  std::uint64_t size = 0;
};

// Deflates bytes given piece by piece at the writer's level, so that a part can be
// serialised straight into it without its whole text ever being held.
class CDeflater {
public:
  CDeflater();
  ~CDeflater();
  CDeflater(const CDeflater&) = delete;
  CDeflater& operator=(const CDeflater&) = delete;

  void Add(std::string_view bytes);
  // The raw deflate stream of all that was added, its CRC and its inflated size.
  void Finish(std::string& out, std::uint32_t& crc, std::uint64_t& size);

private:
  struct SState;
  void Feed(std::string_view bytes, bool last);
  std::unique_ptr<SState> m_state;
};

// Writes zip archives deterministically: members in the given order, fixed time stamps,
// media stored and everything else deflated at the fastest level (documents are saved
// often and XML still shrinks well); copied members keep their compression.
class CZipWriter {
public:
  // The archive bytes; CComError when a member is too large for a plain zip.
  static std::string ToBytes(const std::vector<SZipSource>& entries);
  // The same archive written to path by the safe writer, so a failed save leaves the
  // old file; CComError naming the file and the reason.
  static void ToFile(const std::string& path, const std::vector<SZipSource>& entries);
  // Raw deflate of bytes at the writer's level into out, with the bytes' CRC.
  static void Deflate(std::string_view bytes, std::string& out, std::uint32_t& crc);
};
