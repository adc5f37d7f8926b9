// Reads raw bytes as an embedded object's compound file; what reads must write and
// read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/com/CComError.h"
#include "platform/com/CCompoundFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SCompoundFile file;
  try {
    file = CCompoundFile::Read(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const CComError&) {
    return 0;
  }
  std::string written;
  try {
    written = CCompoundFile::Write(file);
  } catch (const CComError&) {
    return 0;  // too large for the files we write
  }
  const SCompoundFile again = CCompoundFile::Read(written);
  if (!(again.clsid == file.clsid) || again.streams.size() != file.streams.size()) std::abort();
  for (const auto& [name, bytes] : file.streams)
    if (const std::string* read = again.Stream(name); !read || *read != bytes) std::abort();
  return 0;
}
