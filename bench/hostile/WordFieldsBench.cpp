// Word documents with many fields or many tables, worked through the way a report does:
// every field updated (all at once, or one by one as the footer's are; up to 10 MB of
// simple fields in one paragraph, or of fields nested in one another's codes; old
// results over two paragraphs or holding fields, new ones holding paragraph breaks), every
// table's range read (as an append looks for the report's last table), and a template
// of placeholders in table cells read and filled.
// The time per field or table must not grow with their number.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "WordBenchRanges.h"
#include "folio/model/CKORIControlValue.h"
#include "platform/com/ComRuntime.h"
#include "platform/word/om/CWordAutomation.h"
#include "platform/word/zip/CZipWriter.h"
#include "report/TemplateReaders.h"

namespace fs = std::filesystem;

namespace {

std::string Docx(const std::string& body, const std::string& title = "Surface survey") {
  const std::string document =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<w:document "
      "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
      "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\"><w:body>" + body +
      "<w:p/><w:sectPr/></w:body></w:document>";
  const std::string core =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/"
      "package/2006/metadata/core-properties\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title>" + title +
      "</dc:title><dc:creator>Lab 4</dc:creator></cp:coreProperties>";
  const std::string types =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/"
      "content-types\"><Default Extension=\"rels\" ContentType=\"application/"
      "vnd.openxmlformats-package.relationships+xml\"/><Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
      "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/><Override "
      "PartName=\"/docProps/core.xml\" ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
      "</Types>";
  const std::string rels =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/"
      "2006/relationships\"><Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
      "2006/relationships/officeDocument\" Target=\"word/document.xml\"/></Relationships>";
  return CZipWriter::ToBytes({{"[Content_Types].xml", types},
                              {"_rels/.rels", rels},
                              {"word/document.xml", document},
                              {"docProps/core.xml", core}});
}

// A paragraph per field: TITLE as marks with a result, AUTHOR as a simple field, and
// every third a PAGE field, which is left to the reader.
std::string Fields(int count) {
  std::string body;
  for (int i = 1; i <= count; ++i) {
    const std::string n = std::to_string(i);
    if (i % 3 == 0)
      body += "<w:p><w:r><w:t xml:space=\"preserve\">Page </w:t></w:r><w:fldSimple w:instr=\" PAGE \"><w:r><w:t>" +
              n + "</w:t></w:r></w:fldSimple></w:p>";
    else if (i % 3 == 1)
      body += "<w:p><w:r><w:t xml:space=\"preserve\">Scan " + n +
              " of </w:t></w:r><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText xml:space="
              "\"preserve\"> TITLE </w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r>"
              "<w:t>old title</w:t></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>";
    else
      body += "<w:p><w:r><w:t xml:space=\"preserve\">By </w:t></w:r><w:fldSimple w:instr=\" AUTHOR \"><w:r><w:t>"
              "nobody</w:t></w:r></w:fldSimple></w:p>";
  }
  return Docx(body);
}

// A paragraph per field whose old result runs on into the next paragraph, so that the
// update takes the result's paragraph mark away; with breaks, the title that replaces it
// holds paragraph breaks, so that each update splits the paragraph again.
std::string ParagraphFields(int count, bool breaks) {
  std::string body;
  for (int i = 1; i <= count; ++i)
    body += "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText xml:space=\"preserve\"> TITLE "
            "</w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>old " +
            std::to_string(i) + "</w:t></w:r></w:p><w:p><w:r><w:t>title</w:t></w:r><w:r><w:fldChar "
            "w:fldCharType=\"end\"/></w:r></w:p>";
  return Docx(body, breaks ? "Surface&#13;survey&#13;" : "Surface survey");
}

// A paragraph per field whose old result holds two more fields, a simple one and one
// of marks, which the update takes away.
std::string FieldsInResults(int count) {
  std::string body;
  for (int i = 1; i <= count; ++i) {
    const std::string n = std::to_string((i * 2654435761u) % 1000003u);
    body += "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText> TITLE " + n +
            "</w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:fldSimple w:instr=\" AUTHOR " + n +
            "\"><w:r><w:t>x</w:t></w:r></w:fldSimple><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText>"
            " SUBJECT </w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>" + n +
            "</w:t></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>";
  }
  return Docx(body);
}

// A placeholder's description as an attribute value.
std::string Description() {
  CKORIControlValue value;
  value.SetGroup(u"BasicInfo");
  value.SetField(u"range");
  std::string out;
  for (char c : value.Pack().ToUtf8()) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      case '<': out += "&lt;"; break;
      case '\n': out += "&#10;"; break;
      case '\r': out += "&#13;"; break;
      case '\t': out += "&#9;"; break;
      default: out += c;
    }
  }
  return out;
}

