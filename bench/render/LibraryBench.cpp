// The library path without the command-line host: one process creates many reports from
// one template, so that what each Activate costs on its own is visible. The host's
// callback answers from a table built once, as a real host looks up its results.
//   bench_render [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "folio/folio.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder for one benchmark, removed afterwards.
class CWorkFolder {
public:
  CWorkFolder() {
    std::string pattern = (fs::temp_directory_path() / "folio-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    m_path = pattern;
  }
  ~CWorkFolder() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
  }
  CStr operator/(const std::string& name) const { return CStr::FromUtf8((m_path / name).string()); }

private:
  fs::path m_path;
};

// The page of the whole-process benchmark: a table of n img placeholders, one per row.
CStr FlatTemplate(int n) {
  CStr page = u"<html>\r\n<head>\r\n<title>Benchmark</title>\r\n</head>\r\n<body>\r\n<table>\r\n";
  for (int i = 0; i < n; ++i) {
    CKORIControlValue description;
    description.SetGroup(u"Bench");
    description.SetField(u"Value");
    description.SetParameter1(CStr::DoStringFormat(u"P%04d", i));
    CStr packed = description.Pack();
    packed.Replace(u"\r", u"&#13;");
    packed.Replace(u"\n", u"&#10;");
    packed.Replace(u"\t", u"&#9;");
    page += CStr::DoStringFormat(u"<tr><td>P%04d</td><td><img width=80 height=16 alt=\"%s\"></td></tr>\r\n", i,
                                 packed);
  }
  return page + u"</table>\r\n</body>\r\n</html>\r\n";
}

// Answers "P<i>" by i: a text, an integer with unit or a number with precision and unit.
void Answer(CKORIControlValue& record) {
  const CStr name = record.GetParameter1();
  const int i = name.GetLength() > 1 ? std::atoi(name.Mid(1).ToUtf8().c_str()) : 0;
  switch (i % 3) {
    case 0:
      record.SetType(CKORIControlValue::eText);
      record.SetText(CStr::DoStringFormat(u"sample %d of the batch", i));
      break;
    case 1:
      record.SetType(CKORIControlValue::eInteger);
      record.SetInteger(i * 7);
      record.SetUnit(u"px");
      break;
    default:
      record.SetType(CKORIControlValue::eFloat);
      record.SetFloat(1.0 + i / 997.0);
      record.SetPrecision(4);
      record.SetUnit(u"nm");
      break;
  }
}

// One report per iteration from one template, each to a new file (removed outside the
// timing). The first Activate reads the template; the others find it cached.
void ActivateReports(benchmark::State& state) {
  const CWorkFolder folder;
  const CStr templatePath = folder / "flat.htm";
  TextFile::Write(templatePath, FlatTemplate(static_cast<int>(state.range(0))));
  CFolio folio;
  folio.SetTemplate(templatePath);
  folio.SetGetValueCallback([&folio] { Answer(folio.GetKORIControlValue()); });
  int k = 0;
  for (auto _ : state) {
    const CStr report = folder / ("report_" + std::to_string(k++) + ".htm");
    folio.SetReport(report);
    folio.SetReportOptions(eOverwrite);
    folio.SetProcessWholeFileAtOnce(false);
    folio.SetLivesheeterProcessingType(ePreface);
    folio.SetLivesheeterProcessingType(eBody);
    bool ok = true;
    if (!folio.Activate(ok, false)) state.SkipWithError("Activate failed");
    state.PauseTiming();
    std::error_code ec;
    fs::remove(SystemUtils::ToFsPath(report), ec);
    state.ResumeTiming();
  }
  CFolio::ClearTemplateCache();
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.counters["placeholders"] = static_cast<double>(state.range(0));
}

}  // namespace

// 1,000 reports each: a page of 8 placeholders shows the fixed cost of a report, pages
// of 1,000 and 10,000 what each placeholder adds.
BENCHMARK(ActivateReports)->Arg(8)->Arg(1000)->Iterations(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(ActivateReports)->Arg(10000)->Iterations(100)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
