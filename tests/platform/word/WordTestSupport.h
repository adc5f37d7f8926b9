#pragma once
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/word/zip/CZipArchive.h"
#include "platform/word/zip/CZipWriter.h"

namespace wordtest {

constexpr const char* kW = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";

// A zip archive of the given (name, content) members.
inline std::string Zip(const std::vector<std::pair<std::string, std::string>>& members) {
  std::vector<SZipSource> sources;
  for (const auto& [name, data] : members) sources.push_back({name, data});
  return CZipWriter::ToBytes(sources);
}

// A minimal .docx whose body holds bodyXml (namespaces w, wp, a, pic, r, v, o, mc, wps
// declared), plus any extra members.
std::string Docx(const std::string& bodyXml, std::vector<std::pair<std::string, std::string>> extra = {},
                 const std::string& documentRels = "");

// A temporary folder removed with the object.
class CTempDir {
public:
  CTempDir();
  ~CTempDir();
  std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
  const std::filesystem::path& Path() const { return m_path; }

private:
  std::filesystem::path m_path;
};

std::string ReadFile(const std::filesystem::path& path);
// What a shell command prints on standard output (empty when it cannot start).
std::string RunCommand(const std::string& command);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
// A PNG of width x height pixels, with a pHYs chunk when dpi > 0.
std::string Png(unsigned width, unsigned height, unsigned dpi = 0);

}  // namespace wordtest
