#include "WordTestSupport.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "../PlatformTestSupport.h"

namespace wordtest {

namespace {

using platformtest::Be;

constexpr const char* kNamespaces =
    " xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\""
    " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
    " xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\""
    " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\""
    " xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\""
    " xmlns:v=\"urn:schemas-microsoft-com:vml\""
    " xmlns:o=\"urn:schemas-microsoft-com:office:office\""
    " xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\""
    " xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\"";

void Chunk(std::string& out, const std::string& type, const std::string& data) {
  const std::string body = type + data;
  const auto crc = crc32_gzip_refl(0, reinterpret_cast<const unsigned char*>(body.data()), body.size());
  out += Be(static_cast<uint32_t>(data.size()), 4) + body + Be(crc, 4);
}

// Adler-32 and a stored deflate block make a valid zlib stream without zlib.
std::string StoredZlib(const std::string& raw) {
  std::string out = "\x78\x01";
  size_t pos = 0;
  do {
    const size_t n = std::min<size_t>(65535, raw.size() - pos);
    const bool last = pos + n == raw.size();
    out += static_cast<char>(last ? 1 : 0);
    out += static_cast<char>(n & 0xFF);
    out += static_cast<char>(n >> 8);
    out += static_cast<char>(~n & 0xFF);
    out += static_cast<char>((~n >> 8) & 0xFF);
    out += raw.substr(pos, n);
    pos += n;
  } while (pos < raw.size());
  uint32_t a = 1, b = 0;
  for (unsigned char c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  return out + Be((b << 16) | a, 4);
}

}  // namespace

std::string Docx(const std::string& bodyXml, std::vector<std::pair<std::string, std::string>> extra,
                 const std::string& documentRels) {
  std::vector<std::pair<std::string, std::string>> members = {
      {"[Content_Types].xml",
       "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
       "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
       "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
       "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
       "<Default Extension=\"png\" ContentType=\"image/png\"/>"
       "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
       "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
       "</Types>"},
      {"_rels/.rels",
       "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
       "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
       "officeDocument\" Target=\"word/document.xml\"/></Relationships>"},
      {"word/document.xml", std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                                        "<w:document") +
                                kNamespaces + "><w:body>" + bodyXml + "<w:sectPr/></w:body></w:document>"},
  };
  if (!documentRels.empty())
    members.push_back({"word/_rels/document.xml.rels",
                       "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
                           documentRels + "</Relationships>"});
  for (auto& m : extra) members.push_back(std::move(m));
  return Zip(members);
}

CTempDir::CTempDir() {
  std::random_device rd;
  m_path = std::filesystem::temp_directory_path() / ("folio-word-" + std::to_string(rd()) + std::to_string(rd()));
  std::filesystem::create_directories(m_path);
}

CTempDir::~CTempDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Png(unsigned width, unsigned height, unsigned dpi) {
  std::string out = "\x89PNG\r\n\x1a\n";
  Chunk(out, "IHDR", Be(width, 4) + Be(height, 4) + std::string("\x08\x02\x00\x00\x00", 5));  // 8-bit RGB
  if (dpi > 0) {
    const uint32_t perMetre = static_cast<uint32_t>(dpi / 0.0254 + 0.5);
    Chunk(out, "pHYs", Be(perMetre, 4) + Be(perMetre, 4) + '\x01');
  }
  std::string raw;
  for (unsigned y = 0; y < height; ++y) {
    raw += '\0';
    for (unsigned x = 0; x < width; ++x) raw += std::string("\xC0\x30\x30", 3);
  }
  Chunk(out, "IDAT", StoredZlib(raw));
  Chunk(out, "IEND", "");
  return out;
}

std::string RunCommand(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
    pclose(pipe);
  }
  return out;
}

}  // namespace wordtest
