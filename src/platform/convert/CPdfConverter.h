#pragma once
#include <chrono>
#include <filesystem>
#include <string>

namespace FolioConvert {

// HTML reports are printed by headless Chromium: it shows them as a browser does,
// pictures included (LibreOffice does not read "report_files\Image_000.png" as a path
// on Linux, so its PDF loses every picture). Word reports go through LibreOffice.
enum class EPdfEngine { eChromium, eLibreOffice, eNone };

EPdfEngine EngineFor(const std::filesystem::path& document);

struct SPdfResult {
  bool ok = false;
  std::string error;  // the user's message when !ok
};

// pdf beside document: same name, extension ".pdf".
std::filesystem::path PdfPathFor(const std::filesystem::path& document);

// One cold conversion: a converter process with its own private profile, ended after
// timeout. The PDF is written to a temporary file beside pdf and renamed over it, so
// an existing PDF survives a failed conversion.
SPdfResult ConvertToPdf(const std::filesystem::path& document, const std::filesystem::path& pdf,
                        std::chrono::seconds timeout);

// Moves a finished PDF over target in one rename (through a temporary file beside it
// when the two are on different file systems).
SPdfResult PlacePdf(const std::filesystem::path& finished, const std::filesystem::path& target);

// The converter program on PATH for engine; empty when none is installed.
std::string ConverterProgram(EPdfEngine engine);

}  // namespace FolioConvert
