// Documents the engine saved, opened by LibreOffice and turned into PDF: the PDF must
// show the expected texts and pictures.
#include "WordFixture.h"

#include <cstdio>

#include "platform/word/document/CLibreOffice.h"

using namespace wordtest;

namespace {

struct SPdf {
  std::string text;
  int pictures = 0;
};

class Office : public WordFixture {
protected:
  void SetUp() override {
    if (!CLibreOffice::Find()) GTEST_SKIP() << "LibreOffice is not installed (scripts/bootstrap --office)";
    WordFixture::SetUp();
  }
  // Saves each document under its name, converts them all in one LibreOffice run and
  // reads back each PDF's text and picture count.
  std::vector<SPdf> Pdfs(const std::vector<std::pair<std::string, std::shared_ptr<IWordDocument>>>& docs) {
    std::vector<std::filesystem::path> files;
    for (const auto& [name, doc] : docs) {
      doc->SaveAs(Path(name));
      files.push_back(dir / name);
    }
    const auto pdfs = CLibreOffice::ConvertAll(files, dir / "pdf", "pdf");
    std::vector<SPdf> out;
    for (const auto& pdf : pdfs) {
      SPdf result{RunCommand("pdftotext -layout '" + pdf.string() + "' - 2>/dev/null")};
      const std::string list = RunCommand("pdfimages -list '" + pdf.string() + "' 2>/dev/null");
      int lines = 0;
      for (char c : list) lines += c == '\n';
      result.pictures = std::max(lines - 2, 0);
      out.push_back(result);
    }
    return out;
  }
  std::string PicturePath(unsigned w, unsigned h) {
    const auto path = dir / ("picture" + std::to_string(w) + "x" + std::to_string(h) + ".png");
    WriteFile(path, Png(w, h));
    return path.string();
  }
  // Placeholders replaced by text and by a picture.
  std::shared_ptr<IWordDocument> Placeholders() {
    auto placeholders = Open(P("Report for sample") + "<w:p>" + InlinePicture("KORI text", 914400, 457200, "rIdPic", 1) +
                                 InlinePicture("KORI picture", 914400, 914400, "rIdPic", 2) + "</w:p>",
                             {{"word/media/p.png", Png(6, 6)}}, ImageRel(), "placeholders.docx");
    auto shapes = placeholders->InlineShapes();
    shapes->Item(1)->Range()->SetText(u"Sa = 1.2345 nm");
    auto placeholder = shapes->Item(1);
    auto picture = shapes->AddPicture(CStr::FromUtf8(PicturePath(40, 30)), CVariant::I2(0), CVariant::I2(1),
                                      CVariant::Dispatch(placeholder->Range()));
    picture->SetScaleWidth(200);
    placeholder->Delete();
    return placeholders;
  }
  // A text box, a header and a footer, each with new text.
  std::shared_ptr<IWordDocument> Stories() {
    auto stories = Open(P("Body text") + "<w:p><w:r><w:drawing><wp:anchor distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\" "
                        "simplePos=\"0\" relativeHeight=\"1\" behindDoc=\"0\" locked=\"0\" layoutInCell=\"1\" allowOverlap=\"1\">"
                        "<wp:simplePos x=\"0\" y=\"0\"/><wp:positionH relativeFrom=\"column\"><wp:posOffset>0</wp:posOffset>"
                        "</wp:positionH><wp:positionV relativeFrom=\"paragraph\"><wp:posOffset>0</wp:posOffset></wp:positionV>"
                        "<wp:extent cx=\"2000000\" cy=\"600000\"/><wp:wrapTopAndBottom/><wp:docPr id=\"4\" name=\"Box\"/>"
                        "<a:graphic><a:graphicData uri=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\">"
                        "<wps:wsp><wps:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"2000000\" cy=\"600000\"/></a:xfrm>"
                        "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></wps:spPr><wps:txbx><w:txbxContent>" +
                        P("Box placeholder") + "</w:txbxContent></wps:txbx><wps:bodyPr/></wps:wsp></a:graphicData>"
                        "</a:graphic></wp:anchor></w:drawing></w:r></w:p>"
                        "<w:p><w:pPr><w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdH\"/>"
                        "<w:footerReference w:type=\"default\" r:id=\"rIdF\"/></w:sectPr></w:pPr></w:p>",
                        {{"word/header1.xml", HeaderPart("hdr", P("Header placeholder"))},
                         {"word/footer1.xml", HeaderPart("ftr", P("Footer text"))}},
                        Relationship("header", "rIdH", "header1.xml") + Relationship("footer", "rIdF", "footer1.xml"),
                        "stories.docx");
    auto box = stories->Shapes()->Item(CVariant::I2(1))->TextFrame()->TextRange();
    box->SetStart(4);
    box->SetEnd(15);
    box->SetText(u"value in the box");
    auto head = stories->StoryRanges()->Item(eWordPrimaryHeaderStory);
    head->SetStart(7);
    head->SetEnd(18);
    head->SetText(u"value in the header");
    return stories;
  }
  // Tables joined at the seam, then a document with a picture and numbering inserted.
  std::shared_ptr<IWordDocument> Merged() {
    const std::string table = "<w:tbl><w:tblGrid><w:gridCol w:w=\"3000\"/></w:tblGrid><w:tr><w:tc>";
    WriteFile(dir / "part.docx", Docx(table + P("second cell") + "</w:tc></w:tr></w:tbl>" + P("Inserted text") + "<w:p>" +
                                          InlinePicture("inserted", 914400, 914400) + "</w:p>",
                                      {{"word/media/p.png", Png(20, 20)}}, ImageRel()));
    auto merged = Open(table + P("first cell") + "</w:tc></w:tr></w:tbl><w:p/>", {}, "", "merged.docx");
    merged->Select();
    auto selection = app->Selection();
    selection->Collapse(CVariant::I2(0));
    selection->InsertFile(CStr::FromUtf8((dir / "part.docx").string()));
    selection->Characters()->Last()->Delete();
    selection->SetRange(merged->Tables()->Item(1)->Range()->End(), merged->Tables()->Item(2)->Range()->Start());
    selection->Delete();
    EXPECT_EQ(merged->Tables()->Count(), 1);
    return merged;
  }
  // A new document with a placeholder control, typed text and a picture.
  std::shared_ptr<IWordDocument> Fresh() {
    auto fresh = app->Documents()->Add();
    fresh->Select();
    app->Selection()->Collapse(CVariant::I2(0));
    app->Selection()->TypeText(u"Control follows\r");
    fresh->InlineShapes()->AddOLEControl(CVariant::Text(u"KORICONTROL.KORIControlCtrl.1"),
                                         CVariant::Dispatch(app->Selection()->Range()));
    fresh->Content()->InlineShapes();
    app->Selection()->TypeText(u" and a picture ");
    fresh->InlineShapes()->AddPicture(CStr::FromUtf8(PicturePath(16, 16)), kMissing, kMissing,
                                      CVariant::Dispatch(app->Selection()->Range()));
    return fresh;
  }
  // A document server object from the older form, saved as a compound file.
  std::shared_ptr<IWordDocument> Embedded() {
    auto embedded = Open(P("Object follows") + "<w:p><w:r><w:object w:dxaOrig=\"1440\" w:dyaOrig=\"720\">"
                         "<v:shape id=\"o1\" style=\"width:72pt;height:36pt\"/><o:OLEObject Type=\"Embed\" "
                         "ProgID=\"LivesheetItem\" ShapeID=\"o1\" DrawAspect=\"Content\" ObjectID=\"_1\" r:id=\"rIdOle\"/>"
                         "</w:object></w:r></w:p>" + P("Object done"),
                         {{"word/embeddings/livesheetItem1.xml", "<livesheetItem xmlns=\"urn:folio:livesheetitem\"/>"}},
                         Relationship("oleObject", "rIdOle", "embeddings/livesheetItem1.xml"),
                         "embedded.docx");
    PutProperty(*embedded->InlineShapes()->Item(1)->OLEFormat()->Object(), 1, CVariant::Text(u"Roughness"));
    return embedded;
  }
};

TEST_F(Office, SavedDocumentsShowTheirTextsAndPictures) {
  const auto pdfs = Pdfs({{"out-placeholders.docx", Placeholders()}, {"out-stories.docx", Stories()},
                          {"out-merged.docx", Merged()}, {"out-fresh.docx", Fresh()}, {"out-embedded.docx", Embedded()}});
  EXPECT_NE(pdfs[0].text.find("Report for sample"), std::string::npos) << pdfs[0].text;
  EXPECT_NE(pdfs[0].text.find("Sa = 1.2345 nm"), std::string::npos) << pdfs[0].text;
  EXPECT_EQ(pdfs[0].pictures, 1);
  EXPECT_NE(pdfs[1].text.find("Box value in the box"), std::string::npos) << pdfs[1].text;
  EXPECT_NE(pdfs[1].text.find("Header value in the header"), std::string::npos) << pdfs[1].text;
  EXPECT_NE(pdfs[1].text.find("Footer text"), std::string::npos) << pdfs[1].text;
  EXPECT_NE(pdfs[2].text.find("first cell"), std::string::npos) << pdfs[2].text;
  EXPECT_NE(pdfs[2].text.find("second cell"), std::string::npos) << pdfs[2].text;
  EXPECT_NE(pdfs[2].text.find("Inserted text"), std::string::npos) << pdfs[2].text;
  EXPECT_EQ(pdfs[2].pictures, 1);
  EXPECT_NE(pdfs[3].text.find("Control follows"), std::string::npos) << pdfs[3].text;
  EXPECT_NE(pdfs[3].text.find("and a picture"), std::string::npos) << pdfs[3].text;
  EXPECT_EQ(pdfs[3].pictures, 1);
  EXPECT_NE(pdfs[4].text.find("Object follows"), std::string::npos) << pdfs[4].text;
  EXPECT_NE(pdfs[4].text.find("Object done"), std::string::npos) << pdfs[4].text;
}

TEST_F(Office, BinaryDocumentsGoThroughLibreOffice) {
  auto doc = app->Documents()->Add();
  doc->Content()->SetText(u"Binary round trip");
  doc->SaveAs(Path("old.doc"));
  const std::string bytes = ReadFile(dir / "old.doc");
  ASSERT_GT(bytes.size(), 8u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\xD0\xCF\x11\xE0", 4)) << "a binary Word file";
  auto again = app->Documents()->Open(Path("old.doc"));
  EXPECT_NE(Utf8(again->Content()->Text()).find("Binary round trip"), std::string::npos);
}

}  // namespace
