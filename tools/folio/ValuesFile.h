#pragma once
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "SValueEntry.h"

namespace FolioCli {

// A values file that cannot be used; the text names the file and the entry.
class EValuesFile : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Reads values-file JSON. Picture paths are taken relative to baseFolder and must exist
// there or below, links resolved; pictureFolders are further folders the user allows
// pictures from. source names the file in messages.
SValuesFile ParseValuesFile(std::string_view json, const std::filesystem::path& baseFolder,
                            const std::string& source, const std::vector<std::filesystem::path>& pictureFolders = {});
// Reads the file at path; pictures are relative to its folder.
SValuesFile LoadValuesFile(const std::filesystem::path& path,
                           const std::vector<std::filesystem::path>& pictureFolders = {});

}  // namespace FolioCli
