#include "platform/picture/PictureSize.h"

#include "platform/picture/CPictureInfo.h"

std::optional<SPictureSize> ReadPictureSize(const CStr& path) {
  const auto info = CPictureInfo::ReadFile(path);
  if (!info) return std::nullopt;
  return SPictureSize{info->width, info->height};
}
