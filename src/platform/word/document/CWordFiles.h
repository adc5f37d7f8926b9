#pragma once
#include <filesystem>
#include <memory>
#include <string>

#include "folio/util/CStr.h"
#include "platform/word/document/CWordDocument.h"

// Documents in and out of files: Office Open XML directly, other formats (binary
// .doc, RTF, PDF output) through LibreOffice.
class CWordFiles {
public:
  static std::filesystem::path PathFromText(const CStr& text);
  // The file's bytes; CComError (file not found) naming the file.
  static std::string ReadAll(const std::filesystem::path& path);
  // Writes through a temporary file in the same folder, so a failed save leaves the old file.
  static void WriteAll(const std::filesystem::path& path, const std::string& bytes);
  // Opens a document: a zip package as it is, anything else converted first.
  static std::shared_ptr<CWordDocument> Load(const std::filesystem::path& path);
  // Saves doc to path; fileFormat is Word's (0 .doc, 12 or 16 .docx, 13 .docm, 17 PDF)
  // or -1 for the format the extension names.
  static void Save(CWordDocument& doc, const std::filesystem::path& path, long fileFormat);
};
