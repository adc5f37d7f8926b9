// The zip reader on its own. Half the inputs are raw archives; the other half are
// recipes for archives whose headers lie in the ways a hostile document would:
// members sharing or overlapping data, declared sizes and CRCs apart from the data,
// local headers that disagree with the central directory, repeated entries.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>

#include "HostileZip.h"
#include "platform/com/CComError.h"

namespace {

// Smaller than the defaults, so that a limit not kept shows under the fuzzer's own.
SZipLimits Limits() {
  SZipLimits limits;
  limits.maxEntries = 64;
  limits.maxEntrySize = 16u << 20;
  limits.maxTotalSize = 48u << 20;
  return limits;
}

SHostileZip Recipe(FuzzedDataProvider& in) {
  SHostileZip zip;
  const int count = in.ConsumeIntegralInRange(1, 8);
  for (int i = 0; i < count && in.remaining_bytes() > 0; ++i) {
    SHostileMember m;
    m.name = in.ConsumeRandomLengthString(24);
    m.deflate = in.ConsumeBool();
    const std::uint8_t lie = in.ConsumeIntegral<std::uint8_t>();
    if (lie & 1) m.centralSizeDelta = in.ConsumeIntegralInRange<std::int64_t>(-4096, 1 << 30);
    if (lie & 2) m.centralCompressedDelta = in.ConsumeIntegralInRange<std::int64_t>(-64, 64);
    if (lie & 4) m.crcXor = in.ConsumeIntegral<std::uint32_t>();
    if (lie & 8) m.localName = in.ConsumeRandomLengthString(24);
    if (lie & 16) m.localSizeDelta = in.ConsumeIntegralInRange<std::int64_t>(-64, 64);
    m.dataDescriptor = lie & 32;
    if ((lie & 64) && i > 0) m.sharesDataOf = in.ConsumeIntegralInRange(0, i - 1);
    if (lie & 128) m.offsetDelta = in.ConsumeIntegralInRange<std::int64_t>(-64, 64);
    // Data that repeats compresses far: the ratio and size limits get their turn.
    const std::string unit = in.ConsumeRandomLengthString(64);
    const std::size_t repeat = in.ConsumeIntegralInRange<std::size_t>(1, 1 << 16);
    for (std::size_t r = 0; r < repeat && m.data.size() < (4u << 20); ++r) m.data += unit;
    zip.members.push_back(std::move(m));
  }
  zip.extraCentralCopies = in.ConsumeIntegralInRange(0, 4);
  zip.countDelta = in.ConsumeIntegralInRange(-2, 2);
  return zip;
}

void ReadAll(const std::string& bytes) {
  try {
    auto archive = CZipArchive::Open(bytes, nullptr, Limits());
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < archive->Members().size(); ++i) {
      try {
        archive->Raw(i);
        const std::string data = archive->Inflate(i);
        total += data.capacity();
        if (data.size() > Limits().maxEntrySize || total > Limits().maxTotalSize) std::abort();
      } catch (const CComError&) {
      }
    }
  } catch (const CComError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  if (data[0] & 1) {
    ReadAll(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    return 0;
  }
  FuzzedDataProvider in(data + 1, size - 1);
  ReadAll(HostileZip::Build(Recipe(in)));
  return 0;
}
