#pragma once
#include <optional>

#include "folio/util/CStr.h"

// Pixel size of a picture file.
struct SPictureSize {
  unsigned width = 0;
  unsigned height = 0;
};

// Reads the size from the file's header (PNG, JPEG, GIF, BMP, TIFF); nothing when the
// file is missing or not such a picture.
std::optional<SPictureSize> ReadPictureSize(const CStr& path);
