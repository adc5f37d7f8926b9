// Time per character on input built to make a careless reader quadratic.
#include <benchmark/benchmark.h>

#include "html/CHTMLReader.h"

namespace {

const char16_t* const kPatterns[] = {
    u"<!--x-- ",       // comments whose "--" is not followed by ">"
    u"<!-- open ",     // unterminated comments
    u"<a b ",          // tags that never reach a ">"
    u"<a href='x ",    // values whose quote pairs with the next tag's
    u"<",              // a "<" on every character
    u"&a ",            // references without ";"
    u"<p a=1 b ",      // attribute runs that end without ">"
};

void BM_Pathological(benchmark::State& state) {
  const std::u16string_view pattern = kPatterns[state.range(0)];
  std::u16string text;
  while (text.size() < size_t(state.range(1))) text += pattern;
  IHTMLReaderEvents sink;
  CHTMLReader reader;
  reader.SetEventHandler(&sink);
  for (auto _ : state) benchmark::DoNotOptimize(reader.Read(text.c_str()));
  state.SetComplexityN(state.range(1));
  state.counters["chars/s"] =
      benchmark::Counter(double(text.size()), benchmark::Counter::kIsIterationInvariantRate);
}

void Sizes(benchmark::internal::Benchmark* bench) {
  for (int64_t pattern = 0; pattern < int64_t(std::size(kPatterns)); ++pattern)
    for (int64_t size : {1 << 14, 1 << 16, 1 << 18, 1 << 20}) bench->Args({pattern, size});
}

BENCHMARK(BM_Pathological)->Apply(Sizes)->Unit(benchmark::kMicrosecond);

}  // namespace
BENCHMARK_MAIN();
