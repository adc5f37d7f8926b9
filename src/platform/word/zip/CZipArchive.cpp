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

// A name fit for a message: control characters, and every byte above ASCII when the
// name is no UTF-8, written as \xNN.
std::string Printable(std::string_view name) {
  const bool utf8 = IsValidUtf8(name);
  std::string out;
  for (const char ch : name.substr(0, 200)) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F || (c >= 0x80 && !utf8)) {
      static const char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += ch;
    }
  }
  return out;
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
constexpr std::uint32_t kDescriptorSignature = 0x08074b50;
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
// (A local header's field holds the sizes only; its offset stays as it was.)
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
  if (name.find('\\') != std::string_view::npos || !IsValidUtf8(name)) return false;
  for (const char c : name)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
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
    if (!IsSafeName(m.name)) Fail("the zip entry \"" + Printable(m.name) + "\" has an unsafe name");
    if (!seen.insert(LowerAscii(m.name)).second) Fail("the zip entry \"" + m.name + "\" appears twice");
    ReadLocalHeader(m);
    if (m.dataOffset + m.compressedSize > dir.offset)
      Fail("the zip entry \"" + m.name + "\" is damaged (its data runs into the central directory)");
    m_members.push_back(std::move(m));
  }
  m_charged.assign(m_members.size(), 0);
  RefuseOverlaps();
  for (const SZipMember& m : m_members)
    if (m.described) CheckDescriptor(m);
}

// The local header repeats what the directory says; a reader that trusted one and a
// writer that copied the other would not agree on what the member is.
void CZipArchive::ReadLocalHeader(SZipMember& m) const {
  const CRecord local(m_bytes, m.localHeader, kLocalSize);
  const auto damaged = [&](const char* why) { Fail("the zip entry \"" + m.name + "\" is damaged (" + why + ")"); };
  if (local.U32(0) != kLocalSignature) damaged("no local header");
  const size_t nameLength = local.U16(26), extraLength = local.U16(28);
  const CRecord variable(m_bytes, m.localHeader + kLocalSize, nameLength + extraLength);
  (void)variable;
  const std::string_view name = m_bytes.substr(static_cast<size_t>(m.localHeader) + kLocalSize, nameLength);
  if (name != m.name) damaged("its local header names another entry");
  if (local.U16(8) != m.method) damaged("its local header names another compression method");
  // With a data descriptor (flag bit 3) the local sizes and CRC may be left zero; what
  // the header says otherwise must still agree.
  m.described = local.U16(6) & 8;
  SZipMember said{m.name, local.U32(22), local.U32(18), local.U32(14), m.method, m.flags, 0};
  ApplyZip64(said, m_bytes.substr(static_cast<size_t>(m.localHeader) + kLocalSize + nameLength, extraLength));
  const auto agree = [&](std::uint64_t local, std::uint64_t central) {
    return local == central || (m.described && local == 0);
  };
  if (!agree(said.crc, m.crc) || !agree(said.size, m.size) || !agree(said.compressedSize, m.compressedSize))
    damaged("its local header and the directory disagree on its size or checksum");
  m.dataOffset = m.localHeader + kLocalSize + nameLength + extraLength;
  if (m.dataOffset > m_bytes.size() || m.compressedSize > m_bytes.size() - m.dataOffset)
    damaged("its data lies past the end of the archive");
}

// Members that share or overlap data would let a small archive inflate to much more.
void CZipArchive::RefuseOverlaps() const {
  std::vector<const SZipMember*> order;
  order.reserve(m_members.size());
  for (const SZipMember& m : m_members) order.push_back(&m);
  std::sort(order.begin(), order.end(), [](const SZipMember* a, const SZipMember* b) { return a->localHeader < b->localHeader; });
  for (size_t k = 1; k < order.size(); ++k)
    if (order[k]->localHeader < order[k - 1]->dataOffset + order[k - 1]->compressedSize)
      Fail("the zip entries \"" + order[k - 1]->name + "\" and \"" + order[k]->name + "\" overlap");
}

