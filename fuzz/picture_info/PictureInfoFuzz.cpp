// Reads raw bytes as a picture header, as the engine does for every picture in a document.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/picture/CPictureInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto info = CPictureInfo::Read(std::string_view(reinterpret_cast<const char*>(data), size));
  // What is read is a picture with a size and a resolution inside the sane band.
  if (info && (info->width == 0 || info->height == 0 || info->dpiX < 10 || info->dpiY < 10)) std::abort();
  return 0;
}
