// A host as a user would write one: only the umbrella header, only the shared library.
#include <cstdio>

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
  std::printf("host program: %s\n", failures ? "FAILED" : "ok");
  return failures ? 1 : 0;
}
