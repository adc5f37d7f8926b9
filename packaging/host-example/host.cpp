// A measurement program's report step, the smallest it can be: fills TEMPLATE into
// REPORT, answering each placeholder from what the program measured.
#include <cstdio>

#include "folio/folio.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: host TEMPLATE REPORT\n");
    return 2;
  }
  CFolio folio;
  folio.SetTemplate(CStr::FromUtf8(argv[1]));
  folio.SetReport(CStr::FromUtf8(argv[2]));
  folio.SetReportOptions(eUnconfirmedOverwrite);  // replace an earlier report
  folio.SetProcessWholeFileAtOnce(true);          // preface, body and summary in one pass
  folio.SetLivesheeterProcessingType(eBody);
  int filled = 0;
  folio.SetGetValueCallback([&folio, &filled] {
    CKORIControlValue& value = folio.GetKORIControlValue();  // the placeholder's description
    if (value.GetField() == CStr(u"RoughnessParameter")) {
      value.SetType(CKORIControlValue::eFloat);
      value.SetFloat(value.GetParameter1() == CStr(u"Sa") ? 0.4213 : 0.5377);
      value.SetPrecision(3);
      value.SetUnit(u"nm");
    } else {
      value.SetType(CKORIControlValue::eText);
      value.SetText(u"(" + value.GetGroup() + u" " + value.GetField() + u")");
    }
    ++filled;
  });
  bool ok = true;
  if (!folio.Activate(ok, /*showProgress=*/false) || !ok) {
    std::fprintf(stderr, "host: no report: %s\n", folio.GetError().ToUtf8().c_str());
    return 1;
  }
  std::printf("%s: %d placeholders filled\n", argv[2], filled);
  return 0;
}
