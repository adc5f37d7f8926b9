#include "WordFixture.h"

using namespace wordtest;

namespace {

using Selection = WordFixture;

TEST_F(Selection, TypingAndDeletingEditAtTheSelection) {
  auto doc = Open(P("Hello") + P("World"));
  doc->Select();
  auto selection = app->Selection();
  EXPECT_EQ(selection->Start(), 0);
  EXPECT_EQ(selection->End(), 12);
  selection->Collapse(CVariant::I2(0));
  EXPECT_EQ(selection->Start(), 11);
  selection->TypeText(u" ");
  EXPECT_EQ(Utf8(doc->Content()->Text()), "Hello\rWorld \r");
  EXPECT_EQ(selection->Start(), 12);
  selection->TypeBackspace();
  EXPECT_EQ(Utf8(doc->Content()->Text()), "Hello\rWorld\r");
  EXPECT_EQ(selection->End(), 11);
  // A set range is replaced by typing and removed by deleting.
  selection->SetRange(4, 7);
  EXPECT_EQ(Utf8(selection->Range()->Text()), "o\rW");
  EXPECT_EQ(Utf8(selection->Characters()->Last()->Text()), "W");
  selection->TypeText(u"-");
  EXPECT_EQ(Utf8(doc->Content()->Text()), "Hell-orld\r");
  selection->SetRange(0, 4);
  EXPECT_EQ(selection->Delete(), 1);
  EXPECT_EQ(Utf8(doc->Content()->Text()), "-orld\r");
  selection->Collapse();
  EXPECT_EQ(selection->End(), 0);
}

TEST_F(Selection, ClosedDocumentsAndQuitApplicationsRefuseCalls) {
  auto doc = Open(P("x"));
  doc->Close(CVariant::I2(0));
  EXPECT_NE(ComErrorOf([&] { doc->Content(); }), "");
  EXPECT_EQ(app->Documents()->Count(), 0);
  auto other = app->Documents()->Add();
  app->Quit(CVariant::I2(0));
  try {
    other->Content();
    FAIL() << "no error";
  } catch (const CComError& e) {
    EXPECT_EQ(e.Error(), E_FAIL);
  }
  try {
    app->Documents();
    FAIL() << "no error";
  } catch (const CComError& e) {
    EXPECT_EQ(e.Error(), RPC_E_DISCONNECTED);
  }
}

TEST_F(Selection, InsertFileAppendsAndTheLastCharacterGoes) {
  WriteFile(dir / "source.docx", Docx(P("One") + P("Two")));
  auto doc = Open(P("Report"));
  doc->Select();
  auto selection = app->Selection();
  selection->Collapse(CVariant::I2(0));
  selection->InsertFile(CStr::FromUtf8((dir / "source.docx").string()));
  EXPECT_EQ(Utf8(doc->Content()->Text()), "Report\rOne\rTwo\r\r");
  selection->Characters()->Last()->Delete();
  EXPECT_EQ(Utf8(doc->Content()->Text()), "Report\rOne\rTwo\r");
  EXPECT_EQ(Utf8(Reopen(*doc)->Content()->Text()), "Report\rOne\rTwo\r");
}

TEST_F(Selection, TablesAtTheSeamAreJoined) {
  const std::string table = "<w:tbl><w:tblGrid><w:gridCol w:w=\"2000\"/></w:tblGrid><w:tr><w:tc>";
  WriteFile(dir / "source.docx", Docx(table + P("second") + "</w:tc></w:tr></w:tbl>" + P("after")));
  auto doc = Open(table + P("first") + "</w:tc></w:tr></w:tbl><w:p/>");
  doc->Select();
  auto selection = app->Selection();
  selection->Collapse(CVariant::I2(0));
  long seam = -1;
  for (long t = 1; t <= doc->Tables()->Count(); ++t) {
    const long gap = doc->Range()->End() - doc->Tables()->Item(t)->Range()->End();
    if (gap == 1 || gap == 2) seam = doc->Tables()->Item(t)->Range()->End();
  }
  ASSERT_EQ(seam, 7);
  selection->InsertFile(CStr::FromUtf8((dir / "source.docx").string()));
  selection->Characters()->Last()->Delete();
  doc->Select();
  selection = app->Selection();
  for (long t = 1; t <= doc->Tables()->Count(); ++t) {
    const long start = doc->Tables()->Item(t)->Range()->Start();
    if (start - seam == 1 || start - seam == 2) {
      selection->SetRange(seam, start);
      selection->Delete();
      break;
    }
  }
  ASSERT_EQ(doc->Tables()->Count(), 1);
  EXPECT_EQ(Utf8(doc->Tables()->Item(1)->Range()->Text()), "first\r\a\r\asecond\r\a\r\a");
  EXPECT_EQ(Utf8(doc->Content()->Text()), "first\r\a\r\asecond\r\a\r\aafter\r");
}

TEST_F(Selection, InsertFileCarriesStylesNumberingAndPictures) {
  const std::string styles =
      "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
      "<w:style w:type=\"paragraph\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/></w:style>"
      "<w:style w:type=\"paragraph\" w:styleId=\"Base\"><w:name w:val=\"Base Style\"/></w:style>"
      "<w:style w:type=\"paragraph\" w:styleId=\"Fancy\"><w:name w:val=\"Fancy\"/><w:basedOn w:val=\"Base\"/></w:style>"
      "</w:styles>";
  const std::string numbering =
      "<w:numbering xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
      "<w:abstractNum w:abstractNumId=\"0\"><w:nsid w:val=\"11111111\"/><w:lvl w:ilvl=\"0\"><w:numFmt w:val=\"decimal\"/>"
      "<w:lvlText w:val=\"%1.\"/></w:lvl></w:abstractNum><w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>"
      "</w:numbering>";
  const std::string rels =
      ImageRel() + Relationship("styles", "rIdS", "styles.xml") + Relationship("numbering", "rIdN", "numbering.xml");
  WriteFile(dir / "source.docx",
            Docx("<w:p><w:pPr><w:pStyle w:val=\"Fancy\"/><w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"1\"/></w:numPr>"
                 "</w:pPr><w:r><w:t>Item</w:t></w:r></w:p><w:p><w:pPr><w:pStyle w:val=\"Normal\"/></w:pPr>" +
                     InlinePicture("pic") + "</w:p>",
                 {{"word/styles.xml", styles}, {"word/numbering.xml", numbering}, {"word/media/p.png", Png(5, 5)}}, rels));
  auto doc = app->Documents()->Add();
  doc->Select();
  app->Selection()->Collapse(CVariant::I2(0));
  app->Selection()->InsertFile(CStr::FromUtf8((dir / "source.docx").string()));
  auto package = Saved(*doc);
  const std::string styleXml = package->FindPart("word/styles.xml")->Bytes();
  EXPECT_NE(styleXml.find("w:styleId=\"Fancy\""), std::string::npos) << styleXml;
  EXPECT_NE(styleXml.find("w:styleId=\"Base\""), std::string::npos);
  EXPECT_EQ(styleXml.find("w:styleId=\"Normal\"", styleXml.find("w:styleId=\"Normal\"") + 1), std::string::npos);
  CPart* numberingPart = package->RelatedPart(*package->MainPart(),
                                              package->Relationships(package->MainPart()).FindByType(RelType::kNumbering)->id);
  ASSERT_NE(numberingPart, nullptr);
  const std::string numberingXml = numberingPart->Bytes();
  EXPECT_NE(numberingXml.find("w:num w:numId=\"1\""), std::string::npos) << numberingXml;
  EXPECT_EQ(numberingXml.find("11111111"), std::string::npos) << "nsid must be fresh";
  auto again = app->Documents()->Open(Path("out.docx"));
  ASSERT_EQ(again->InlineShapes()->Count(), 1);
  EXPECT_EQ(Utf8(again->InlineShapes()->Item(1)->AlternativeText()), "pic");
  EXPECT_NEAR(again->InlineShapes()->Item(1)->ScaleWidth(), 100 * 72.0 / (5 * 0.75), 0.1);
}

TEST_F(Selection, InsertedContentTakesTheTargetsPrefixes) {
  // Another producer's prefixes: WordprocessingML as the default namespace, drawings
  // under "ns3", and "w" bound to a namespace of its own.
  const std::string main =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><document xmlns=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\""
      " xmlns:q=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\""
      " xmlns:rel=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
      " xmlns:ns3=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\""
      " xmlns:w=\"urn:example:own\"><body><p><pPr><pStyle q:val=\"Own\"/></pPr><r><t>Foreign text</t></r>"
      "<w:mark w:note=\"kept\"/><r><drawing><ns3:inline><ns3:extent cx=\"12700\" cy=\"12700\"/>"
      "<ns3:docPr id=\"1\" name=\"P\" descr=\"foreign picture\"/></ns3:inline></drawing></r></p><sectPr/></body></document>";
  const std::string styles =
      "<styles xmlns=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
      "xmlns:q=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><style q:type=\"paragraph\" "
      "q:styleId=\"Own\"><name q:val=\"Own Style\"/></style></styles>";
  WriteFile(dir / "source.docx",
            Zip({{"[Content_Types].xml",
                  "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default Extension=\"rels\" "
                  "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/><Default Extension=\"xml\" "
                  "ContentType=\"application/xml\"/><Override PartName=\"/word/document.xml\" ContentType=\"application/"
                  "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>"},
                 {"_rels/.rels", RelsPart(Relationship("officeDocument", "rId1", "word/document.xml"))},
                 {"word/_rels/document.xml.rels", RelsPart(Relationship("styles", "rIdS", "styles.xml"))},
                 {"word/document.xml", main},
                 {"word/styles.xml", styles}}));
  auto doc = Open(P("Report"));
  doc->Select();
  app->Selection()->Collapse(CVariant::I2(0));
  app->Selection()->InsertFile(CStr::FromUtf8((dir / "source.docx").string()));
  EXPECT_EQ(Utf8(doc->Content()->Text()), "Report\rForeign text\x01\r\r");
  ASSERT_EQ(doc->InlineShapes()->Count(), 1);
  EXPECT_EQ(Utf8(doc->InlineShapes()->Item(1)->AlternativeText()), "foreign picture");
  auto package = Saved(*doc);
  const std::string xml = package->MainPart()->Bytes();
  EXPECT_NE(xml.find("<w:p><w:pPr><w:pStyle w:val=\"Own\"/></w:pPr><w:r><w:t>Foreign text</w:t></w:r>"), std::string::npos) << xml;
  // The producer's own "w" namespace lives on under a prefix that is free here.
  EXPECT_NE(xml.find("xmlns:ns1=\"urn:example:own\""), std::string::npos) << xml;
  EXPECT_NE(xml.find("<ns1:mark ns1:note=\"kept\"/>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<wp:inline>"), std::string::npos) << xml;
  CPart* stylesPart = package->RelatedPart(*package->MainPart(),
                                           package->Relationships(package->MainPart()).FindByType(RelType::kStyles)->id);
  ASSERT_NE(stylesPart, nullptr);
  const std::string styleXml = stylesPart->Bytes();
  EXPECT_NE(styleXml.find("<w:style w:type=\"paragraph\" w:styleId=\"Own\"><w:name w:val=\"Own Style\"/></w:style>"),
            std::string::npos) << styleXml;
  auto again = Reopen(*doc);
  EXPECT_EQ(Utf8(again->Content()->Text()), "Report\rForeign text\x01\r\r");
}

}  // namespace
