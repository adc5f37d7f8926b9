// Opens a 100-page document with 50 pictures and 100 placeholder shapes, replaces
// every placeholder by text and saves it: in process, as a whole process, and the same
// work done by python-docx as a whole process.
//   bench_word                      run the benchmarks
//   bench_word --replace IN OUT     do the work once (bench_word_replace IN OUT does only that)
//   bench_word --make FILE          write the input document
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <fstream>
#include <iostream>
#include <sstream>
#include <unistd.h>

#include "ReplacePlaceholders.h"
#include "platform/com/ComRuntime.h"
#include "platform/word/zip/CZipWriter.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPages = 100, kParagraphsPerPage = 12, kPictures = 50, kPlaceholders = 100;

void PutBigEndian(std::string& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

void Chunk(std::string& out, const char* type, const std::string& data) {
  PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
  const std::string body = type + data;
  out += body;
  PutBigEndian(out, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
}

// A photo-like 160 x 120 PNG (noise compresses as badly as photos do), about 57 kB.
std::string Png(std::uint32_t seed) {
  constexpr std::uint32_t kWidth = 160, kHeight = 120;
  std::string raw;
  for (std::uint32_t y = 0; y < kHeight; ++y) {
    raw += '\0';
    for (std::uint32_t x = 0; x < kWidth * 3; ++x) {
      seed = seed * 1664525u + 1013904223u;
      raw += static_cast<char>(seed >> 24);
    }
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::string deflated(size, '\0');
  compress2(reinterpret_cast<Bytef*>(deflated.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
            static_cast<uLong>(raw.size()), 6);
  deflated.resize(size);
  std::string header;
  PutBigEndian(header, kWidth);
  PutBigEndian(header, kHeight);
  header += std::string("\x08\x02\x00\x00\x00", 5);
  std::string png = "\x89PNG\r\n\x1a\n";
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", deflated);
  Chunk(png, "IEND", "");
  return png;
}

std::string Drawing(int id, const std::string& descr, int media) {
  return "<w:r><w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\"><wp:extent cx=\"914400\" cy=\"457200\"/>"
         "<wp:docPr id=\"" + std::to_string(id) + "\" name=\"Picture " + std::to_string(id) + "\" descr=\"" + descr +
         "\"/><wp:cNvGraphicFramePr><a:graphicFrameLocks noChangeAspect=\"1\"/></wp:cNvGraphicFramePr><a:graphic>"
         "<a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic><pic:nvPicPr>"
         "<pic:cNvPr id=\"0\" name=\"p.png\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill><a:blip r:embed=\"rIdM" +
         std::to_string(media) + "\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/>"
         "<a:ext cx=\"914400\" cy=\"457200\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr>"
         "</pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
}

// The benchmark's input document.
std::string MakeDocument() {
  // Words drawn at random, so that the text compresses like prose and not like a pattern.
  static const char* const kWords[] = {
      "surface", "roughness", "was", "measured", "on", "every", "scan", "of", "the", "batch", "and", "parameters",
      "below", "summarise", "height", "distribution", "grain", "statistics", "spectral", "content", "each", "image",
      "in", "turn", "tip", "radius", "estimate", "area", "mean", "deviation", "skewness", "kurtosis", "peak",
      "valley", "profile", "filter", "cut-off", "wavelength", "sample", "region", "micrometre", "nanometre",
      "calibration", "drift", "correction", "levelled", "plane", "fit", "residual", "noise", "floor"};
  std::uint32_t seed = 12345;
  auto sentence = [&] {
    std::string text;
    for (int w = 0; w < 60; ++w) {
      seed = seed * 1664525u + 1013904223u;
      text += kWords[(seed >> 8) % std::size(kWords)];
      text += ' ';
    }
    return text;
  };
  std::string body;
  int id = 1, pictures = 0, placeholders = 0;
  const int paragraphs = kPages * kParagraphsPerPage;
  for (int p = 0; p < paragraphs; ++p) {
    body += "<w:p><w:r><w:t xml:space=\"preserve\">" + sentence() + "</w:t></w:r>";
    if (placeholders < kPlaceholders && p % (paragraphs / kPlaceholders) == 0)
      body += Drawing(id++, "KORI {Group=&quot;Roughness&quot; Field=&quot;Sa&quot; Index=" + std::to_string(placeholders++) + "}", 0);
    if (pictures < kPictures && p % (paragraphs / kPictures) == 1) body += Drawing(id++, "photo", 1 + pictures++);
    body += "</w:p>";
  }
  std::string rels = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  std::vector<std::pair<std::string, std::string>> media;
  for (int m = 0; m <= kPictures; ++m) {
    rels += "<Relationship Id=\"rIdM" + std::to_string(m) +
            "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" Target=\"media/image" +
            std::to_string(m) + ".png\"/>";
    media.push_back({"word/media/image" + std::to_string(m) + ".png", Png(static_cast<std::uint32_t>(m) + 1)});
  }
  rels += "</Relationships>";
  const std::string document =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<w:document "
      "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
      "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
      "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
      "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><w:body>" + body +
      "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/></w:sectPr></w:body></w:document>";
  std::vector<std::pair<std::string, std::string>> members = {
      {"[Content_Types].xml",
       "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<Types "
       "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default Extension=\"rels\" "
       "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/><Default Extension=\"xml\" "
       "ContentType=\"application/xml\"/><Default Extension=\"png\" ContentType=\"image/png\"/><Override "
       "PartName=\"/word/document.xml\" ContentType=\"application/"
       "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>"},
      {"_rels/.rels",
       "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<Relationships "
       "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" "
       "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
       "Target=\"word/document.xml\"/></Relationships>"},
      {"word/document.xml", document},
      {"word/_rels/document.xml.rels", rels}};
  for (auto& m : media) members.push_back(m);
  std::vector<SZipSource> sources;
  for (const auto& [name, data] : members) sources.push_back({name, data});
  return CZipWriter::ToBytes(sources);
}

struct SFiles {
  fs::path dir = fs::temp_directory_path() / ("folio-word-bench-" + std::to_string(::getpid()));
  std::string input = (dir / "input.docx").string();
  std::string output = (dir / "output.docx").string();
  SFiles() {
    fs::create_directories(dir);
    std::ofstream(input, std::ios::binary) << MakeDocument();
  }
  ~SFiles() { fs::remove_all(dir); }
};

SFiles& Files() {
  static SFiles files;
  return files;
}

fs::path g_self;

void BM_EngineInProcess(benchmark::State& state) {
  for (auto _ : state) ReplacePlaceholders(Files().input, Files().output);
  state.counters["input_kB"] = static_cast<double>(fs::file_size(Files().input)) / 1024;
}

void RunProcess(benchmark::State& state, const std::string& command) {
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
}

// Words for the shell, each in single quotes.
std::string Command(std::initializer_list<std::string> words) {
  std::string command;
  for (const std::string& word : words) command.append(command.empty() ? "'" : " '").append(word).append("'");
  return command;
}

void BM_EngineProcess(benchmark::State& state) {
  RunProcess(state, Command({(g_self.parent_path() / "bench_word_replace").string(), Files().input, Files().output}));
}

void BM_PythonDocxProcess(benchmark::State& state) {
  const fs::path script = fs::path(FOLIO_BENCH_WORD_DIR) / "replace_placeholders.py";
  if (std::system("/usr/bin/python3 -c 'import docx' 2>/dev/null") != 0) {
    state.SkipWithError("python3-docx is not installed (scripts/bootstrap --bench)");
    for (auto _ : state) {
    }
    return;
  }
  RunProcess(state, Command({"/usr/bin/python3", script.string(), Files().input, Files().output}));
}

BENCHMARK(BM_EngineInProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EngineProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PythonDocxProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  CoInitialize();
  g_self = fs::canonical("/proc/self/exe");
  if (argc == 3 && std::string(argv[1]) == "--make") {
    std::ofstream(argv[2], std::ios::binary) << MakeDocument();
    return 0;
  }
  if (argc == 4 && std::string(argv[1]) == "--replace") {
    ReplacePlaceholders(argv[2], argv[3]);
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
