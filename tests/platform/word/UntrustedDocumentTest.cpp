#include "WordFixture.h"

#include <cstdlib>

using namespace wordtest;

namespace {

using Untrusted = WordFixture;

// Each file is refused on opening with invalid data and a description naming the fault.
// (Deep nesting cannot be reached here: its repeated markup trips the ratio limit first;
// Package.DeepNestingIsRejectedWithoutRecursion loosens it.)
TEST_F(Untrusted, HostileAndForeignFilesAreClearComErrors) {
  const std::string sheet = Zip({{"[Content_Types].xml",
                                  "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                                  "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/"
                                  "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/></Types>"},
                                 {"_rels/.rels", RelsPart(Relationship("officeDocument", "rId1", "xl/workbook.xml"))},
                                 {"xl/workbook.xml", "<workbook/>"}});
  const struct { const char* name; std::string bytes; const char* error; } cases[] = {
      {"bomb.docx", Zip({{"[Content_Types].xml", "<Types/>"}, {"word/document.xml", std::string(32 << 20, ' ')}}),
       "inflates more than 100 times"},
      {"escape.docx", Zip({{"[Content_Types].xml", "<Types/>"}, {"../../evil.xml", "<x/>"}}), "unsafe name"},
      {"sheet.docx", sheet, "no Word document"}};
  for (const auto& c : cases) {
    WriteFile(dir / c.name, c.bytes);
    try {
      app->Documents()->Open(Path(c.name));
      ADD_FAILURE() << c.name << " opened";
    } catch (const CComError& e) {
      EXPECT_EQ(e.Error(), HRESULT_INVALID_DATA) << c.name;
      EXPECT_NE(e.Description().ToUtf8().find(c.error), std::string::npos) << c.name << ": " << e.Description().ToUtf8();
    }
  }
  EXPECT_NE(ComErrorOf([&] { app->Documents()->Open(Path("absent.docx")); }).find("cannot be opened"), std::string::npos);
}

TEST_F(Untrusted, EntitiesAreNotExpanded) {
  std::string doctype = "<!DOCTYPE w:document [<!ENTITY a \"aaaaaaaaaa\">";
  for (int i = 1; i < 10; ++i)
    doctype += "<!ENTITY " + std::string(1, static_cast<char>('a' + i)) + " \"" +
               std::string(10, '&') + "\">";
  doctype += "]>";
  const std::string xml = "<?xml version=\"1.0\"?>" + doctype +
                          "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>"
                          "<w:p><w:r><w:t>&j;&a;</w:t></w:r></w:p></w:body></w:document>";
  auto bytes = Docx("");
  auto package = CPackage::FromBytes(bytes);
  package->FindPart("word/document.xml")->SetBytes(xml);
  WriteFile(dir / "entities.docx", package->Save());
  const std::string why = ComErrorOf([&] {
    auto doc = app->Documents()->Open(Path("entities.docx"));
    EXPECT_LT(doc->Content()->End(), 20);
  });
  EXPECT_TRUE(why.empty() || why.find("well-formed") != std::string::npos) << why;
}

TEST_F(Untrusted, ExternalPicturesAreNeverRead) {
  WriteFile(dir / "secret.png", Png(1000, 10));
  auto doc = Open("<w:p>" + InlinePicture("x", 12700, 12700, "rIdExt") + "</w:p>", {},
                  "<Relationship Id=\"rIdExt\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
                  "Target=\"file://" + (dir / "secret.png").string() + "\" TargetMode=\"External\"/>");
  EXPECT_FLOAT_EQ(doc->InlineShapes()->Item(1)->ScaleWidth(), 100);
}

TEST_F(Untrusted, BinaryDocumentsWithoutLibreOfficeSayWhatToInstall) {
  WriteFile(dir / "old.doc", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(512, '\0'));
  setenv("FOLIO_SOFFICE", (dir / "no-soffice").c_str(), 1);
  const std::string why = ComErrorOf([&] { app->Documents()->Open(Path("old.doc")); });
  unsetenv("FOLIO_SOFFICE");
  EXPECT_NE(why.find("libreoffice-writer-nogui"), std::string::npos) << why;
}

}  // namespace
