// Characters per second of the HTML reader and of three peers on the same files.
// bench/html/run.sh fetches the corpora; FOLIO_HTML_PAGES and FOLIO_PYTHON_DOCS
// name their folders.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "HtmlCorpus.h"
#include "PeerParsers.h"
#include "html/CHTMLReader.h"

namespace {

// Takes every event and only counts.
class CCountingSink : public IHTMLReaderEvents {
public:
  size_t events = 0, textUnits = 0;
  void BeginParse(uint32_t, bool& abort) override { abort = false; ++events; }
  void StartTag(CHTMLTag*, uint32_t, uint32_t, uint32_t, bool& abort) override { abort = false; ++events; }
  void EndTag(CHTMLTag*, uint32_t, uint32_t, uint32_t, bool& abort) override { abort = false; ++events; }
  void Characters(const CStr& text, uint32_t, bool& abort) override {
    abort = false;
    ++events;
    textUnits += text.GetLength();
  }
  void Comment(const CStr&, uint32_t, bool& abort) override { abort = false; ++events; }
  void EndParse(uint32_t, bool) override { ++events; }
};

const SHtmlCorpus& Corpus(int which) {
  static const SHtmlCorpus pages = LoadHtmlCorpus(
      "pages", std::getenv("FOLIO_HTML_PAGES") ? std::getenv("FOLIO_HTML_PAGES") : "");
  static const SHtmlCorpus docs = LoadHtmlCorpus(
      "python-docs", std::getenv("FOLIO_PYTHON_DOCS") ? std::getenv("FOLIO_PYTHON_DOCS") : "");
  return which == 0 ? pages : docs;
}

bool Ready(benchmark::State& state, const SHtmlCorpus& corpus) {
  if (!corpus.utf8.empty()) return true;
  state.SkipWithError("corpus folder missing: run bench/html/run.sh");
  return false;
}

void Rate(benchmark::State& state, const SHtmlCorpus& corpus) {
  state.counters["chars/s"] =
      benchmark::Counter(double(corpus.chars), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["files"] = double(corpus.utf8.size());
  state.SetBytesProcessed(int64_t(state.iterations() * corpus.bytes));
  state.SetLabel(corpus.name);
}

void BM_FolioReader(benchmark::State& state) {
  const SHtmlCorpus& corpus = Corpus(int(state.range(0)));
  if (!Ready(state, corpus)) return;
  CCountingSink sink;
  CHTMLReader reader;
  reader.SetEventHandler(&sink);
  for (auto _ : state)
    for (const std::u16string& text : corpus.utf16) benchmark::DoNotOptimize(reader.Read(text.c_str()));
  benchmark::DoNotOptimize(sink.events);
  Rate(state, corpus);
  state.counters["events"] = double(sink.events) / double(state.iterations());
}

void BM_Utf8ToUtf16(benchmark::State& state) {
  const SHtmlCorpus& corpus = Corpus(int(state.range(0)));
  if (!Ready(state, corpus)) return;
  std::u16string text;
  for (auto _ : state)
    for (const std::string& bytes : corpus.utf8) {
      text.clear();
      AppendUtf16(bytes, text);
      benchmark::DoNotOptimize(text.data());
    }
  Rate(state, corpus);
}

void BM_Libxml2Sax(benchmark::State& state) {
  const SHtmlCorpus& corpus = Corpus(int(state.range(0)));
  if (!Ready(state, corpus)) return;
  for (auto _ : state)
    for (const std::string& bytes : corpus.utf8) benchmark::DoNotOptimize(ParseWithLibxml2Sax(bytes));
  Rate(state, corpus);
}

void BM_Gumbo(benchmark::State& state) {
  const SHtmlCorpus& corpus = Corpus(int(state.range(0)));
  if (!Ready(state, corpus)) return;
  for (auto _ : state)
    for (const std::string& bytes : corpus.utf8) benchmark::DoNotOptimize(ParseWithGumbo(bytes));
  Rate(state, corpus);
}

void BM_Myhtml(benchmark::State& state) {
  const SHtmlCorpus& corpus = Corpus(int(state.range(0)));
  if (!Ready(state, corpus)) return;
  CMyhtmlParser parser;
  for (auto _ : state)
    for (const std::string& bytes : corpus.utf8) benchmark::DoNotOptimize(parser.Parse(bytes));
  Rate(state, corpus);
}

// Range 0: the real-world pages; 1: the Python documentation. Rates are per CPU
// second, so that other work on a shared machine does not count.
#define FOLIO_CORPORA(bench) BENCHMARK(bench)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)
FOLIO_CORPORA(BM_Utf8ToUtf16);
FOLIO_CORPORA(BM_FolioReader);
FOLIO_CORPORA(BM_Libxml2Sax);
FOLIO_CORPORA(BM_Gumbo);
FOLIO_CORPORA(BM_Myhtml);

}  // namespace

BENCHMARK_MAIN();