// The descriptor after the data repeats the CRC and sizes, in 32 or (zip64) 64 bits,
// with or without its signature; the data's end is within the archive by now.
void CZipArchive::CheckDescriptor(const SZipMember& m) const {
  const std::string_view rest = m_bytes.substr(static_cast<size_t>(m.dataOffset + m.compressedSize));
  const auto says = [&](size_t at, size_t width) {
    if (rest.size() < at + 4 + 2 * width) return false;
    const CRecord d(rest, at, 4 + 2 * width);
    const int w = static_cast<int>(width);
    return d.U32(0) == m.crc && d.Get(4, w) == m.compressedSize && d.Get(4 + width, w) == m.size;
  };
  const bool signature = rest.size() >= 4 && CRecord(rest, 0, 4).U32(0) == kDescriptorSignature;
  if ((signature && (says(4, 4) || says(4, 8))) || says(0, 4) || says(0, 8)) return;
  Fail("the zip entry \"" + m.name + "\" is damaged (its data descriptor and the directory disagree on its size or checksum)");
}

std::string_view CZipArchive::Raw(std::size_t i) const {
  const SZipMember& m = m_members.at(i);
  return m_bytes.substr(static_cast<size_t>(m.dataOffset), static_cast<size_t>(m.compressedSize));
}

std::uint64_t CZipArchive::Room(std::size_t i, std::uint64_t compressed, std::string& why) const {
  const SZipMember& m = m_members[i];
  const std::uint64_t byRatio = std::max(m_limits.ratioGrace, m_limits.maxRatio * compressed);
  const std::uint64_t others = m_inflated - m_charged[i];
  const std::uint64_t byTotal = m_limits.maxTotalSize - std::min(others, m_limits.maxTotalSize);
  // The inflater counts in 32 bits, as plain zip members do.
  const std::uint64_t room = std::min({m_limits.maxEntrySize, byRatio, byTotal, std::uint64_t{0xFFFFFFFFu}});
  if (room == byTotal)
    why = "the zip entries inflate beyond the total limit of " + std::to_string(m_limits.maxTotalSize) + " bytes";
  else if (room == m_limits.maxEntrySize)
    why = "the zip entry \"" + m.name + "\" inflates beyond the limit of " + std::to_string(m_limits.maxEntrySize) + " bytes";
  else if (room == byRatio)
    why = "the zip entry \"" + m.name + "\" inflates more than " + std::to_string(m_limits.maxRatio) +
          " times its compressed size";
  else
    why = "the zip entry \"" + m.name + "\" is larger than 4 GiB";
  return room;
}

namespace {

// A member must inflate to the size its directory entry declares; more is found as soon
// as it is passed, before the rest is inflated.
void CheckSize(const SZipMember& m, std::uint64_t inflated, bool finished) {
  if (finished ? inflated == m.size : inflated <= m.size) return;
  const std::string declared = std::to_string(m.size);
  Fail("the zip entry \"" + m.name + "\" is damaged (it inflates to " +
       (finished ? std::to_string(inflated) + " bytes, not the " + declared : "more than the " + declared + " bytes") +
       " its directory declares)");
}

// Inflates raw deflate data piece by piece into the buffer that grow gives, which
// returns false when it may grow no further; false for damaged data.
template <typename Grow>
bool InflateInto(std::string_view raw, std::string& out, size_t& produced, Grow grow) {
  inflate_state inflater;
  isal_inflate_init(&inflater);
  inflater.crc_flag = ISAL_DEFLATE;
  inflater.next_in = reinterpret_cast<std::uint8_t*>(const_cast<char*>(raw.data()));
  inflater.avail_in = static_cast<std::uint32_t>(raw.size());
  produced = 0;
  for (;;) {
    inflater.next_out = reinterpret_cast<std::uint8_t*>(out.data()) + produced;
    inflater.avail_out = static_cast<std::uint32_t>(out.size() - produced);
    const int result = isal_inflate(&inflater);
    produced = out.size() - inflater.avail_out;
    if (result != ISAL_DECOMP_OK) return false;
    if (inflater.block_state == ISAL_BLOCK_FINISH) return true;
    if (inflater.avail_out > 0) return false;  // the input ran out before the stream's end
    grow(out, produced);
  }
}

}  // namespace

