#include "WordFixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace wordtest;

namespace {

const std::string kLegacyMark = "LEGACY\n";

class LegacyFormat : public WordFixture {
protected:
  void SetUp() override {
    WordFixture::SetUp();
    setenv("FOLIO_SOFFICE", FOLIO_COUNTING_SOFFICE, 1);
    setenv("FOLIO_SOFFICE_LOG", (dir / "runs").c_str(), 1);
  }
  void TearDown() override {
    unsetenv("FOLIO_SOFFICE");
    unsetenv("FOLIO_SOFFICE_LOG");
    WordFixture::TearDown();
  }
  int Conversions() {
    std::ifstream runs(dir / "runs");
    int n = 0;
    for (std::string line; std::getline(runs, line);) ++n;
    return n;
  }
};

// A report run converts the same template copy on every pass and saves each merged
// report twice; converting each time cost seconds.
TEST_F(LegacyFormat, TheSameBytesAreConvertedOnceInEachDirection) {
  WriteFile(dir / "template.doc", kLegacyMark + Docx(P("Hello")));
  auto doc = app->Documents()->Open(Path("template.doc"));
  EXPECT_EQ(Conversions(), 1);
  doc->Range(CVariant::I4(0), CVariant::I4(5))->SetText(u"World");
  doc->SaveAs(Path("report.doc"));
  doc->SaveAs(Path("copy.doc"));
  EXPECT_EQ(Conversions(), 2);
  EXPECT_EQ(ReadFile(dir / "copy.doc"), ReadFile(dir / "report.doc"));

  EXPECT_EQ(Utf8(app->Documents()->Open(Path("template.doc"))->Content()->Text()), "Hello\r");
  EXPECT_EQ(Conversions(), 2);
  // A saved file is opened from what converting it gives, never from what was saved,
  // so a check of what the format kept stays honest.
  EXPECT_EQ(Utf8(app->Documents()->Open(Path("report.doc"))->Content()->Text()), "World\r");
  EXPECT_EQ(Conversions(), 3);

  // Changed on disk: converted afresh.
  WriteFile(dir / "template.doc", kLegacyMark + Docx(P("Changed")));
  EXPECT_EQ(Utf8(app->Documents()->Open(Path("template.doc"))->Content()->Text()), "Changed\r");
  EXPECT_EQ(Conversions(), 4);
}

}  // namespace
