#include "HtmlCorpus.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "folio/util/CStr.h"

SHtmlCorpus LoadHtmlCorpus(const std::string& name, const std::string& folder) {
  namespace fs = std::filesystem;
  SHtmlCorpus corpus{name, {}, {}, 0, 0};
  std::error_code error;
  if (!fs::is_directory(folder, error)) return corpus;
  std::vector<fs::path> paths;
  for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
    const std::string extension = entry.path().extension().string();
    if (entry.is_regular_file() && (extension == ".html" || extension == ".htm"))
      paths.push_back(entry.path());
  }
  std::sort(paths.begin(), paths.end());
  for (const fs::path& path : paths) {
    std::ifstream file(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), {});
    std::u16string text;
    AppendUtf16(bytes, text);
    corpus.bytes += bytes.size();
    corpus.chars += text.size();
    corpus.utf8.push_back(std::move(bytes));
    corpus.utf16.push_back(std::move(text));
  }
  return corpus;
}