std::string CZipArchive::Inflate(std::size_t i) {
  const SZipMember& m = m_members.at(i);
  if (!m.Plain()) Fail("the zip entry \"" + m.name + "\" is encrypted or uses an unsupported compression method");
  const std::string_view raw = Raw(i);
  std::string why;
  // Nothing may inflate past this, whatever the directory declares.
  const std::uint64_t room = Room(i, std::max<std::uint64_t>(raw.size(), 1), why);
  std::string data;
  if (m.method == 0) {
    if (raw.size() > room) Fail(why);
    CheckSize(m, raw.size(), true);
    data.assign(raw);
  } else {
    if (raw.size() > 0xFFFFFFFFu) Fail("the zip entry \"" + m.name + "\" is larger than 4 GiB");
    // One byte past the declared size lets an honest member finish in the first buffer,
    // and a dishonest one show itself without inflating further.
    const std::uint64_t past = std::min(m.size, room) + 1;
    const std::uint64_t guess = std::min<std::uint64_t>({past, room, raw.size() * 8 + (64u << 10)});
    ReservePrefaulted(data, static_cast<size_t>(guess));
    data.resize(static_cast<size_t>(guess));
    size_t produced = 0;
    const bool complete = InflateInto(raw, data, produced, [&](std::string& out, size_t full) {
      CheckSize(m, full, false);
      if (out.size() >= room) Fail(why);
      out.resize(static_cast<size_t>(
          std::min<std::uint64_t>({room, std::max<std::uint64_t>(out.size() * 2, 64u << 10), past})));
    });
    if (!complete) Fail("the zip entry \"" + m.name + "\" is damaged (bad deflate data)");
    data.resize(produced);
    if (data.capacity() - data.size() > data.size() / 8 + 4096) data.shrink_to_fit();
    CheckSize(m, produced, true);
  }
  m_inflated += std::max<std::uint64_t>(data.capacity(), m_charged[i]) - m_charged[i];
  m_charged[i] = std::max<std::uint64_t>(data.capacity(), m_charged[i]);
  if (CZipArchive::Crc32(data) != m.crc)
    Fail("the zip entry \"" + m.name + "\" is damaged (checksum mismatch)");
  return data;
}

std::string_view CZipArchive::Verified(std::size_t i) const {
  const SZipMember& m = m_members.at(i);
  const std::string_view raw = Raw(i);
  if (!m.Plain()) return raw;  // copied as it is; nothing here can read it
  std::uint32_t crc = 0;
  if (m.method == 0) {
    CheckSize(m, raw.size(), true);
    crc = Crc32(raw);
  } else {
    // Bounded by the entry limit and, over the archive, by a multiple of the total:
    // a picture that compresses far is still copied, an archive of bombs is not.
    const std::uint64_t budget = 4 * m_limits.maxTotalSize;
    const auto limit = [&](std::uint64_t inflated) {
      CheckSize(m, inflated, false);
      if (inflated > m_limits.maxEntrySize)
        Fail("the zip entry \"" + m.name + "\" inflates beyond the limit of " + std::to_string(m_limits.maxEntrySize) +
             " bytes");
      if (m_verified + inflated > budget)
        Fail("the zip entries inflate beyond the total limit of " + std::to_string(budget) + " bytes");
    };
    // Sized by what the directory claims, within bounds: a lie only costs more rounds.
    std::string buffer(static_cast<std::size_t>(std::clamp<std::uint64_t>(m.size + 1, 4u << 10, 256u << 10)), '\0');
    std::uint64_t inflated = 0;
    size_t produced = 0;
    const bool complete = InflateInto(raw, buffer, produced, [&](std::string& out, size_t full) {
      crc = Crc32(std::string_view(out).substr(0, full), crc);
      inflated += full;
      limit(inflated);
      produced = 0;
    });
    if (!complete) Fail("the zip entry \"" + m.name + "\" is damaged (bad deflate data)");
    crc = Crc32(std::string_view(buffer).substr(0, produced), crc);
    inflated += produced;
    limit(inflated);
    CheckSize(m, inflated, true);
    m_verified += inflated;
  }
  if (crc != m.crc) Fail("the zip entry \"" + m.name + "\" is damaged (checksum mismatch)");
  return raw;
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
