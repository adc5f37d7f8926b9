#include <gtest/gtest.h>

#include <stb_image_write.h>
#include <tiffio.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "folio/util/SystemUtils.h"
#include "platform/PlatformTestSupport.h"
#include "platform/picture/CPictureInfo.h"
#include "platform/picture/PictureSize.h"

namespace fs = std::filesystem;
using platformtest::Be;
using platformtest::Le;
using platformtest::WithPhys;

namespace {

constexpr int kW = 37, kH = 21;

void Collect(void* context, void* data, int size) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

std::string Pixels() { return std::string(kW * kH * 3, '\x80'); }

// The test picture as the image writer encodes it in format ("png", "jpeg" or "bmp").
std::string Encoded(const std::string& format) {
  std::string out;
  const std::string pixels = Pixels();
  if (format == "png") stbi_write_png_to_func(Collect, &out, kW, kH, 3, pixels.data(), kW * 3);
  if (format == "jpeg") stbi_write_jpg_to_func(Collect, &out, kW, kH, 3, pixels.data(), 80);
  if (format == "bmp") stbi_write_bmp_to_func(Collect, &out, kW, kH, 3, pixels.data());
  return out;
}

std::string PngBytes() { return Encoded("png"); }
std::string JpegBytes() { return Encoded("jpeg"); }
std::string BmpBytes() { return Encoded("bmp"); }

// A JPEG whose first segment after the start marker is segment.
std::string WithSegment(std::string jpeg, const std::string& segment) { return jpeg.insert(2, segment); }

std::string Segment(unsigned char marker, const std::string& payload) {
  return std::string("\xFF", 1) + static_cast<char>(marker) + Be(static_cast<std::uint32_t>(payload.size() + 2), 2) + payload;
}

// JFIF density: units 1 per inch, 2 per centimetre.
std::string Jfif(unsigned units, unsigned x, unsigned y) {
  return Segment(0xE0, std::string("JFIF\0\x01\x01", 7) + static_cast<char>(units) + Be(x, 2) + Be(y, 2) +
                           std::string(2, '\0'));
}

// An EXIF block whose directory gives x and y pixels per inch (little-endian TIFF).
std::string Exif(unsigned x, unsigned y) {
  std::string tiff = "II" + Le(42, 2) + Le(8, 4) + Le(3, 2);
  const std::uint32_t values = 8 + 2 + 3 * 12 + 4;
  tiff += Le(282, 2) + Le(5, 2) + Le(1, 4) + Le(values, 4);
  tiff += Le(283, 2) + Le(5, 2) + Le(1, 4) + Le(values + 8, 4);
  tiff += Le(296, 2) + Le(3, 2) + Le(1, 4) + Le(2, 4);
  tiff += Le(0, 4);
  tiff += Le(x, 4) + Le(1, 4) + Le(y, 4) + Le(1, 4);
  return Segment(0xE1, std::string("Exif\0\0", 6) + tiff);
}

class PictureInfo : public ::testing::Test {
protected:
  void SetUp() override {
    m_folder = fs::temp_directory_path() / ("folio-picture-" + std::to_string(::getpid()));
    fs::create_directories(m_folder);
  }
  void TearDown() override { fs::remove_all(m_folder); }
  CStr Write(const char* name, const std::string& bytes) const {
    std::ofstream(m_folder / name, std::ios::binary) << bytes;
    return SystemUtils::FromFsPath(m_folder / name);
  }
  // A TIFF file with a resolution in the given unit, its directory after padding bytes.
  std::string Tiff(float x, float y, std::uint16_t unit) const {
    const fs::path path = m_folder / "t.tif";
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    EXPECT_NE(tiff, nullptr);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, kW);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, kH);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, x);
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, y);
    TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, unit);
    const std::string pixels = Pixels();
    for (int row = 0; row < kH; ++row)
      TIFFWriteScanline(tiff, const_cast<char*>(pixels.data()) + row * kW * 3, static_cast<std::uint32_t>(row), 0);
    TIFFClose(tiff);
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  fs::path m_folder;
};

TEST_F(PictureInfo, EveryFormatGivesItsTypeAndPixelSize) {
  const std::string gif = std::string("GIF89a") + Le(kW, 2) + Le(kH, 2) +
                          std::string("\0\0\0\x2C\0\0\0\0", 8) + Le(kW, 2) + Le(kH, 2) +
                          std::string("\0\x02\x02\x44\x01\0\x3B", 7);
  const std::pair<std::string, std::string> cases[] = {{"png", PngBytes()}, {"jpeg", JpegBytes()}, {"bmp", BmpBytes()},
                                                       {"gif", gif}, {"tiff", Tiff(72, 72, RESUNIT_INCH)}};
  for (const auto& [type, bytes] : cases) {
    const auto info = CPictureInfo::Read(bytes);
    ASSERT_TRUE(info) << type;
    EXPECT_EQ(info->extension, type);
    EXPECT_EQ(info->contentType, "image/" + type);
    EXPECT_EQ(info->width, unsigned(kW)) << type;
    EXPECT_EQ(info->height, unsigned(kH)) << type;
    const auto size = ReadPictureSize(Write(("a." + type).c_str(), bytes));
    ASSERT_TRUE(size) << type;
    EXPECT_EQ(size->width, unsigned(kW)) << type;
  }
}