// One paragraph of simple fields without results, their codes made different so that
// the document compresses as little as a real one: 262,144 of them make 10 MB.
std::string SimpleFields(int count) {
  std::string body = "<w:p>";
  for (int i = 1; i <= count; ++i)
    body += "<w:fldSimple w:instr=\" AUTHOR " + std::to_string((i * 2654435761u) % 1000003u) + "\"/>";
  return Docx(body + "</w:p>");
}

// Fields each holding all the later ones in its code (the ends come last, innermost
// first): every code is as long as the rest of the document.
std::string NestedFields(int count) {
  std::string body = "<w:p>";
  for (int i = 1; i <= count; ++i)
    body += "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText> AUTHOR " +
            std::to_string((i * 2654435761u) % 1000003u) + "</w:instrText></w:r>";
  for (int i = 1; i <= count; ++i)
    body += "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r>";
  return Docx(body + "</w:p>");
}

std::string Placeholder(int id) {
  static const std::string description = Description();
  const std::string n = std::to_string(id);
  return "<w:r><w:drawing><wp:inline><wp:extent cx=\"914400\" cy=\"457200\"/><wp:docPr id=\"" + n +
         "\" name=\"Picture " + n + "\" descr=\"" + description + "\"/></wp:inline></w:drawing></w:r>";
}

// A one-row table per unit, a paragraph between each; with placeholders, one in the
// second cell of each row.
std::string Tables(int count, bool placeholders) {
  std::string body;
  for (int i = 1; i <= count; ++i) {
    const std::string n = std::to_string(i);
    body += "<w:tbl><w:tr><w:tc><w:p><w:r><w:t>Scan " + n + "</w:t></w:r></w:p></w:tc><w:tc><w:p>" +
            (placeholders ? Placeholder(i) : "<w:r><w:t>12 nm</w:t></w:r>") +
            "</w:p></w:tc></w:tr></w:tbl><w:p><w:r><w:t>Note " + n + "</w:t></w:r></w:p>";
  }
  return Docx(body);
}

enum class EWork { eUpdateFields, eFieldsOneByOne, eSimpleFields, eNestedFields, eParagraphFields, eBreakingFields, eFieldsInResults, eTableRanges, eTablePlaceholders };

void Work(const CStr& path, IWordApplication& word, EWork work) {
  if (work == EWork::eTablePlaceholders) benchmark::DoNotOptimize(ReadWordTemplateModel(path).Placeholders().size());
  auto doc = word.Documents()->Open(CVariant::Text(path));
  switch (work) {
    case EWork::eUpdateFields:
    case EWork::eSimpleFields:
    case EWork::eNestedFields:
    case EWork::eParagraphFields:
    case EWork::eBreakingFields:
    case EWork::eFieldsInResults: doc->Fields()->Update(); break;
    case EWork::eFieldsOneByOne: {
      auto fields = doc->Fields();
      const long count = fields->Count();
      for (long i = 1; i <= count; ++i) fields->Item(i)->Update();
      break;
    }
    case EWork::eTableRanges: {
      auto tables = doc->Tables();
      long last = 0;
      for (long t = 1; t <= tables->Count(); ++t) last = tables->Item(t)->Range()->End();
      benchmark::DoNotOptimize(last);
      break;
    }
    case EWork::eTablePlaceholders: {
      auto shapes = doc->InlineShapes();
      for (long i = shapes->Count(); i >= 1; --i) shapes->Item(i)->Range()->SetText(u"12.5 nm");
      break;
    }
  }
  doc->Close(CVariant::I2(0));
}

