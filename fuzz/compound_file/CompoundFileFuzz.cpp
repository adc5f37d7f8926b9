// Reads raw bytes as an embedded object's compound file; what reads must write and
// read back the same, storages below the root included.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/com/CComError.h"
#include "platform/com/CCompoundFile.h"

namespace {

void ExpectSame(const SStorage& read, const SStorage& again) {
  if (!(again.clsid == read.clsid) || again.streams.size() != read.streams.size() ||
      again.storages.size() != read.storages.size())
    std::abort();
  for (const auto& [name, bytes] : read.streams)
    if (const std::string* stream = again.Stream(name); !stream || *stream != bytes) std::abort();
  for (const SStorage& storage : read.storages) {
    const SStorage* other = again.Storage(storage.name);
    if (!other || other->name != storage.name) std::abort();
    ExpectSame(storage, *other);
  }
}

}  // namespace

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
    return 0;  // names or sizes the files we write do not allow
  }
  ExpectSame(file, CCompoundFile::Read(written));
  return 0;
}
