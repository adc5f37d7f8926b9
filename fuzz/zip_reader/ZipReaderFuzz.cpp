// The zip reader on its own. Half the inputs are raw archives; the other half are
// recipes for archives whose headers lie in the ways a hostile document would:
// members sharing or overlapping data, declared sizes and CRCs apart from the data,
// local headers and data descriptors that disagree with the central directory,
// repeated entries.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "HostileZip.h"
#include "platform/com/CComError.h"

namespace {

// Far below the defaults, with members a little larger than the entry limit and more of
// them than the total allows, so that every limit is reached by inputs that stay cheap
// to build and inflate (the defaults are the same limits scaled up).
constexpr std::size_t kLargestMember = 48u << 10;

SZipLimits Limits() {
  SZipLimits limits;
  limits.maxEntries = 64;
  limits.maxEntrySize = 32u << 10;
  limits.maxTotalSize = 96u << 10;
  limits.ratioGrace = 4u << 10;
  return limits;
}

// unit repeated over size bytes, copied in doubling runs rather than unit by unit.
std::string Repeated(const std::string& unit, std::size_t size) {
  std::string data(unit.empty() ? 0 : size, '\0');
  for (std::size_t done = 0; done < data.size();) {
    const std::size_t run = std::min(done ? done : unit.size(), data.size() - done);
    std::memcpy(data.data() + done, done ? data.data() : unit.data(), run);
    done += run;
  }
  return data;
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
    if (m.dataDescriptor) {
      const std::uint8_t how = in.ConsumeIntegral<std::uint8_t>();
      m.descriptorSignature = !(how & 1);
      if (how & 2) m.descriptorSizeDelta = in.ConsumeIntegralInRange<std::int64_t>(-64, 64);
    }
    if ((lie & 64) && i > 0) m.sharesDataOf = in.ConsumeIntegralInRange(0, i - 1);
    if (lie & 128) m.offsetDelta = in.ConsumeIntegralInRange<std::int64_t>(-64, 64);
    // Data that repeats compresses far: the ratio and size limits get their turn.
    const std::string unit = in.ConsumeRandomLengthString(64);
    const std::size_t repeat = in.ConsumeIntegralInRange<std::size_t>(1, 4096);
    m.data = Repeated(unit, std::min(repeat * unit.size(), kLargestMember + unit.size()));
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
        // What inflated is what the directory declares, and copying it unchanged passes too.
        const SZipMember& m = archive->Members()[i];
        if (data.size() != m.size || CZipArchive::Crc32(data) != m.crc) std::abort();
        std::string_view copied;
        try {
          copied = archive->Verified(i);
        } catch (const CComError&) {
          std::abort();
        }
        if (copied.data() != archive->Raw(i).data() || copied.size() != archive->Raw(i).size()) std::abort();
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
