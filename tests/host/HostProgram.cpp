// A host as a user would write one: only the umbrella header, only the shared library.
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "folio/folio.h"

namespace {

int failures = 0;

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "host program: %s\n", what);
    ++failures;
  }
}

}  // namespace

int main() {
  CKORIControlValue value;
  value.SetVersion(2000u);
  value.SetGroup(u"Roughness");
  value.SetField(u"RoughnessParameter");
  value.SetParameter1(u"Sa");
  value.SetType(CKORIControlValue::eFloat);
  value.SetFloat(1.2345);
  value.SetPrecision(4);
  value.SetUnit(u"nm");
  Check(value.DisplayString() == CStr(u" 1.234 nm") || value.DisplayString() == CStr(u" 1.235 nm"),
        "display string of 1.2345 nm at precision 4");

  CStr packed = value.Pack();
  CKORIControlValue copy;
  Check(copy.Unpack(packed), "unpack of a packed record");
  Check(copy.GetParameter1() == CStr(u"Sa"), "parameter survives packing");

  CKORIControlValue legacy;
  legacy.SetGroup(u"General");
  legacy.SetField(u"xrange");
  Check(CKORIExtractor::TranslateLegacyDescription(legacy) == CKORIControlValue::eExtractOk,
        "legacy translation");
  Check(legacy.GetField() == CStr(u"range"), "legacy field renamed");

  try {
    CStr(u"abc").AsDouble();
    Check(false, "conversion error expected");
  } catch (const EInput& e) {
    Check(e.GetMessage() == CStr(u"Could not convert to value of type double: \"abc\""),
          "conversion message");
  }
  // A whole report through the reporter, as a measurement program drives it.
  char folder[] = "/tmp/folio-host-XXXXXX";
  Check(mkdtemp(folder) != nullptr, "scratch folder");
  const CStr base = CStr::FromUtf8(folder);
  const CStr templatePath = base + u"/template.htm";
  packed.Replace(u"\r\n", u"&#13;&#10;");  // the value packed above is the placeholder
  TextFile::Write(templatePath, u"<html><body>Sa = <img alt=\"" + packed + u"\"></body></html>");
  CFolio folio;
  folio.SetTemplate(templatePath);
  folio.SetReport(base + u"/report.htm");
  folio.SetReportOptions(eOverwrite);
  folio.SetLivesheeterProcessingType(eBody);
  folio.SetGetValueCallback([&folio] {
    CKORIControlValue& v = folio.GetKORIControlValue();
    v.SetType(CKORIControlValue::eFloat);
    v.SetFloat(0.4213);
    v.SetPrecision(3);
    v.SetUnit(u"nm");
  });
  bool ok = true;
  Check(folio.Activate(ok, false) && ok, "activate");
  Check(TextFile::Read(base + u"/report.htm") == CStr(u"<html><body>Sa = 0.421 nm</body></html>"), "report text");
  SystemUtils::FileOperationWithCompanion(templatePath, CStr(), SystemUtils::eDelete);
  SystemUtils::FileOperationWithCompanion(base + u"/report.htm", CStr(), SystemUtils::eDelete);
  rmdir(folder);

  std::printf("host program: %s\n", failures ? "FAILED" : "ok");
  return failures ? 1 : 0;
}
