#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include <stb_image_write.h>
#include <tiffio.h>

#include "folio/util/SystemUtils.h"
#include "platform/picture/PictureSize.h"

namespace fs = std::filesystem;

namespace {

class PictureSize : public ::testing::Test {
protected:
  void SetUp() override {
    m_folder = fs::temp_directory_path() / ("folio-picture-" + std::to_string(::getpid()));
    fs::create_directories(m_folder);
  }
  void TearDown() override { fs::remove_all(m_folder); }
  std::string File(const char* name) const { return (m_folder / name).string(); }
  fs::path m_folder;
};

TEST_F(PictureSize, ReadsEveryFormatFromItsHeader) {
  const int w = 37, h = 21;
  std::vector<unsigned char> pixels(w * h * 3, 128);
  ASSERT_TRUE(stbi_write_png(File("a.png").c_str(), w, h, 3, pixels.data(), w * 3));
  ASSERT_TRUE(stbi_write_jpg(File("a.jpg").c_str(), w, h, 3, pixels.data(), 80));
  ASSERT_TRUE(stbi_write_bmp(File("a.bmp").c_str(), w, h, 3, pixels.data()));
  // A minimal GIF: header, screen descriptor, image descriptor, one LZW block, trailer.
  const unsigned char gif[] = {'G', 'I', 'F', '8', '9', 'a', 37, 0, 21, 0, 0, 0, 0,
                               0x2C, 0, 0, 0, 0, 37, 0, 21, 0, 0, 2, 2, 0x44, 0x01, 0, 0x3B};
  std::ofstream(File("a.gif"), std::ios::binary).write(reinterpret_cast<const char*>(gif), sizeof gif);
  TIFF* tiff = TIFFOpen(File("a.tif").c_str(), "w");
  ASSERT_NE(tiff, nullptr);
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, w);
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, h);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  for (int row = 0; row < h; ++row) TIFFWriteScanline(tiff, pixels.data() + row * w * 3, row, 0);
  TIFFClose(tiff);

  for (const char* name : {"a.png", "a.jpg", "a.bmp", "a.gif", "a.tif"}) {
    const auto size = ReadPictureSize(SystemUtils::FromFsPath(m_folder / name));
    ASSERT_TRUE(size.has_value()) << name;
    EXPECT_EQ(size->width, 37u) << name;
    EXPECT_EQ(size->height, 21u) << name;
  }
}

TEST_F(PictureSize, AnythingElseHasNoSize) {
  std::ofstream(File("text.png")) << "not a picture";
  std::ofstream(File("short.tif"), std::ios::binary) << "II*";
  std::ofstream(File("broken.tif"), std::ios::binary) << std::string("II*\0garbage", 11);
  EXPECT_FALSE(ReadPictureSize(SystemUtils::FromFsPath(m_folder / "text.png")));
  EXPECT_FALSE(ReadPictureSize(SystemUtils::FromFsPath(m_folder / "short.tif")));
  EXPECT_FALSE(ReadPictureSize(SystemUtils::FromFsPath(m_folder / "broken.tif")));
  EXPECT_FALSE(ReadPictureSize(SystemUtils::FromFsPath(m_folder / "missing.png")));
}

}  // namespace
