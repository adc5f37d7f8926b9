#include "platform/picture/CPictureInfo.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <type_traits>

#include <dlfcn.h>
#include <tiffio.h>


#include "folio/util/SystemUtils.h"

namespace {

// Bounded reads of big- and little-endian fields; outside the bytes they read 0.
struct SBytes {
  std::string_view b;
  bool little = false;
  std::uint32_t Get(size_t at, int width) const {
    if (at > b.size() || static_cast<size_t>(width) > b.size() - at) return 0;
    std::uint32_t v = 0;
    for (int i = 0; i < width; ++i) {
      const auto byte = static_cast<unsigned char>(b[at + static_cast<size_t>(little ? width - 1 - i : i)]);
      v = (v << 8) | byte;
    }
    return v;
  }
};

// Resolutions outside this band are treated as missing.
double Sane(double dpi) { return dpi >= 10 && dpi <= 10000 ? dpi : 96; }

void SetDpi(CPictureInfo& info, double x, double y) {
  info.dpiX = Sane(x);
  info.dpiY = Sane(y);
}

// PNG pHYs in pixels per metre, before the image data.
void PngResolution(std::string_view b, CPictureInfo& info) {
  const SBytes be{b};
  for (size_t at = 8; at + 12 <= b.size();) {
    const std::uint32_t length = be.Get(at, 4);
    const std::string_view type = b.substr(at + 4, 4);
    if (type == "pHYs" && length >= 9 && be.Get(at + 16, 1) == 1)
      SetDpi(info, be.Get(at + 8, 4) * 0.0254, be.Get(at + 12, 4) * 0.0254);
    if (type == "IDAT" || type == "IEND" || length > b.size() - at - 12) return;
    at += 12 + static_cast<size_t>(length);
  }
}

// Resolution tags of a TIFF directory (the EXIF block of a JPEG holds one).
void TiffTagResolution(std::string_view tiff, CPictureInfo& info) {
  if (tiff.size() < 8 || (tiff.substr(0, 2) != "II" && tiff.substr(0, 2) != "MM")) return;
  const SBytes t{tiff, tiff[0] == 'I'};
  const std::uint32_t ifd = t.Get(4, 4);
  // No more entries than the directory's bytes hold: a short segment may claim 65535.
  const size_t room = ifd + 2 <= tiff.size() ? (tiff.size() - ifd - 2) / 12 : 0;
  const std::uint32_t count = static_cast<std::uint32_t>(std::min<size_t>(t.Get(ifd, 2), room));
  double x = 0, y = 0;
  std::uint32_t unit = 2;
  for (std::uint32_t i = 0; i < count; ++i) {
    const size_t entry = ifd + 2 + static_cast<size_t>(i) * 12;
    const std::uint32_t tag = t.Get(entry, 2), offset = t.Get(entry + 8, 4);
    const std::uint32_t denominator = t.Get(offset + 4, 4);
    const double rational = denominator ? static_cast<double>(t.Get(offset, 4)) / denominator : 0;
    if (tag == 282) x = rational;
    else if (tag == 283) y = rational;
    else if (tag == 296) unit = t.Get(entry + 8, 2);
  }
  if (unit == 2) SetDpi(info, x, y);
  else if (unit == 3) SetDpi(info, x * 2.54, y * 2.54);
}

// The frame's pixel size, and JFIF density or EXIF resolution from the markers before it;
// false when no frame header comes.
bool JpegHeader(std::string_view b, CPictureInfo& info) {
  const SBytes be{b};
  for (size_t at = 2; at + 4 <= b.size();) {
    if (be.Get(at, 1) != 0xFF) return false;
    const std::uint32_t marker = be.Get(at + 1, 1), length = be.Get(at + 2, 2);
    if (marker == 0xFF) {
      ++at;
      continue;
    }
    if (marker == 0xDA) return false;
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      if (at + 9 > b.size()) return false;
      info.height = be.Get(at + 5, 2);
      info.width = be.Get(at + 7, 2);
      return true;
    }
    const std::string_view segment = b.substr(at + 4, std::min<size_t>(length >= 2 ? length - 2 : 0, b.size() - at - 4));
    if (marker == 0xE0 && segment.size() >= 12 && segment.substr(0, 5) == std::string_view("JFIF\0", 5)) {
      const SBytes s{segment};
      const double x = s.Get(8, 2), y = s.Get(10, 2);
      if (s.Get(7, 1) == 1) SetDpi(info, x, y);
      else if (s.Get(7, 1) == 2) SetDpi(info, x * 2.54, y * 2.54);
    } else if (marker == 0xE1 && segment.size() > 6 && segment.substr(0, 6) == std::string_view("Exif\0\0", 6)) {
      TiffTagResolution(segment.substr(6), info);
    }
    at += 2 + length;
  }
  return false;
}

