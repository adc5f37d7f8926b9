#include "platform/picture/PictureSize.h"

#include <cstdio>

#include <stb_image.h>
#include <tiffio.h>

#include "folio/util/SystemUtils.h"

namespace {

std::optional<SPictureSize> ReadTiffSize(const CStr& path) {
  // libtiff reports to stderr by default; an unreadable file is simply no picture here.
  TIFFSetWarningHandler(nullptr);
  TIFFSetErrorHandler(nullptr);
  TIFF* tiff = TIFFOpen(path.ToUtf8().c_str(), "r");
  if (!tiff) return std::nullopt;
  uint32_t width = 0, height = 0;
  const bool ok = TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width) == 1 &&
                  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height) == 1;
  TIFFClose(tiff);
  if (!ok || width == 0 || height == 0) return std::nullopt;
  return SPictureSize{width, height};
}

bool LooksLikeTiff(std::FILE* file) {
  unsigned char magic[4] = {};
  const size_t n = std::fread(magic, 1, sizeof magic, file);
  std::rewind(file);
  return n == 4 && ((magic[0] == 'I' && magic[1] == 'I' && magic[2] == 42 && magic[3] == 0) ||
                    (magic[0] == 'M' && magic[1] == 'M' && magic[2] == 0 && magic[3] == 42));
}

}  // namespace

std::optional<SPictureSize> ReadPictureSize(const CStr& path) {
  std::FILE* file = SystemUtils::OpenFile(path, "rb");
  if (!file) return std::nullopt;
  if (LooksLikeTiff(file)) {
    std::fclose(file);
    return ReadTiffSize(path);
  }
  int width = 0, height = 0, components = 0;
  const int ok = stbi_info_from_file(file, &width, &height, &components);
  std::fclose(file);
  if (!ok || width <= 0 || height <= 0) return std::nullopt;
  return SPictureSize{static_cast<unsigned>(width), static_cast<unsigned>(height)};
}
