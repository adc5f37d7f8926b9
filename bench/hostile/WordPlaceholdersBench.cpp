// A Word document with many placeholders, each replaced by text of another length,
// the way a report fills them: the time per placeholder must not grow with their number.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "WordBenchRanges.h"
#include "platform/com/ComRuntime.h"
#include "platform/word/om/CWordAutomation.h"
#include "platform/word/zip/CZipWriter.h"

namespace fs = std::filesystem;

namespace {

std::string Placeholder(int id) {
  const std::string n = std::to_string(id);
  return "<w:r><w:drawing><wp:inline><wp:extent cx=\"914400\" cy=\"457200\"/><wp:docPr id=\"" + n +
         "\" name=\"Picture " + n + "\" descr=\"KORI " + n + "\"/></wp:inline></w:drawing></w:r>";
}

// count paragraphs of words, each with one placeholder between two runs of text.
std::string Document(int count) {
  std::string body;
  for (int i = 1; i <= count; ++i)
    body += "<w:p><w:r><w:t xml:space=\"preserve\">Mean roughness of scan " + std::to_string(i) + ": </w:t></w:r>" +
            Placeholder(i) + "<w:r><w:t xml:space=\"preserve\"> nm, measured twice.</w:t></w:r></w:p>";
  const std::string document =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<w:document "
      "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
      "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\"><w:body>" + body +
      "<w:sectPr/></w:body></w:document>";
  const std::string types =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/"
      "content-types\"><Default Extension=\"rels\" ContentType=\"application/"
      "vnd.openxmlformats-package.relationships+xml\"/><Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
      "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>";
  const std::string rels =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/"
      "2006/relationships\"><Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
      "2006/relationships/officeDocument\" Target=\"word/document.xml\"/></Relationships>";
  return CZipWriter::ToBytes({{"[Content_Types].xml", types}, {"_rels/.rels", rels}, {"word/document.xml", document}});
}

// Values of different lengths; every third holds a tab, so the story gains atoms too.
CStr Value(long i) {
  std::u16string text(1 + static_cast<size_t>(i % 7), u'x');
  text[0] = u'v';
  if (i % 3 == 0) text += u"\t%";
  return CStr(text);
}

// A 1 x 1 PNG: only its header is read.
const std::string kPng("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x01\0\0\0\x01\x08\x02\0\0\0\x90\x77\x53\xde"
                       "\0\0\0\x0cIDATx\x9c\x63\xf8\xcf\xc0\0\0\x03\x01\x01\0\xc9\xfe\x92\xef"
                       "\0\0\0\0IEND\xae\x42\x60\x82", 69);

enum class EFill { eText, eHeldRanges, ePictures };

// Fills every placeholder, as the report does: text by the shape collection, or through
// ranges that the host took of every placeholder first and keeps while it fills them,
// or a picture put in each placeholder's place, scaled, and the placeholder removed.
void Fill(IWordDocument& doc, EFill how, const CStr& picture) {
  auto shapes = doc.InlineShapes();
  long filled = 0;
  if (how == EFill::ePictures) {
    for (long i = 1; i <= shapes->Count(); ++i) {
      auto shape = shapes->Item(i);
      if (!shape->AlternativeText().StartsWith(u"KORI")) continue;
      auto added = shapes->AddPicture(picture, CVariant::I2(0), CVariant::I2(-1), CVariant::Dispatch(shape->Range()));
      added->SetScaleWidth(50);
      shape->Delete();
    }
    return;
  }
  if (how == EFill::eHeldRanges) {
    std::vector<std::shared_ptr<IWordRange>> ranges;
    for (long i = 1; i <= shapes->Count(); ++i) ranges.push_back(shapes->Item(i)->Range());
    for (const auto& range : ranges) range->SetText(Value(++filled));
    return;
  }
  for (long i = 1; i <= shapes->Count(); ++i) {
    auto shape = shapes->Item(i);
    if (!shape->AlternativeText().StartsWith(u"KORI")) continue;
    shape->Range()->SetText(Value(++filled));
    --i;
  }
}

void WordPlaceholders(benchmark::State& state, EFill how) {
  static const bool com = (CoInitialize(), true);
  benchmark::DoNotOptimize(com);
  const fs::path file = fs::temp_directory_path() / ("folio-bench-" + std::to_string(::getpid()) + ".docx");
  std::ofstream(file, std::ios::binary) << Document(static_cast<int>(state.range(0)));
  const fs::path png = fs::path(file).replace_extension(".png");
  std::ofstream(png, std::ios::binary) << kPng;
  std::shared_ptr<IWordApplication> word;
  if (FAILED(CWordAutomation::StartWordApplication(word))) {
    state.SkipWithError("the Word engine does not start");
    return;
  }
  for (auto _ : state) {
    auto doc = word->Documents()->Open(CVariant::Text(CStr::FromUtf8(file.string())));
    Fill(*doc, how, CStr::FromUtf8(png.string()));
    doc->Close(CVariant::I2(0));
  }
  word->Quit(CVariant::I2(0));
  fs::remove(file);
  fs::remove(png);
  state.SetComplexityN(state.range(0));
}

void BM_WordPlaceholders(benchmark::State& state) { WordPlaceholders(state, EFill::eText); }
void BM_WordPlaceholdersHeldRanges(benchmark::State& state) { WordPlaceholders(state, EFill::eHeldRanges); }
void BM_WordPlaceholderPictures(benchmark::State& state) { WordPlaceholders(state, EFill::ePictures); }

BENCHMARK(BM_WordPlaceholders)->Apply(DoublingToSixteenThousand);
BENCHMARK(BM_WordPlaceholdersHeldRanges)->Apply(DoublingToSixteenThousand);
BENCHMARK(BM_WordPlaceholderPictures)->Apply(DoublingToSixteenThousand);

}  // namespace
