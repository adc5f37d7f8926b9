#pragma once
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Conversions through LibreOffice run headless, each with a private profile and a
// time limit; the output file, not the exit status, tells whether it worked.
class CLibreOffice {
public:
  // soffice from $FOLIO_SOFFICE, else from the PATH; nothing when not installed.
  static std::optional<std::filesystem::path> Find();
  // Converts input into outDir ("docx:MS Word 2007 XML", "doc:MS Word 97", "pdf");
  // returns the file made. CComError naming what to install when soffice is missing,
  // or what failed.
  static std::filesystem::path Convert(const std::filesystem::path& input, const std::filesystem::path& outDir,
                                       const std::string& filter,
                                       std::chrono::seconds timeout = std::chrono::seconds(120));
  // Converts several files in one run (LibreOffice starts once); returns the files made,
  // in input order. CComError when any is missing.
  static std::vector<std::filesystem::path> ConvertAll(const std::vector<std::filesystem::path>& inputs,
                                                       const std::filesystem::path& outDir, const std::string& filter,
                                                       std::chrono::seconds timeout = std::chrono::seconds(300));
};