// The document each work is done on, of count units.
std::string Document(EWork work, int count) {
  switch (work) {
    case EWork::eUpdateFields:
    case EWork::eFieldsOneByOne: return Fields(count);
    case EWork::eSimpleFields: return SimpleFields(count);
    case EWork::eNestedFields: return NestedFields(count);
    case EWork::eParagraphFields: return ParagraphFields(count, false);
    case EWork::eBreakingFields: return ParagraphFields(count, true);
    case EWork::eFieldsInResults: return FieldsInResults(count);
    case EWork::eTableRanges: return Tables(count, false);
    case EWork::eTablePlaceholders: return Tables(count, true);
  }
  return {};
}

void WordMarks(benchmark::State& state, EWork work) {
  static const bool com = (CoInitialize(), true);
  benchmark::DoNotOptimize(com);
  const int count = static_cast<int>(state.range(0));
  const fs::path file = fs::temp_directory_path() / ("folio-bench-marks-" + std::to_string(::getpid()) + ".docx");
  std::ofstream(file, std::ios::binary) << Document(work, count);
  std::shared_ptr<IWordApplication> word;
  if (FAILED(CWordAutomation::StartWordApplication(word))) {
    state.SkipWithError("the Word engine does not start");
    return;
  }
  for (auto _ : state) Work(CStr::FromUtf8(file.string()), *word, work);
  word->Quit(CVariant::I2(0));
  fs::remove(file);
  state.SetComplexityN(state.range(0));
}

void BM_WordFieldsUpdate(benchmark::State& state) { WordMarks(state, EWork::eUpdateFields); }
void BM_WordFieldsOneByOne(benchmark::State& state) { WordMarks(state, EWork::eFieldsOneByOne); }
void BM_WordSimpleFields(benchmark::State& state) { WordMarks(state, EWork::eSimpleFields); }
void BM_WordNestedFields(benchmark::State& state) { WordMarks(state, EWork::eNestedFields); }
void BM_WordParagraphFields(benchmark::State& state) { WordMarks(state, EWork::eParagraphFields); }
void BM_WordBreakingFields(benchmark::State& state) { WordMarks(state, EWork::eBreakingFields); }
void BM_WordFieldsInResults(benchmark::State& state) { WordMarks(state, EWork::eFieldsInResults); }
void BM_WordTableRanges(benchmark::State& state) { WordMarks(state, EWork::eTableRanges); }
void BM_WordTablePlaceholders(benchmark::State& state) { WordMarks(state, EWork::eTablePlaceholders); }

BENCHMARK(BM_WordFieldsUpdate)->Apply(DoublingToSixteenThousand);
BENCHMARK(BM_WordFieldsOneByOne)->Apply(DoublingToSixteenThousand);
BENCHMARK(BM_WordSimpleFields)->RangeMultiplier(4)->Range(1 << 12, 1 << 18)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WordNestedFields)->RangeMultiplier(4)->Range(1 << 12, 1 << 16)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WordParagraphFields)->Apply(DoublingToSixteenThousand);
BENCHMARK(BM_WordBreakingFields)->Apply(DoublingToSixteenThousand);
BENCHMARK(BM_WordFieldsInResults)->Apply(DoublingToSixteenThousand);
BENCHMARK(BM_WordTableRanges)->Apply(DoublingToSixteenThousand);
BENCHMARK(BM_WordTablePlaceholders)->Apply(DoublingToSixteenThousand);

}  // namespace