TEST_F(PictureInfo, ResolutionComesFromEachFormatsOwnField) {
  auto dpi = [](const std::string& bytes) {
    const auto info = CPictureInfo::Read(bytes);
    return info ? std::pair(info->dpiX, info->dpiY) : std::pair(0.0, 0.0);
  };
  const auto png = dpi(WithPhys(PngBytes(), 11811, 5906));  // pixels per metre
  EXPECT_NEAR(png.first, 300, 0.1);
  EXPECT_NEAR(png.second, 150, 0.1);
  EXPECT_EQ(dpi(WithSegment(JpegBytes(), Jfif(1, 300, 150))), std::pair(300.0, 150.0));
  EXPECT_EQ(dpi(WithSegment(JpegBytes(), Jfif(2, 100, 100))), std::pair(254.0, 254.0));
  EXPECT_EQ(dpi(WithSegment(JpegBytes(), Exif(200, 120))), std::pair(200.0, 120.0));
  std::string bmp = BmpBytes();
  bmp.replace(38, 8, Le(11811, 4) + Le(11811, 4));
  EXPECT_NEAR(dpi(bmp).first, 300, 0.1);
  const auto tiff = dpi(Tiff(100, 50, RESUNIT_CENTIMETER));
  EXPECT_NEAR(tiff.first, 254, 0.01);
  EXPECT_NEAR(tiff.second, 127, 0.01);
}

TEST_F(PictureInfo, MissingOrAbsurdResolutionIs96Dpi) {
  for (const std::string& bytes : {PngBytes(), WithPhys(PngBytes(), 1, 1), WithSegment(JpegBytes(), Jfif(0, 1, 1)),
                                   WithSegment(JpegBytes(), Jfif(1, 0, 60000)), Tiff(72, 72, RESUNIT_NONE)}) {
    const auto info = CPictureInfo::Read(bytes);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->dpiX, 96);
    EXPECT_EQ(info->dpiY, 96);
    EXPECT_DOUBLE_EQ(info->WidthPoints(), kW * 72.0 / 96);
  }
}

TEST_F(PictureInfo, FilesAreReadPastTheirStartOnlyWhenTheHeaderLiesFurther) {
  // A frame behind 300 kB of application segments, and a TIFF directory at its end.
  std::string jpeg = JpegBytes();
  for (int i = 0; i < 5; ++i) jpeg = WithSegment(jpeg, Segment(0xE2, std::string(60000, 'x')));
  std::string tiff = Tiff(300, 300, RESUNIT_INCH);
  const std::uint32_t directory = static_cast<std::uint32_t>(tiff.size() + 300000);
  const std::string pad(300000, '\0');
  // Move the directory: copy it behind padding and point the header there.
  const std::uint32_t old = static_cast<unsigned char>(tiff[4]) | static_cast<unsigned char>(tiff[5]) << 8 |
                            static_cast<unsigned char>(tiff[6]) << 16 | static_cast<unsigned>(static_cast<unsigned char>(tiff[7])) << 24;
  const std::string entries = tiff.substr(old);
  tiff += pad + entries;
  tiff.replace(4, 4, Le(directory, 4));
  for (const auto& [name, bytes] : {std::pair("far.jpg", jpeg), std::pair("far.tif", tiff)}) {
    ASSERT_FALSE(CPictureInfo::Read(bytes.substr(0, 256 << 10))) << name;  // the start alone is not enough
    const auto info = CPictureInfo::ReadFile(Write(name, bytes));
    ASSERT_TRUE(info) << name;
    EXPECT_EQ(info->width, unsigned(kW)) << name;
  }
}

TEST_F(PictureInfo, AnythingElseIsNoPicture) {
  const std::string png = PngBytes();
  for (const std::string& bytes : {std::string("not a picture"), std::string("II*"), std::string("II*\0garbage", 11),
                                   std::string("MM\0*\xFF\xFF\xFF\xF0", 8), png.substr(0, 20), png.substr(0, 10), std::string("\xFF\xD8\xFF", 3),
                                   std::string("BM"), std::string()})
    EXPECT_FALSE(CPictureInfo::Read(bytes)) << bytes.size();
  EXPECT_FALSE(CPictureInfo::ReadFile(Write("text.png", "not a picture")));
  EXPECT_FALSE(ReadPictureSize(SystemUtils::FromFsPath(m_folder / "missing.png")));
}

}  // namespace
