#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "folio/util/CStr.h"

// Bounds on what reading an untrusted archive may cost.
// The total counts the memory the inflated members take, each member once at most.
struct SZipLimits {
  std::size_t maxEntries = 5000;
  std::uint64_t maxEntrySize = 64ull << 20;
  std::uint64_t maxTotalSize = 160ull << 20;
  // Past the first ratioGrace bytes of an entry, inflated / compressed may not exceed this.
  std::uint64_t maxRatio = 100;
  std::uint64_t ratioGrace = 100 << 10;
};

// One member, name as stored (no leading slash).
struct SZipEntry {
  std::string name;
  std::string data;
};

// One file member of an archive, as its central directory describes it.
struct SZipMember {
  std::string name;
  // As the directory says: hints only, never trusted for allocation.
  std::uint64_t size = 0;
  std::uint64_t compressedSize = 0;
  std::uint32_t crc = 0;
  std::uint16_t method = 0;  // 0 stored, 8 deflated
  std::uint16_t flags = 0;
  std::uint64_t localHeader = 0;
  std::uint64_t dataOffset = 0;  // after the local header, checked on opening
  bool described = false;        // its local header leaves sizes and CRC to a data descriptor
  // Stored or deflated and not encrypted: inflatable, and copyable as it is.
  bool Plain() const { return (method == 0 || method == 8) && !(flags & 1); }
};

// A zip archive over bytes in memory (a file read in, or a string): the directory is
// read and checked on opening, members are inflated on demand, with bounds.
class CZipArchive {
public:
  // Opens the archive in bytes, which owner keeps alive. Checks the member count, every
  // name, and every local header and data descriptor against the directory; members may
  // not share or overlap data. Inflates nothing. CComError (invalid data) naming the entry and the
  // limit it broke, an unsafe or duplicate name, or a damaged archive.
  static std::shared_ptr<CZipArchive> Open(std::string_view bytes, std::shared_ptr<const void> owner,
                                           const SZipLimits& limits = {});

  // File members in archive order (folder entries left out).
  const std::vector<SZipMember>& Members() const { return m_members; }
  // The inflated bytes of member i, never more than the entry, ratio and total limits
  // allow, checked against its CRC and the size the directory declares; CComError naming
  // the entry and the limit or fault. The buffer grows with what is really inflated,
  // whatever the directory declares.
  std::string Inflate(std::size_t i);
  // The compressed bytes of member i as they lie in the archive.
  std::string_view Raw(std::size_t i) const;
  // The same after checking that they inflate to bytes with the member's CRC and size: for
  // copying a member unchanged. Within the entry limit, and over the archive within
  // four times the total limit; holds no more than a small buffer of the bytes.
  std::string_view Verified(std::size_t i) const;

  // Every file member inflated, in archive order.
  static std::vector<SZipEntry> Read(const std::string& bytes, const SZipLimits& limits = {});
  // The zip (and PNG) CRC-32 of bytes, continuing crc when bytes follow earlier ones.
  static std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc = 0);
  // Whether name is a safe relative member name ("a/b.xml").
  static bool IsSafeName(std::string_view name);

private:
  CZipArchive() = default;
  void ReadDirectory();
  // Checks member m's local header against the directory and finds its data.
  void ReadLocalHeader(SZipMember& m) const;
  void RefuseOverlaps() const;
  void CheckDescriptor(const SZipMember& m) const;
  // How far member i may inflate, what the other members hold counted, and why when
  // it tries to go further.
  std::uint64_t Room(std::size_t i, std::uint64_t compressed, std::string& why) const;

  std::shared_ptr<const void> m_owner;
  std::string_view m_bytes;
  SZipLimits m_limits;
  std::vector<SZipMember> m_members;
  // Per member, the largest buffer it was inflated into; their sum is the total.
  std::vector<std::uint64_t> m_charged;
  std::uint64_t m_inflated = 0;
  mutable std::uint64_t m_verified = 0;
};
