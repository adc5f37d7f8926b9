#include "platform/word/zip/CZipArchive.h"

#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>

#include <algorithm>
#include <set>

#include "platform/com/CComError.h"
#include "platform/word/zip/Prefault.h"

namespace {

[[noreturn]] void Fail(const std::string& what) {
  throw CComError(HRESULT_INVALID_DATA, CStr::FromUtf8(what));
}

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (auto& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// Little-endian fields of a record; reading past its end fails instead of reading on.
class CRecord {
public:
  CRecord(std::string_view bytes, std::uint64_t at, std::uint64_t length) {
    if (at > bytes.size() || length > bytes.size() - at) Fail("the document is not a valid zip archive (truncated)");
    m_data = bytes.substr(static_cast<size_t>(at), static_cast<size_t>(length));
  }
  std::uint64_t Get(size_t at, int width) const {
    std::uint64_t v = 0;
    for (int i = width - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(m_data[at + static_cast<size_t>(i)]);
    return v;
  }
  std::uint32_t U32(size_t at) const { return static_cast<std::uint32_t>(Get(at, 4)); }
  std::uint16_t U16(size_t at) const { return static_cast<std::uint16_t>(Get(at, 2)); }

private:
  std::string_view m_data;
};

constexpr std::uint32_t kEndSignature = 0x06054b50, kEnd64Signature = 0x06064b50, kEnd64Locator = 0x07064b50;
constexpr std::uint32_t kDirectorySignature = 0x02014b50, kLocalSignature = 0x04034b50;
constexpr size_t kEndSize = 22, kDirectorySize = 46, kLocalSize = 30;

struct SDirectory {
  std::uint64_t count, offset, size;
};

// The end of central directory record (and its zip64 form when the plain one overflows).
SDirectory FindDirectory(std::string_view bytes) {
  if (bytes.size() < kEndSize) Fail("the document is not a valid zip archive (too short)");
  const size_t lowest = bytes.size() > kEndSize + 0xFFFF ? bytes.size() - kEndSize - 0xFFFF : 0;
  for (size_t at = bytes.size() - kEndSize + 1; at-- > lowest;) {
    const CRecord end(bytes, at, kEndSize);
    if (end.U32(0) != kEndSignature) continue;
    SDirectory dir{end.U16(10), end.U32(16), end.U32(12)};
    const bool overflow = dir.count == 0xFFFF || dir.offset == 0xFFFFFFFF || dir.size == 0xFFFFFFFF;
    if (overflow && at >= 20 && CRecord(bytes, at - 20, 20).U32(0) == kEnd64Locator) {
      const CRecord end64(bytes, CRecord(bytes, at - 20, 20).Get(8, 8), 56);
      if (end64.U32(0) != kEnd64Signature) Fail("the document is not a valid zip archive (damaged zip64 record)");
      dir = {end64.Get(32, 8), end64.Get(48, 8), end64.Get(40, 8)};
    }
    return dir;
  }
  Fail("the document is not a valid zip archive (no end of central directory)");
}

// Sizes and offset too large for their 32-bit fields live in the zip64 extra field.
void ApplyZip64(SZipMember& m, std::string_view extra) {
  for (size_t at = 0; at + 4 <= extra.size();) {
    const CRecord head(extra, at, 4);
    const size_t length = head.U16(2);
    if (head.U16(0) == 0x0001) {
      const CRecord field(extra, at + 4, length);
      size_t next = 0;
      auto take = [&](std::uint64_t& value) {
        if (value != 0xFFFFFFFF || next + 8 > length) return;
        value = field.Get(next, 8);
        next += 8;
      };
      take(m.size);
      take(m.compressedSize);
      take(m.localHeader);
      return;
    }
    at += 4 + length;
  }
}

}  // namespace

bool CZipArchive::IsSafeName(std::string_view name) {
  if (name.empty() || name.front() == '/' || name.back() == '/') return false;
  if (name.find('\\') != std::string_view::npos || name.find('\0') != std::string_view::npos) return false;
  if (name.size() >= 2 && name[1] == ':') return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('/', start);
    if (end == std::string_view::npos) end = name.size();
    const std::string_view segment = name.substr(start, end - start);
    if (segment.empty() || segment == "." || segment == "..") return false;
    start = end + 1;
  }
  return true;
}

std::shared_ptr<CZipArchive> CZipArchive::Open(std::string_view bytes, std::shared_ptr<const void> owner,
                                               const SZipLimits& limits) {
  std::shared_ptr<CZipArchive> archive(new CZipArchive());
  archive->m_owner = std::move(owner);
  archive->m_bytes = bytes;
  archive->m_limits = limits;
  archive->ReadDirectory();
  return archive;
}

void CZipArchive::ReadDirectory() {
  const SDirectory dir = FindDirectory(m_bytes);
  if (dir.count > m_limits.maxEntries)
    Fail("the document has " + std::to_string(dir.count) + " zip entries, more than the limit of " +
         std::to_string(m_limits.maxEntries));
  const CRecord directory(m_bytes, dir.offset, dir.size);  // fails unless it lies inside the file
  (void)directory;
  std::set<std::string> seen;
  std::uint64_t at = dir.offset;
  for (std::uint64_t i = 0; i < dir.count; ++i) {
    const CRecord head(m_bytes, at, kDirectorySize);
    if (head.U32(0) != kDirectorySignature) Fail("zip entry " + std::to_string(i) + " cannot be read");
    const size_t nameLength = head.U16(28), extraLength = head.U16(30), commentLength = head.U16(32);
    const std::string_view variable = m_bytes.substr(static_cast<size_t>(at) + kDirectorySize);
    if (variable.size() < nameLength + extraLength + commentLength) Fail("zip entry " + std::to_string(i) + " cannot be read");
    SZipMember m{std::string(variable.substr(0, nameLength)), head.U32(24), head.U32(20), head.U32(16),
                 head.U16(10), head.U16(8), head.U32(42)};
    ApplyZip64(m, variable.substr(nameLength, extraLength));
    at += kDirectorySize + nameLength + extraLength + commentLength;
    if (!m.name.empty() && m.name.back() == '/') continue;  // folder entry
    if (!IsSafeName(m.name)) Fail("the zip entry \"" + m.name + "\" has an unsafe name");
    if (!seen.insert(LowerAscii(m.name)).second) Fail("the zip entry \"" + m.name + "\" appears twice");
    m_members.push_back(std::move(m));
  }
}

std::string_view CZipArchive::Raw(std::size_t i) const {
  const SZipMember& m = m_members.at(i);
  const CRecord local(m_bytes, m.localHeader, kLocalSize);
  if (local.U32(0) != kLocalSignature) Fail("the zip entry \"" + m.name + "\" is damaged (no local header)");
  const std::uint64_t data = m.localHeader + kLocalSize + local.U16(26) + local.U16(28);
  if (data > m_bytes.size() || m.compressedSize > m_bytes.size() - data)
    Fail("the zip entry \"" + m.name + "\" is damaged (its data lies past the end of the archive)");
  return m_bytes.substr(static_cast<size_t>(data), static_cast<size_t>(m.compressedSize));
}

std::uint64_t CZipArchive::Room(const SZipMember& m, std::uint64_t compressed, std::string& why) const {
  const std::uint64_t byRatio = std::max(m_limits.ratioGrace, m_limits.maxRatio * compressed);
  const std::uint64_t byTotal = m_limits.maxTotalSize - std::min(m_inflated, m_limits.maxTotalSize);
  const std::uint64_t room = std::min({m_limits.maxEntrySize, byRatio, byTotal});
  if (room == byTotal)
    why = "the zip entries inflate beyond the total limit of " + std::to_string(m_limits.maxTotalSize) + " bytes";
  else if (room == m_limits.maxEntrySize)
    why = "the zip entry \"" + m.name + "\" inflates beyond the limit of " + std::to_string(m_limits.maxEntrySize) + " bytes";
  else
    why = "the zip entry \"" + m.name + "\" inflates more than " + std::to_string(m_limits.maxRatio) +
          " times its compressed size";
  return room;
}

std::string CZipArchive::Inflate(std::size_t i) {
  const SZipMember& m = m_members.at(i);
  if (!m.Plain()) Fail("the zip entry \"" + m.name + "\" is encrypted or uses an unsupported compression method");
  const std::string_view raw = Raw(i);
  std::string why;
  // Nothing may inflate past this; the directory's size is only where to start.
  // The inflater counts in 32 bits, as plain zip members do.
  const std::uint64_t room = std::min<std::uint64_t>(Room(m, std::max<std::uint64_t>(raw.size(), 1), why), 0xFFFFFFFFu);
  std::string data;
  if (m.method == 0) {
    if (raw.size() > room) Fail(why);
    data.assign(raw);
  } else {
    if (raw.size() > 0xFFFFFFFFu) Fail("the zip entry \"" + m.name + "\" is larger than 4 GiB");
    std::uint64_t capacity = std::min(std::max<std::uint64_t>(m.size, 1), room);
    ReservePrefaulted(data, static_cast<size_t>(capacity));
    for (;;) {
      data.resize(static_cast<size_t>(capacity));
      inflate_state inflater;
      isal_inflate_init(&inflater);
      inflater.crc_flag = ISAL_DEFLATE;
      inflater.next_in = reinterpret_cast<std::uint8_t*>(const_cast<char*>(raw.data()));
      inflater.avail_in = static_cast<std::uint32_t>(raw.size());
      inflater.next_out = reinterpret_cast<std::uint8_t*>(data.data());
      inflater.avail_out = static_cast<std::uint32_t>(data.size());
      const int result = isal_inflate_stateless(&inflater);
      if (result == ISAL_DECOMP_OK) {
        data.resize(inflater.total_out);
        break;
      }
      if (result != ISAL_OUT_OVERFLOW) Fail("the zip entry \"" + m.name + "\" is damaged (bad deflate data)");
      if (capacity >= room) Fail(why);
      capacity = std::min(room, std::max<std::uint64_t>(capacity * 2, 64u << 10));
    }
  }
  m_inflated += data.size();
  if (CZipArchive::Crc32(data) != m.crc)
    Fail("the zip entry \"" + m.name + "\" is damaged (checksum mismatch)");
  return data;
}

std::uint32_t CZipArchive::Crc32(std::string_view bytes, std::uint32_t crc) {
  return crc32_gzip_refl(crc, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

std::vector<SZipEntry> CZipArchive::Read(const std::string& bytes, const SZipLimits& limits) {
  auto archive = Open(bytes, nullptr, limits);
  std::vector<SZipEntry> entries;
  for (size_t i = 0; i < archive->Members().size(); ++i)
    entries.push_back({archive->Members()[i].name, archive->Inflate(i)});
  return entries;
}
