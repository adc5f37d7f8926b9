#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/com/CGuid.h"

// A storage of a compound file (structured storage) held in memory: its class id, its
// streams and the storages below it. Names compare ignoring ASCII case, as the format does.
struct SStorage {
  std::u16string name;  // unused for the root
  CLSID clsid;
  std::vector<std::pair<std::u16string, std::string>> streams;
  std::vector<SStorage> storages;

  // The stream or storage of that name directly below this one, or null.
  const std::string* Stream(std::u16string_view name) const;
  const SStorage* Storage(std::u16string_view name) const;
};

// A compound file of the kind OLE objects are saved in: its root storage.
using SCompoundFile = SStorage;

// Reads and writes compound files. Reading is bounded for untrusted input: every
// sector chain is checked against the file and its own length, every directory entry
// is reached at most once and storages nest at most kMaxDepth deep, so that a loop, a
// shared entry or a sector outside the file is an error rather than a hang or a read
// past the end.
class CCompoundFile {
public:
  // The eight bytes every compound file starts with.
  static constexpr std::string_view kSignature{"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8};
  // Storages below the root nest at most this deep (the root's own storages are at 1).
  static constexpr int kMaxDepth = 32;

  // CComError (invalid data) saying what is wrong.
  static SCompoundFile Read(std::string_view bytes);
  // A version 3 file (512-byte sectors); streams under 4096 bytes go to the mini
  // stream. CComError (invalid argument) for an empty, over-long (32 or more) or
  // repeated name within a storage, or storages nesting deeper than kMaxDepth; and
  // when a stream reaches 2 GB.
  static std::string Write(const SCompoundFile& file);
};
