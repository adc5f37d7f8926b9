#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/com/CGuid.h"

// A compound file (structured storage) of the kind OLE objects are saved in, held in
// memory: the root storage's class id and the streams directly below it.
struct SCompoundFile {
  CLSID clsid;
  std::vector<std::pair<std::u16string, std::string>> streams;
  // Whether the root also holds storages, which are not read.
  bool hasStorages = false;

  // The stream of that name (compared ignoring ASCII case, as the format does), or null.
  const std::string* Stream(std::u16string_view name) const;
};

// Reads and writes compound files. Reading is bounded for untrusted input: every
// sector chain is checked against the file and its own length, so that a loop or a
// sector outside the file is an error rather than a hang or a read past the end.
class CCompoundFile {
public:
  // The eight bytes every compound file starts with.
  static constexpr std::string_view kSignature{"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8};

  // CComError (invalid data) saying what is wrong.
  static SCompoundFile Read(std::string_view bytes);
  // A version 3 file (512-byte sectors); streams under 4096 bytes go to the mini
  // stream. CComError for an empty, over-long (32 or more) or repeated stream name, or
  // when the file would need more than 109 allocation sectors.
  static std::string Write(const SCompoundFile& file);
};
