#include "WordFixture.h"

#include <ctime>

using namespace wordtest;

namespace {

std::string TextBox(const std::string& content) {
  return "<w:p><w:r><mc:AlternateContent><mc:Choice Requires=\"wps\"><w:drawing><wp:anchor><wp:docPr id=\"5\" name=\"TB\"/>"
         "<a:graphic><a:graphicData><wps:wsp><wps:txbx><w:txbxContent>" + content +
         "</w:txbxContent></wps:txbx></wps:wsp></a:graphicData></a:graphic></wp:anchor></w:drawing></mc:Choice>"
         "<mc:Fallback><w:pict><v:rect style=\"position:absolute\"><v:textbox><w:txbxContent>" + content +
         "</w:txbxContent></v:textbox></v:rect></w:pict></mc:Fallback></mc:AlternateContent></w:r></w:p>";
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

using Stories = WordFixture;

TEST_F(Stories, TextBoxPlaceholdersAreWalkedAndBothCopiesKeptInStep) {
  auto doc = Open(TextBox("<w:p>" + InlinePicture("a", 12700, 12700, "rIdPic", 1) +
                          InlinePicture("b", 12700, 12700, "rIdPic", 2) + "</w:p>"),
                  {{"word/media/p.png", Png(4, 4)}}, ImageRel());
  EXPECT_EQ(doc->InlineShapes()->Count(), 0);
  ASSERT_EQ(doc->Shapes()->Count(), 1);
  auto frame = doc->Shapes()->Item(CVariant::I2(1))->TextFrame();
  ASSERT_EQ(frame->HasText(), -1);
  auto shapes = frame->TextRange()->InlineShapes();
  ASSERT_EQ(shapes->Count(), 2);
  shapes->Item(1)->Range()->SetText(u"first");
  ASSERT_EQ(shapes->Count(), 1);
  EXPECT_EQ(Utf8(shapes->Item(1)->AlternativeText()), "b");
  shapes->Item(1)->Range()->SetText(u"second");
  EXPECT_EQ(Utf8(frame->TextRange()->Text()), "firstsecond\r");
  const std::string xml = SavedXml(*doc);
  EXPECT_EQ(Count(xml, "firstsecond"), 0u) << "runs stay apart";
  EXPECT_EQ(Count(xml, ">first<"), 2u) << xml;
  EXPECT_EQ(Count(xml, ">second<"), 2u) << xml;
  EXPECT_EQ(Count(xml, "descr="), 0u) << xml;
}

TEST_F(Stories, PrimaryHeaderAndFooterAreStoriesWithTheirOwnRelationships) {
  const std::string header =
      HeaderPart("hdr", "<w:p><w:r><w:t>Head </w:t></w:r>" + InlinePicture("h", 12700, 12700, "rIdH", 3) + "</w:p>");
  const std::string rels = Relationship("header", "rIdHdr", "header1.xml") + Relationship("footer", "rIdFtr", "footer1.xml");
  auto doc = Open(P("Body") + "<w:p><w:pPr><w:sectPr><w:headerReference w:type=\"first\" r:id=\"rIdFtr\"/>"
                  "<w:headerReference w:type=\"default\" r:id=\"rIdHdr\"/><w:footerReference w:type=\"default\" r:id=\"rIdFtr\"/>"
                  "</w:sectPr></w:pPr></w:p>",
                  {{"word/header1.xml", header},
                   {"word/footer1.xml", HeaderPart("ftr", P("Foot"))},
                   {"word/media/h.png", Png(4, 4)},
                   {"word/_rels/header1.xml.rels", RelsPart(ImageRel("rIdH", "media/h.png"))}},
                  rels);
  auto stories = doc->StoryRanges();
  EXPECT_EQ(stories->Count(), 3);
  auto head = stories->Item(eWordPrimaryHeaderStory);
  EXPECT_EQ(head->StoryType(), 7);
  ASSERT_EQ(head->InlineShapes()->Count(), 1);
  EXPECT_NEAR(head->InlineShapes()->Item(1)->ScaleWidth(), 100 * 1.0 / 3.0, 0.01);
  WriteFile(dir / "logo.png", Png(8, 8));
  doc->InlineShapes()->AddPicture(CStr::FromUtf8((dir / "logo.png").string()), kMissing, kMissing,
                                  CVariant::Dispatch(head));
  head->InlineShapes()->Item(2)->Range()->SetText(u"Value");
  EXPECT_EQ(Utf8(stories->Item(eWordPrimaryHeaderStory)->Text()), "\x01Head Value\r");
  EXPECT_EQ(Utf8(stories->Item(eWordPrimaryFooterStory)->Text()), "Foot\r");
  auto package = Saved(*doc);
  const std::string headerXml = package->FindPart("word/header1.xml")->Bytes();
  EXPECT_NE(headerXml.find("Value"), std::string::npos);
  const auto headerRels = package->Relationships(package->FindPart("word/header1.xml")).All();
  EXPECT_EQ(headerRels.size(), 2u) << "the new picture is related from the header";
  EXPECT_EQ(package->MainPart()->Bytes().find("Value"), std::string::npos);
}

TEST_F(Stories, EveryKindOfHeaderAndFooterIsAStoryOfItsOwnType) {
  // Two sections: the first has primary and first-page parts, the second adds even-pages
  // ones. Each part says which it is; the first-page header holds a placeholder picture.
  std::vector<std::pair<std::string, std::string>> parts = {{"word/media/p.png", Png(4, 4)}};
  std::string rels, section1, section2;
  const char* kinds[][3] = {{"hdr", "default", "H"}, {"hdr", "first", "H"}, {"hdr", "even", "H"},
                            {"ftr", "default", "F"}, {"ftr", "first", "F"}, {"ftr", "even", "F"}};
  for (const auto& [root, type, letter] : kinds) {
    const std::string name = std::string(root) + "_" + type;
    const std::string extra = name == "hdr_first" ? InlinePicture("KORI placeholder", 12700, 12700, "rIdP", 9) : "";
    parts.push_back({"word/" + name + ".xml", HeaderPart(root, "<w:p><w:r><w:t>" + name + "</w:t></w:r>" + extra + "</w:p>")});
    rels += Relationship(std::string(root) == "hdr" ? "header" : "footer", "rId_" + name, name + ".xml");
    const std::string ref = std::string("<w:") + (std::string(root) == "hdr" ? "header" : "footer") + "Reference w:type=\"" +
                            type + "\" r:id=\"rId_" + name + "\"/>";
    (std::string(type) == "even" ? section2 : section1) += ref;
  }
  parts.push_back({"word/_rels/hdr_first.xml.rels", RelsPart(ImageRel("rIdP", "media/p.png"))});
  auto doc = Open(P("one") + "<w:p><w:pPr><w:sectPr>" + section1 + "<w:titlePg/></w:sectPr></w:pPr></w:p>" + P("two") +
                      "<w:sectPr>" + section2 + "</w:sectPr>",
                  parts, rels);
  auto stories = doc->StoryRanges();
  EXPECT_EQ(stories->Count(), 7);
  const std::pair<long, const char*> expected[] = {{6, "hdr_even"},  {7, "hdr_default"}, {8, "ftr_even"},
                                                   {9, "ftr_default"}, {10, "hdr_first"}, {11, "ftr_first"}};
  for (const auto& [type, text] : expected) {
    auto story = stories->Item(type);
    EXPECT_EQ(story->StoryType(), type);
    EXPECT_TRUE(Utf8(story->Text()).starts_with(text)) << type << ": " << Utf8(story->Text());
  }
  // A walk over every story finds the placeholder in the first-page header and replaces it.
  int replaced = 0;
  for (long type = 1; type <= 11; ++type) {
    std::shared_ptr<IWordRange> story;
    if (!ComErrorOf([&] { story = stories->Item(type); }).empty()) continue;
    auto shapes = story->InlineShapes();
    for (long i = shapes->Count(); i >= 1; --i)
      if (Utf8(shapes->Item(i)->AlternativeText()).starts_with("KORI")) {
        shapes->Item(i)->Range()->SetText(u" 42");
        ++replaced;
      }
  }
  EXPECT_EQ(replaced, 1);
  auto package = Saved(*doc);
  EXPECT_NE(package->FindPart("word/hdr_first.xml")->Bytes().find("42"), std::string::npos);
  EXPECT_EQ(package->FindPart("word/hdr_first.xml")->Bytes().find("KORI"), std::string::npos);
  EXPECT_EQ(package->FindPart("word/hdr_default.xml")->Bytes().find("42"), std::string::npos);
}

TEST_F(Stories, AHeaderReferenceToAFooterPartIsNoHeader) {
  auto doc = Open(P("Body") + "<w:sectPr><w:headerReference w:type=\"first\" r:id=\"rIdFtr\"/>"
                  "<w:footerReference w:type=\"first\" r:id=\"rIdFtr\"/></w:sectPr>",
                  {{"word/footer1.xml", HeaderPart("ftr", P("Foot"))}}, Relationship("footer", "rIdFtr", "footer1.xml"));
  auto stories = doc->StoryRanges();
  EXPECT_EQ(stories->Count(), 2);
  EXPECT_NE(ComErrorOf([&] { stories->Item(eWordFirstPageHeaderStory); }), "");
  EXPECT_EQ(stories->Item(eWordFirstPageFooterStory)->StoryType(), 11);
  EXPECT_NE(ComErrorOf([&] { stories->Item(eWordPrimaryFooterStory); }), "");
}

TEST_F(Stories, FieldsWithoutLayoutAreComputedAndPageFieldsLeft) {
  auto field = [](const std::string& code, const std::string& result) {
    return "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText xml:space=\"preserve\">" + code +
           "</w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>" + result +
           "</w:t></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r>";
  };
  auto doc = Open("<w:p>" + field(" DATE \\@ \"yyyy\" ", "1999") + field(" PAGE ", "7") +
                  "<w:fldSimple w:instr=\" FILENAME \"><w:r><w:t>old.docx</w:t></w:r></w:fldSimple></w:p>");
  auto fields = doc->Fields();
  ASSERT_EQ(fields->Count(), 3);
  EXPECT_EQ(fields->Update(), 0);
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  EXPECT_EQ(Utf8(fields->Item(1)->Result()), std::to_string(local.tm_year + 1900));
  EXPECT_EQ(Utf8(fields->Item(2)->Result()), "7");
  EXPECT_FALSE(fields->Item(2)->Update());
  EXPECT_EQ(Utf8(fields->Item(3)->Result()), "in.docx");
  EXPECT_EQ(Utf8(fields->Item(3)->Code()), " FILENAME ");
  auto again = Reopen(*doc);
  EXPECT_EQ(Utf8(again->Fields()->Item(3)->Result()), "in.docx");
}

TEST_F(Stories, AnEmbedFieldGivesItsObjectAndShape) {
  const std::string body =
      "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText> EMBED Excel.Sheet.12 </w:instrText></w:r>"
      "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:object><v:shape alt=\"sheet\" style=\"width:5pt;height:5pt\"/>"
      "<o:OLEObject ProgID=\"Excel.Sheet.12\" r:id=\"rIdOle\"/></w:object></w:r>"
      "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>" + P("no field");
  auto doc = Open(body);
  ASSERT_EQ(doc->Fields()->Count(), 1);
  auto field = doc->Fields()->Item(1);
  EXPECT_EQ(Utf8(field->OLEFormat()->ClassType()), "Excel.Sheet.12");
  EXPECT_EQ(Utf8(field->InlineShape()->AlternativeText()), "sheet");
  EXPECT_NE(ComErrorOf([&] { field->OLEFormat()->Object(); }), "");
}

}  // namespace