// libtiff over bytes in memory.
struct STiffMemory {
  std::string_view bytes;
  toff_t at = 0;
};

tsize_t TiffRead(thandle_t h, tdata_t data, tsize_t size) {
  auto* m = static_cast<STiffMemory*>(h);
  if (m->at >= m->bytes.size() || size <= 0) return 0;
  const size_t n = std::min<size_t>(static_cast<size_t>(size), m->bytes.size() - m->at);
  std::memcpy(data, m->bytes.data() + m->at, n);
  m->at += n;
  return static_cast<tsize_t>(n);
}
tsize_t TiffWrite(thandle_t, tdata_t, tsize_t) { return 0; }
toff_t TiffSeek(thandle_t h, toff_t offset, int whence) {
  auto* m = static_cast<STiffMemory*>(h);
  const toff_t base = whence == SEEK_CUR ? m->at : whence == SEEK_END ? m->bytes.size() : 0;
  m->at = base + offset;
  return m->at;
}
int TiffClose(thandle_t) { return 0; }
toff_t TiffSize(thandle_t h) { return static_cast<STiffMemory*>(h)->bytes.size(); }
int TiffMap(thandle_t, tdata_t*, toff_t*) { return 0; }
void TiffUnmap(thandle_t, tdata_t, toff_t) {}

// libtiff, loaded the first time a TIFF picture comes along: most processes never need it.
struct STiffLibrary {
  decltype(&TIFFClientOpen) clientOpen = nullptr;
  decltype(&TIFFClose) close = nullptr;
  decltype(&TIFFGetField) getField = nullptr;
  decltype(&TIFFGetFieldDefaulted) getFieldDefaulted = nullptr;

  static const STiffLibrary* Get() {
    static const STiffLibrary library = Load();
    return library.clientOpen ? &library : nullptr;
  }

private:
  static STiffLibrary Load() {
    STiffLibrary l;
    void* handle = ::dlopen("libtiff.so.6", RTLD_NOW | RTLD_LOCAL);
    if (!handle) handle = ::dlopen("libtiff.so", RTLD_NOW | RTLD_LOCAL);
    if (!handle) return l;
    auto symbol = [&](auto& target, const char* name) {
      target = reinterpret_cast<std::remove_reference_t<decltype(target)>>(::dlsym(handle, name));
    };
    decltype(&TIFFSetErrorHandler) setError = nullptr;
    decltype(&TIFFSetWarningHandler) setWarning = nullptr;
    symbol(setError, "TIFFSetErrorHandler");
    symbol(setWarning, "TIFFSetWarningHandler");
    symbol(l.close, "TIFFClose");
    symbol(l.getField, "TIFFGetField");
    symbol(l.getFieldDefaulted, "TIFFGetFieldDefaulted");
    if (!setError || !setWarning || !l.close || !l.getField || !l.getFieldDefaulted) return l;
    // An unreadable file is simply no picture here; libtiff would report to stderr.
    setError(nullptr);
    setWarning(nullptr);
    symbol(l.clientOpen, "TIFFClientOpen");
    return l;
  }
};

