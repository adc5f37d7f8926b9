#include "CPictureCopies.h"

#include <cstdlib>
#include <string>

namespace FolioCli {

CPictureCopies::~CPictureCopies() {
  std::error_code ec;
  if (!m_folder.empty()) std::filesystem::remove_all(m_folder, ec);
}

bool CPictureCopies::MakeFolder() {
  if (!m_folder.empty()) return true;
  std::error_code ec;
  std::string pattern = (std::filesystem::temp_directory_path(ec) / "folio-pictures-XXXXXX").string();
  if (ec || !mkdtemp(pattern.data())) return false;
  m_folder = pattern;
  return true;
}

std::optional<std::filesystem::path> CPictureCopies::Copy(const std::filesystem::path& original) {
  if (!MakeFolder()) return std::nullopt;
  const std::filesystem::path copy =
      m_folder / ("picture" + std::to_string(m_count++) + original.extension().string());
  std::error_code ec;
  if (!std::filesystem::copy_file(original, copy, std::filesystem::copy_options::overwrite_existing, ec))
    return std::nullopt;
  return copy;
}

}  // namespace FolioCli
