#include "ValuesFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ValuesReader.h"

namespace FolioCli {
namespace {

SValuesFile ReadValues(std::string text, const std::filesystem::path& baseFolder, const std::string& source,
                       const std::vector<std::filesystem::path>& pictureFolders) {
  auto measurements = std::make_shared<SMeasurementsText>();
  SValuesPlace& place = measurements->place;
  place.source = source;
  place.baseFolder = baseFolder;
  // Compared as the disk has them, so that neither "../" nor a link leads out.
  std::error_code ec;
  place.pictureFolders.push_back(std::filesystem::weakly_canonical(baseFolder, ec));
  for (const auto& folder : pictureFolders) place.pictureFolders.push_back(std::filesystem::weakly_canonical(folder, ec));
  measurements->text = std::move(text);
  SValuesFile file;
  file.values = ReadValuesText(*measurements);
  // A list grown by doubling would keep up to twice its entries' room.
  file.values.shrink_to_fit();
  if (!measurements->spans.empty()) file.measurements = std::move(measurements);
  return file;
}

// The whole file, read by its real length rather than the length it claims.
std::optional<std::string> ReadAll(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string text;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) text.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[1 << 16];
  ssize_t got = 0;
  while ((got = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<std::size_t>(got));
  ::close(fd);
  if (got < 0) return std::nullopt;
  return text;
}

}  // namespace

std::size_t SValuesFile::MeasurementCount() const { return measurements ? measurements->spans.size() : 0; }

ValueList SValuesFile::Measurement(std::size_t k) const { return ReadMeasurementText(*measurements, k); }

SValuesFile ParseValuesFile(std::string_view text, const std::filesystem::path& baseFolder,
                            const std::string& source, const std::vector<std::filesystem::path>& pictureFolders) {
  return ReadValues(std::string(text), baseFolder, source, pictureFolders);
}

SValuesFile LoadValuesFile(const std::filesystem::path& path, const std::vector<std::filesystem::path>& pictureFolders) {
  std::optional<std::string> text = ReadAll(path);
  if (!text) throw EValuesFile(path.string() + ": cannot be read");
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::absolute(path, ec).parent_path();
  return ReadValues(std::move(*text), folder, path.string(), pictureFolders);
}

}  // namespace FolioCli