std::optional<CPictureInfo> Tiff(std::string_view b) {
  const STiffLibrary* lib = STiffLibrary::Get();
  if (!lib) return std::nullopt;
  STiffMemory memory{b};
  std::unique_ptr<TIFF, void (*)(TIFF*)> tiff(lib->clientOpen("picture", "rm", &memory, TiffRead, TiffWrite, TiffSeek,
                                                              TiffClose, TiffSize, TiffMap, TiffUnmap),
                                              lib->close);
  if (!tiff) return std::nullopt;
  CPictureInfo info{"tiff", "image/tiff"};
  std::uint32_t width = 0, height = 0;
  if (lib->getField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width) != 1 || lib->getField(tiff.get(), TIFFTAG_IMAGELENGTH, &height) != 1)
    return std::nullopt;
  info.width = width;
  info.height = height;
  float x = 0, y = 0;
  std::uint16_t unit = RESUNIT_INCH;
  lib->getFieldDefaulted(tiff.get(), TIFFTAG_RESOLUTIONUNIT, &unit);
  if (lib->getField(tiff.get(), TIFFTAG_XRESOLUTION, &x) == 1 && lib->getField(tiff.get(), TIFFTAG_YRESOLUTION, &y) == 1) {
    if (unit == RESUNIT_INCH) SetDpi(info, x, y);
    else if (unit == RESUNIT_CENTIMETER) SetDpi(info, x * 2.54, y * 2.54);
  }
  return info;
}

}  // namespace

std::optional<CPictureInfo> CPictureInfo::Read(std::string_view b) {
  const auto starts = [&](std::string_view magic) { return b.substr(0, magic.size()) == magic; };
  if (starts(std::string_view("II*\0", 4)) || starts(std::string_view("MM\0*", 4))) {
    auto info = Tiff(b);
    return info && info->width && info->height ? info : std::nullopt;
  }
  // The pixel size sits at a fixed place in every other header but JPEG's.
  CPictureInfo info;
  const SBytes be{b}, le{b, true};
  if (starts("\x89PNG\r\n\x1a\n") && b.size() >= 24 && b.substr(12, 4) == "IHDR") {
    info = {"png", "image/png", be.Get(16, 4), be.Get(20, 4)};
    PngResolution(b, info);
  } else if (starts("\xFF\xD8\xFF")) {
    info = {"jpeg", "image/jpeg"};
    if (!JpegHeader(b, info)) return std::nullopt;
  } else if ((starts("GIF87a") || starts("GIF89a")) && b.size() >= 10) {
    info = {"gif", "image/gif", le.Get(6, 2), le.Get(8, 2)};
  } else if (starts("BM") && b.size() >= 26) {
    info = {"bmp", "image/bmp"};
    if (le.Get(14, 4) == 12) {  // the old core header: 16-bit sizes, no resolution
      info.width = le.Get(18, 2);
      info.height = le.Get(20, 2);
    } else {
      const auto width = static_cast<std::int32_t>(le.Get(18, 4)), height = static_cast<std::int32_t>(le.Get(22, 4));
      info.width = width > 0 ? static_cast<unsigned>(width) : 0;
      info.height = height == INT32_MIN ? 0 : static_cast<unsigned>(height < 0 ? -height : height);
      SetDpi(info, le.Get(38, 4) * 0.0254, le.Get(42, 4) * 0.0254);
    }
  }
  if (info.width == 0 || info.height == 0) return std::nullopt;
  return info;
}

std::optional<CPictureInfo> CPictureInfo::ReadFile(const CStr& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(SystemUtils::OpenFile(path, "rb"), std::fclose);
  if (!file) return std::nullopt;
  // Headers sit at the start, except where a TIFF directory or a JPEG frame lies further on.
  constexpr size_t kStart = 256 << 10;
  std::string bytes(kStart, '\0');
  bytes.resize(std::fread(bytes.data(), 1, kStart, file.get()));
  if (bytes.size() < kStart) return Read(bytes);
  if (auto info = Read(bytes)) return info;
  // A header further on than kMaxHeaderBytes makes the file no picture.
  char chunk[1 << 16];
  for (size_t n; bytes.size() < kMaxHeaderBytes &&
                 (n = std::fread(chunk, 1, std::min(sizeof chunk, kMaxHeaderBytes - bytes.size()),
                                 file.get())) > 0;)
    bytes.append(chunk, n);
  return Read(bytes);
}
