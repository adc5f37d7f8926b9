#include "platform/word/CPictureInfo.h"

#include <cstdint>

namespace {

std::uint32_t Big(std::string_view b, size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}

std::uint32_t Little(std::string_view b, size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}

// Resolutions outside this band are treated as missing.
double Sane(double dpi) { return dpi >= 10 && dpi <= 10000 ? dpi : 96; }

std::optional<CPictureInfo> Png(std::string_view b) {
  if (b.size() < 33 || b.substr(12, 4) != "IHDR") return std::nullopt;
  CPictureInfo info{"png", "image/png", Big(b, 16, 4), Big(b, 20, 4)};
  for (size_t at = 8; at + 12 <= b.size();) {
    const std::uint32_t length = Big(b, at, 4);
    const std::string_view type = b.substr(at + 4, 4);
    if (type == "pHYs" && length >= 9 && at + 17 <= b.size() && b[at + 16] == 1) {
      info.dpiX = Sane(Big(b, at + 8, 4) * 0.0254);
      info.dpiY = Sane(Big(b, at + 12, 4) * 0.0254);
    }
    if (type == "IDAT" || type == "IEND" || length > b.size()) break;
    at += 12 + static_cast<size_t>(length);
  }
  return info;
}

std::optional<CPictureInfo> Jpeg(std::string_view b) {
  CPictureInfo info{"jpeg", "image/jpeg"};
  size_t at = 2;
  while (at + 4 <= b.size()) {
    if (static_cast<unsigned char>(b[at]) != 0xFF) return std::nullopt;
    const unsigned marker = static_cast<unsigned char>(b[at + 1]);
    if (marker == 0xFF) { ++at; continue; }
    const std::uint32_t length = Big(b, at + 2, 2);
    if (marker == 0xE0 && at + 18 <= b.size() && b.substr(at + 4, 5) == std::string_view("JFIF\0", 5)) {
      const unsigned units = static_cast<unsigned char>(b[at + 11]);
      const double x = Big(b, at + 12, 2), y = Big(b, at + 14, 2);
      if (units == 1) { info.dpiX = Sane(x); info.dpiY = Sane(y); }
      else if (units == 2) { info.dpiX = Sane(x * 2.54); info.dpiY = Sane(y * 2.54); }
    }
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame && at + 9 <= b.size()) {
      info.height = Big(b, at + 5, 2);
      info.width = Big(b, at + 7, 2);
      return info;
    }
    at += 2 + length;
  }
  return std::nullopt;
}

std::optional<CPictureInfo> Bmp(std::string_view b) {
  if (b.size() < 46) return std::nullopt;
  CPictureInfo info{"bmp", "image/bmp", Little(b, 18, 4), 0};
  const auto h = static_cast<std::int32_t>(Little(b, 22, 4));
  info.height = static_cast<unsigned>(h < 0 ? -static_cast<std::int64_t>(h) : h);
  info.dpiX = Sane(Little(b, 38, 4) * 0.0254);
  info.dpiY = Sane(Little(b, 42, 4) * 0.0254);
  return info;
}

std::optional<CPictureInfo> Tiff(std::string_view b) {
  const bool little = b[0] == 'I';
  auto get = [&](size_t at, int bytes) { return little ? Little(b, at, bytes) : Big(b, at, bytes); };
  CPictureInfo info{"tiff", "image/tiff"};
  const size_t ifd = get(4, 4);
  if (ifd + 2 > b.size()) return std::nullopt;
  const unsigned count = get(ifd, 2);
  double xres = 0, yres = 0;
  unsigned unit = 2;
  for (unsigned i = 0; i < count && ifd + 2 + i * 12 + 12 <= b.size(); ++i) {
    const size_t e = ifd + 2 + i * 12;
    const unsigned tag = get(e, 2), type = get(e + 2, 2);
    const std::uint32_t value = type == 3 ? get(e + 8, 2) : get(e + 8, 4);
    auto rational = [&] {
      if (value + 8 > b.size()) return 0.0;
      const double den = get(value + 4, 4);
      return den ? get(value, 4) / den : 0.0;
    };
    if (tag == 256) info.width = value;
    else if (tag == 257) info.height = value;
    else if (tag == 282) xres = rational();
    else if (tag == 283) yres = rational();
    else if (tag == 296) unit = value;
  }
  const double factor = unit == 3 ? 2.54 : 1;
  if (unit != 1) { info.dpiX = Sane(xres * factor); info.dpiY = Sane(yres * factor); }
  return info.width && info.height ? std::optional(info) : std::nullopt;
}

}  // namespace

std::optional<CPictureInfo> CPictureInfo::Read(std::string_view b) {
  std::optional<CPictureInfo> info;
  if (b.size() >= 8 && b.substr(0, 8) == "\x89PNG\r\n\x1a\n") info = Png(b);
  else if (b.size() >= 4 && b.substr(0, 2) == "\xFF\xD8") info = Jpeg(b);
  else if (b.size() >= 10 && (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a"))
    info = CPictureInfo{"gif", "image/gif", Little(b, 6, 2), Little(b, 8, 2)};
  else if (b.size() >= 2 && b.substr(0, 2) == "BM") info = Bmp(b);
  else if (b.size() >= 8 && (b.substr(0, 4) == std::string_view("II*\0", 4) || b.substr(0, 4) == std::string_view("MM\0*", 4)))
    info = Tiff(b);
  if (info && (info->width == 0 || info->height == 0)) return std::nullopt;
  return info;
}
