#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "folio/util/CStr.h"

// What a picture's header says: format, pixel size and resolution.
struct CPictureInfo {
  std::string extension;    // "png", "jpeg", "gif", "bmp", "tiff"
  std::string contentType;  // "image/png", ...
  unsigned width = 0, height = 0;
  // 96 when the picture gives none or an absurd one.
  double dpiX = 96, dpiY = 96;

  // Reads PNG, JPEG, GIF, BMP and TIFF headers (TIFF through libtiff, the others by a
  // bounded walk of their few fields); nothing for anything else or a damaged header.
  static std::optional<CPictureInfo> Read(std::string_view bytes);
  // The most of a file that is read to find its header.
  static constexpr size_t kMaxHeaderBytes = size_t(64) << 20;
  // The same for a file, reading only its start when that is enough and never more
  // than kMaxHeaderBytes; nothing when the file is missing or no picture.
  static std::optional<CPictureInfo> ReadFile(const CStr& path);
  // Own size in points: pixels over resolution.
  double WidthPoints() const { return width * 72.0 / dpiX; }
  double HeightPoints() const { return height * 72.0 / dpiY; }
};
