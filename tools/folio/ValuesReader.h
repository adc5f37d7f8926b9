#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "SValueEntry.h"

namespace FolioCli {

// Where a values file's pictures may come from, and its name for messages.
struct SValuesPlace {
  std::string source;
  std::filesystem::path baseFolder;
  std::vector<std::filesystem::path> pictureFolders;  // as the disk has them, the base folder first
};

// What a values file keeps of its measurements: its checked text, where each
// measurement's object stands in it, and the pictures it names as found on disk, so
// that reading a measurement again cannot fail.
struct SMeasurementsText {
  SValuesPlace place;
  std::string text;
  std::vector<std::pair<std::size_t, std::size_t>> spans;  // [begin, end) of each measurement
  std::unordered_map<std::string, std::filesystem::path> pictures;  // as written -> found
};

// RapidJSON reads fast; nlohmann-json is exact: its words tell a user's syntax error, and
// it reads whatever the fast parser refuses. Tests compare the two.
enum class EJsonParser { eFast, eExact };

// Checks the whole of file.text and gives its top-level values; the measurements'
// spans and pictures go into file. Throws EValuesFile with the first fault, the same
// fault whatever order the file's keys come in.
ValueList ReadValuesText(SMeasurementsText& file, EJsonParser parser = EJsonParser::eFast);
// The entries of measurement k of a text ReadValuesText accepted.
ValueList ReadMeasurementText(const SMeasurementsText& file, std::size_t k,
                              EJsonParser parser = EJsonParser::eFast);

}  // namespace FolioCli
