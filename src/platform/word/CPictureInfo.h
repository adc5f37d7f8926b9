#pragma once
#include <optional>
#include <string>
#include <string_view>

// What a picture file's header says: format, pixel size and resolution.
struct CPictureInfo {
  std::string extension;    // "png", "jpeg", "gif", "bmp", "tiff"
  std::string contentType;  // "image/png", ...
  unsigned width = 0, height = 0;
  double dpiX = 96, dpiY = 96;

  // Reads PNG, JPEG, GIF, BMP and TIFF headers; nothing for other data.
  static std::optional<CPictureInfo> Read(std::string_view bytes);
  // Own size in points: pixels over resolution (96 dpi when the file gives none or an absurd one).
  double WidthPoints() const { return width * 72.0 / dpiX; }
  double HeightPoints() const { return height * 72.0 / dpiY; }
};
