// Time on inputs built to make a careless reader quadratic: each shape at doubling
// sizes, so that the time per unit shows whether the cost stays linear.
#include <benchmark/benchmark.h>

#include <string>

#include "HostileZip.h"
#include "folio/html/CHTMLEventHandler.h"
#include "folio/util/CStr.h"
#include "platform/com/CComError.h"
#include "platform/com/CCompoundFile.h"
#include "platform/picture/CPictureInfo.h"

namespace {

std::u16string Repeat(std::u16string_view unit, size_t size) {
  std::u16string text;
  while (text.size() < size) text += unit;
  return text;
}

// Template text through the element collector, as a report reads its template.
void Collect(benchmark::State& state, const std::u16string& text) {
  for (auto _ : state) {
    CHTMLEventHandler collector;
    collector.Collect(text);
    benchmark::DoNotOptimize(collector.GetObjectInfo(0));
  }
  state.SetComplexityN(int64_t(text.size()));
  state.SetBytesProcessed(int64_t(state.iterations() * text.size() * 2));
}

// Unquoted values that swallow the next tag's "<", runs of attributes that never
// reach a ">".
void BM_Attributes(benchmark::State& state) {
  Collect(state, Repeat(state.range(1) ? u"<a y=x" : u"<a y=", size_t(state.range(0))));
}

// An img placeholder whose alt text is all references, each different, some repeated.
void BM_References(benchmark::State& state) {
  std::u16string alt;
  for (int i = 0; alt.size() < size_t(state.range(0)); ++i)
    alt += u"&#" + CStr::DoStringFormat(u"%d", i % 50000).Str() + (i % 3 ? u";" : u";&lt;&#65&lt;");
  Collect(state, u"<img alt=\"" + alt + u"\">");
}

void BM_Replace(benchmark::State& state) {
  const CStr text(Repeat(u"Mean of x; ", size_t(state.range(0))));
  for (auto _ : state) {
    CStr copy = text;
    benchmark::DoNotOptimize(copy.Replace(u"Mean", u"Average"));
  }
  state.SetComplexityN(state.range(0));
}

// Archives of 1 kB members, opened and every member inflated. kind 0: a plain archive;
// 1: members that share one another's data, each declaring far more than it holds;
// 2: members whose directory entry claims 50 kB more than their data inflates to (the local
// header leaves its sizes to a data descriptor).
void Zip(benchmark::State& state, int kind) {
  SHostileZip recipe;
  const size_t members = size_t(state.range(0)) / 1024;
  for (size_t i = 0; i < members; ++i) {
    SHostileMember m = HostileZip::Member("word/p" + std::to_string(i) + ".xml", std::string(900, char('a' + i % 26)));
    if (kind == 1) {
      m.sharesDataOf = i ? 0 : -1;
      m.centralSizeDelta = 200 << 20;
    } else if (kind == 2) {
      m.dataDescriptor = true;
      m.centralSizeDelta = 50000;
    }
    recipe.members.push_back(std::move(m));
  }
  const std::string bytes = HostileZip::Build(recipe);
  SZipLimits limits;
  limits.maxEntries = 1 << 20;
  size_t refused = 0;
  for (auto _ : state) {
    try {
      auto archive = CZipArchive::Open(bytes, nullptr, limits);
      for (size_t i = 0; i < archive->Members().size(); ++i) {
        try {
          benchmark::DoNotOptimize(archive->Inflate(i));
        } catch (const CComError&) {
          ++refused;  // a member that lies is refused on its own; the others are still read
        }
      }
    } catch (const CComError&) {
      ++refused;
    }
  }
  state.counters["refusals"] = double(refused) / double(state.iterations());
  state.SetComplexityN(int64_t(bytes.size()));
  state.SetBytesProcessed(int64_t(state.iterations() * bytes.size()));
}

void BM_Zip(benchmark::State& state) { Zip(state, 0); }
void BM_ZipOverlapping(benchmark::State& state) { Zip(state, 1); }
void BM_ZipLyingSizes(benchmark::State& state) { Zip(state, 2); }

// Many empty streams whose chains all start at the head of one long chain.
void BM_CompoundFile(benchmark::State& state) {
  SCompoundFile file;
  file.streams.push_back({u"Long", std::string(size_t(state.range(0)) / 2, 'x')});
  for (int i = 0; uint64_t(i) * 512 < uint64_t(state.range(0)) / 2; ++i)
    file.streams.push_back({u"E" + CStr::DoStringFormat(u"%d", i).Str(), std::string()});
  std::string bytes = CCompoundFile::Write(file);
  // Point every empty stream at the long stream's first sector.
  const auto u32 = [&](size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | uint8_t(bytes[at + size_t(i)]);
    return v;
  };
  const size_t directory = (size_t(u32(48)) + 1) * 512;
  const std::string longName("L\0o\0n\0g\0\0\0", 10);
  std::string start;
  for (size_t at = directory; at + 128 <= bytes.size() && bytes[at + 66] != 0; at += 128)
    if (bytes.compare(at, 10, longName) == 0) start = bytes.substr(at + 116, 4);
  for (size_t at = directory; at + 128 <= bytes.size() && bytes[at + 66] != 0; at += 128)
    if (bytes[at + 66] == 2 && u32(at + 120) == 0) bytes.replace(at + 116, 4, start);
  for (auto _ : state) {
    try {
      benchmark::DoNotOptimize(CCompoundFile::Read(bytes));
    } catch (const CComError&) {
    }
  }
  state.SetComplexityN(int64_t(bytes.size()));
}

// JPEG segments whose EXIF directories claim 65535 entries in a few bytes.
void BM_Jpeg(benchmark::State& state) {
  const std::string exif = std::string("Exif\0\0II*\0\x08\0\0\0\xFF\xFF", 16);
  const std::string segment = std::string("\xFF\xE1\0", 3) + char(exif.size() + 2) + exif;
  std::string bytes = "\xFF\xD8";
  while (bytes.size() < size_t(state.range(0))) bytes += segment;
  bytes += std::string("\xFF\xC0\0\x0B\x08\0\x64\0\xC8\x01\x01\x11\0", 14);
  for (auto _ : state) benchmark::DoNotOptimize(CPictureInfo::Read(bytes));
  state.SetComplexityN(int64_t(bytes.size()));
}

void Doubling(benchmark::internal::Benchmark* bench) {
  for (int64_t variant : {0, 1})
    for (int64_t size = 1 << 17; size <= 1 << 21; size *= 2) bench->Args({size, variant});
}

void DoublingOne(benchmark::internal::Benchmark* bench) {
  for (int64_t size = 1 << 17; size <= 1 << 21; size *= 2) bench->Args({size});
}

BENCHMARK(BM_Attributes)->Apply(Doubling)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_References)->Apply(DoublingOne)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Replace)->Apply(DoublingOne)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Zip)->Apply(DoublingOne)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZipOverlapping)->Apply(DoublingOne)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZipLyingSizes)->Apply(DoublingOne)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompoundFile)->Apply(DoublingOne)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Jpeg)->Apply(DoublingOne)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
