#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "folio/util/CStr.h"

// Bounds on what reading an untrusted archive may cost.
struct SZipLimits {
  std::size_t maxEntries = 5000;
  std::uint64_t maxEntrySize = 256ull << 20;
  std::uint64_t maxTotalSize = 512ull << 20;
  // Past the first ratioGrace bytes of an entry, inflated / compressed may not exceed this.
  std::uint64_t maxRatio = 100;
  std::uint64_t ratioGrace = 100 << 10;
};

// One member, name as stored (no leading slash).
struct SZipEntry {
  std::string name;
  std::string data;
};

// One member to write; the bytes stay where they are.
struct SZipSource {
  std::string_view name;
  std::string_view data;
};

// Zip archives held in memory: bounded reading, deterministic writing.
class CZipArchive {
public:
  // Every file member in archive order; CComError (invalid data) naming the entry and
  // the limit it broke, an unsafe or duplicate name, or a damaged archive.
  static std::vector<SZipEntry> Read(const std::string& bytes, const SZipLimits& limits = {});
  // The archive bytes: members in the given order, fixed time stamps, media stored
  // and everything else deflated.
  static std::string Write(const std::vector<SZipSource>& entries);
  // The same archive written to a file (through a temporary file, renamed at the end).
  static void WriteFile(const std::string& path, const std::vector<SZipSource>& entries);
  // Whether name is a safe relative member name ("a/b.xml").
  static bool IsSafeName(std::string_view name);
};
