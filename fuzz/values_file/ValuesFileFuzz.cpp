// The values file reader, as the command-line host reads a file someone else made.
// Picture paths resolve against a private folder holding one small picture.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

#include "ValuesFile.h"

namespace {

// Made on first use and removed when the fuzzer exits, so that runs leave nothing behind.
struct SFolder {
  std::filesystem::path path;
  ~SFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

const std::filesystem::path& Folder() {
  static const SFolder folder = [] {
    char pattern[] = "/tmp/folio-fuzz-values-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) std::abort();
    // A 1x1 PNG.
    static const unsigned char png[] = {
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52,
        0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1F, 0x15, 0xC4,
        0x89, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0x00, 0x01, 0x00, 0x00,
        0x05, 0x00, 0x01, 0x0D, 0x0A, 0x2D, 0xB4, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE,
        0x42, 0x60, 0x82};
    std::ofstream(std::filesystem::path(made) / "p.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png), sizeof png);
    return SFolder{std::filesystem::path(made)};
  }();
  return folder.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FolioCli::SValuesFile file;
  try {
    file = FolioCli::ParseValuesFile(std::string_view(reinterpret_cast<const char*>(data), size), Folder(),
                                     "fuzz.json");
  } catch (const FolioCli::EValuesFile&) {
    return 0;
  }
  // A measurement of an accepted file reads again without a fault.
  try {
    for (std::size_t k = 0; k < file.MeasurementCount(); ++k) file.Measurement(k);
  } catch (const FolioCli::EValuesFile&) {
    std::abort();
  }
  return 0;
}
