#include "platform/convert/CPdfConverter.h"

#include <algorithm>
#include <cctype>
#include <unistd.h>

#include "platform/convert/CChildProcess.h"

namespace FolioConvert {
namespace {

namespace fs = std::filesystem;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

// file:// URL with every byte outside the unreserved set percent-encoded.
std::string FileUrl(const fs::path& path) {
  static const char hex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : path.string()) {
    if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += hex[c >> 4];
      url += hex[c & 15];
    }
  }
  return url;
}

std::string LogTail(const fs::path& log) {
  std::error_code ec;
  const auto size = fs::file_size(log, ec);
  if (ec || size == 0) return std::string();
  std::FILE* file = std::fopen(log.c_str(), "rb");
  if (!file) return std::string();
  std::string text(std::min<std::uintmax_t>(size, 400), '\0');
  std::fseek(file, -static_cast<long>(text.size()), SEEK_END);
  text.resize(std::fread(text.data(), 1, text.size(), file));
  std::fclose(file);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
  return text;
}

std::vector<std::string> ChromiumCommand(const fs::path& program, const fs::path& document, const fs::path& profile,
                                         const fs::path& out) {
  std::vector<std::string> argv = {program.string(), "--headless", "--disable-gpu", "--no-first-run",
                                   "--disable-extensions", "--no-pdf-header-footer",
                                   "--user-data-dir=" + profile.string(), "--print-to-pdf=" + out.string()};
  if (geteuid() == 0) argv.push_back("--no-sandbox");  // Chromium refuses root otherwise
  argv.push_back(FileUrl(document));
  return argv;
}

std::vector<std::string> OfficeCommand(const fs::path& program, const fs::path& document, const fs::path& profile,
                                       const fs::path& outFolder) {
  return {program.string(), "--headless", "--norestore", "--nolockcheck", "--nodefault",
          "-env:UserInstallation=" + FileUrl(profile), "--convert-to", "pdf", "--outdir", outFolder.string(),
          document.string()};
}

}  // namespace

EPdfEngine EngineFor(const fs::path& document) {
  const std::string extension = Lower(document.extension().string());
  if (extension == ".htm" || extension == ".html") return EPdfEngine::eChromium;
  if (extension == ".docx" || extension == ".docm" || extension == ".doc") return EPdfEngine::eLibreOffice;
  return EPdfEngine::eNone;
}

std::string ConverterProgram(EPdfEngine engine) {
  if (engine == EPdfEngine::eChromium) {
    for (const char* name : {"chromium", "chromium-browser", "google-chrome"})
      if (!FindProgram(name).empty()) return name;
    return std::string();
  }
  if (engine == EPdfEngine::eLibreOffice) {
    for (const char* name : {"soffice", "libreoffice"})
      if (!FindProgram(name).empty()) return name;
  }
  return std::string();
}

fs::path PdfPathFor(const fs::path& document) {
  fs::path pdf = document;
  return pdf.replace_extension(".pdf");
}

SPdfResult PlacePdf(const fs::path& finished, const fs::path& target) {
  std::error_code ec;
  fs::rename(finished, target, ec);
  if (!ec) return {true, {}};
  // Another file system: copy beside the target first, then rename.
  const fs::path beside = target.parent_path() / ("." + target.filename().string() + ".folio-new");
  fs::copy_file(finished, beside, fs::copy_options::overwrite_existing, ec);
  if (!ec) fs::rename(beside, target, ec);
  if (!ec) return {true, {}};
  fs::remove(beside, ec);
  return {false, "cannot write the PDF " + Quoted(target) + ": " + ec.message()};
}

SPdfResult ConvertToPdf(const fs::path& document, const fs::path& pdf, std::chrono::seconds timeout) {
  std::error_code ec;
  const fs::path source = fs::absolute(document, ec);
  if (!fs::is_regular_file(source, ec)) return {false, "the report " + Quoted(document) + " does not exist"};
  const EPdfEngine engine = EngineFor(source);
  if (engine == EPdfEngine::eNone)
    return {false, "cannot make a PDF of " + Quoted(document) + ": only .htm, .html, .docx, .docm and .doc reports"};
  const std::string name = ConverterProgram(engine);
  if (name.empty())
    return {false, engine == EPdfEngine::eChromium
                       ? "cannot make a PDF of an HTML report: Chromium is not installed (apt install chromium)"
                       : "cannot make a PDF of a Word report: LibreOffice is not installed "
                         "(apt install libreoffice-writer-nogui)"};
  const CPrivateFolder work("folio-pdf");
  if (work.Path().empty()) return {false, "cannot create a private folder for the PDF conversion"};
  const fs::path out = work.Path() / "out";
  fs::create_directory(out, ec);
  const fs::path log = work.Path() / "log";
  const fs::path made = engine == EPdfEngine::eChromium ? out / "report.pdf" : out / (source.stem().string() + ".pdf");
  const std::vector<std::string> argv = engine == EPdfEngine::eChromium
                                            ? ChromiumCommand(name, source, work.Path() / "profile", made)
                                            : OfficeCommand(name, source, work.Path() / "profile", out);
  CChildProcess converter(argv, log);
  if (!converter.Running()) return {false, "cannot start " + name};
  const int status = converter.Wait(timeout);
  if (status < 0)
    return {false, "making a PDF of " + Quoted(document) + " took longer than " + std::to_string(timeout.count()) +
                       " s; " + name + " was stopped"};
  if (status != 0 || !fs::is_regular_file(made, ec) || fs::file_size(made, ec) == 0) {
    const std::string tail = LogTail(log);
    return {false, name + " could not make a PDF of " + Quoted(document) + (tail.empty() ? "" : ": " + tail)};
  }
  return PlacePdf(made, fs::absolute(pdf, ec));
}

}  // namespace FolioConvert
