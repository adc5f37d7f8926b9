// Builds zip archives whose headers may lie: declared sizes, CRCs, names and offsets
// set apart from the data, so that tests, fuzzing and benchmarks can aim at the
// reader's checks rather than at the signatures in front of them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/word/zip/CZipArchive.h"
#include "platform/word/zip/CZipWriter.h"

struct SHostileMember {
  std::string name;
  std::string data;
  bool deflate = true;
  // What the central directory says, where it differs from the truth.
  std::int64_t centralSizeDelta = 0;        // added to the inflated size
  std::int64_t centralCompressedDelta = 0;  // added to the compressed size
  std::uint32_t crcXor = 0;
  std::string localName;                    // the local header's name when not empty
  std::int64_t localSizeDelta = 0;          // added to the local header's sizes
  bool dataDescriptor = false;              // flag bit 3: local sizes and CRC left 0 (unless localSizeDelta)
  std::int64_t descriptorSizeDelta = 0;     // added to the sizes the descriptor repeats
  bool descriptorSignature = true;          // older writers leave it out
  int sharesDataOf = -1;                    // point at an earlier member's local header
  std::int64_t offsetDelta = 0;             // added to the local header offset
};

struct SHostileZip {
  std::vector<SHostileMember> members;
  int extraCentralCopies = 0;  // the last central entry repeated under new names
  std::int64_t countDelta = 0;  // added to the end record's entry count
};

namespace HostileZip {

inline SHostileMember Member(std::string name, std::string data) {
  SHostileMember m;
  m.name = std::move(name);
  m.data = std::move(data);
  return m;
}

inline void Put(std::string& out, std::uint64_t value, int width) {
  for (int i = 0; i < width; ++i, value >>= 8) out.push_back(static_cast<char>(value & 0xFF));
}

inline std::string Build(const SHostileZip& zip) {
  std::string out, central;
  std::vector<std::uint64_t> offsets;
  std::size_t entries = 0;
  std::size_t lastEntry = 0;  // where the last central entry starts: names may hold its signature too
  auto centralEntry = [&](const SHostileMember& m, const std::string& name, std::uint64_t offset,
                          std::uint32_t crc, std::uint64_t compressed, std::uint16_t method) {
    lastEntry = central.size();
    Put(central, 0x02014b50, 4);
    Put(central, 20, 2);
    Put(central, 20, 2);
    Put(central, m.dataDescriptor ? 8 : 0, 2);
    Put(central, method, 2);
    Put(central, 0, 4);
    Put(central, crc ^ m.crcXor, 4);
    Put(central, static_cast<std::uint32_t>(compressed + m.centralCompressedDelta), 4);
    Put(central, static_cast<std::uint32_t>(m.data.size() + m.centralSizeDelta), 4);
    Put(central, name.size(), 2);
    Put(central, 0, 2);
    Put(central, 0, 2);
    Put(central, 0, 2);
    Put(central, 0, 2);
    Put(central, 0, 4);
    Put(central, static_cast<std::uint32_t>(offset + m.offsetDelta), 4);
    central += name;
    ++entries;
  };
  for (const SHostileMember& m : zip.members) {
    std::string stored;
    std::uint32_t crc = CZipArchive::Crc32(m.data);
    if (m.deflate) CZipWriter::Deflate(m.data, stored, crc);
    else stored = m.data;
    const std::uint16_t method = m.deflate ? 8 : 0;
    std::uint64_t offset = out.size();
    if (m.sharesDataOf >= 0 && static_cast<std::size_t>(m.sharesDataOf) < offsets.size()) {
      offset = offsets[static_cast<std::size_t>(m.sharesDataOf)];
    } else {
      const std::string& name = m.localName.empty() ? m.name : m.localName;
      const bool zero = m.dataDescriptor && m.localSizeDelta == 0;
      Put(out, 0x04034b50, 4);
      Put(out, 20, 2);
      Put(out, m.dataDescriptor ? 8 : 0, 2);
      Put(out, method, 2);
      Put(out, 0, 4);
      Put(out, zero ? 0 : crc, 4);
      Put(out, zero ? 0 : static_cast<std::uint32_t>(stored.size() + m.localSizeDelta), 4);
      Put(out, zero ? 0 : static_cast<std::uint32_t>(m.data.size() + m.localSizeDelta), 4);
      Put(out, name.size(), 2);
      Put(out, 0, 2);
      out += name;
      out += stored;
      if (m.dataDescriptor) {  // repeats what the directory says, lies included
        if (m.descriptorSignature) Put(out, 0x08074b50, 4);
        Put(out, crc ^ m.crcXor, 4);
        Put(out, static_cast<std::uint32_t>(stored.size() + m.centralCompressedDelta + m.descriptorSizeDelta), 4);
        Put(out, static_cast<std::uint32_t>(m.data.size() + m.centralSizeDelta + m.descriptorSizeDelta), 4);
      }
    }
    offsets.push_back(offset);
    centralEntry(m, m.name, offset, crc, stored.size(), method);
  }
  if (!zip.members.empty()) {
    const SHostileMember& last = zip.members.back();
    for (int copy = 0; copy < zip.extraCentralCopies; ++copy) {
      // The same data under another name, as a second central entry for one member.
      std::string again = central.substr(lastEntry, 46);
      again += last.name + "." + std::to_string(copy);
      again[28] = static_cast<char>(again.size() - 46);
      again[29] = 0;
      central += again;
      ++entries;
    }
  }
  const std::uint64_t directory = out.size();
  out += central;
  Put(out, 0x06054b50, 4);
  Put(out, 0, 2);
  Put(out, 0, 2);
  const std::uint64_t count = static_cast<std::uint64_t>(static_cast<std::int64_t>(entries) + zip.countDelta);
  Put(out, count & 0xFFFF, 2);
  Put(out, count & 0xFFFF, 2);
  Put(out, central.size(), 4);
  Put(out, directory, 4);
  Put(out, 0, 2);
  return out;
}

}  // namespace HostileZip
