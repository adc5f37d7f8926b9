// CFolio::ExportPdf, as a host asks for the PDF of the report it wrote.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "folio/platform/ui/CScriptedWindowing.h"
#include "folio/report/CFolio.h"
#include "folio/util/SystemUtils.h"

namespace {

namespace fs = std::filesystem;

struct PdfExport : ::testing::Test {
  void SetUp() override {
    char pattern[] = "/tmp/folio-pdf-export-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    std::ofstream(folder / "report.htm") << "<html><body><p>Sa = 0.421 nm</p></body></html>";
    folio.SetReport(SystemUtils::FromFsPath(folder / "report.htm"));
  }
  void TearDown() override { fs::remove_all(folder); }

  fs::path folder;
  CFolio folio;
  std::shared_ptr<CScriptedWindowing> windowing = std::make_shared<CScriptedWindowing>();
  CScopedWindowing scope{windowing};
};

TEST_F(PdfExport, WritesThePdfBesideTheReport) {
  if (std::system("command -v chromium >/dev/null 2>&1") != 0) GTEST_SKIP() << "Chromium is not installed";
  ASSERT_TRUE(folio.ExportPdf());
  std::ifstream pdf(folder / "report.pdf", std::ios::binary);
  char magic[5] = {};
  pdf.read(magic, 4);
  EXPECT_STREQ(magic, "%PDF");
}

TEST_F(PdfExport, AMissingConverterIsNamedToTheUser) {
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", folder.c_str(), 1);
  const bool done = folio.ExportPdf();
  setenv("PATH", path.c_str(), 1);
  EXPECT_FALSE(done);
  EXPECT_NE(folio.GetError().ToUtf8().find("Chromium is not installed"), std::string::npos);
  ASSERT_EQ(windowing->MessageTexts().size(), 1u);
  EXPECT_EQ(windowing->MessageTexts()[0], folio.GetError());
  EXPECT_FALSE(fs::exists(folder / "report.pdf"));
}

}  // namespace
