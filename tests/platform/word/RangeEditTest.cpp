#include "WordFixture.h"

using namespace wordtest;

namespace {

using RangeEdits = WordFixture;

// Edits of "Hello\rWorld\r": what the document holds after, and again once saved and opened.
TEST_F(RangeEdits, SetTextAndDeleteReplaceTheRangeAndSurviveSaving) {
  const struct { long from, to; const char16_t* text; std::string after, covered; } cases[] = {
      {1, 4, u"EY", "HEYo\rWorld\r", "EY"},
      // Control characters become paragraphs, tabs and breaks; others go.
      {5, 5, u"A\rB\tC\vD\x01", "HelloA\rB\tC\vD\rWorld\r", "A\rB\tC\vD"},
      {0, 11, u" ", " \r", " "},  // a lone space needs its spaces kept when saved
      {3, 8, nullptr, "Helrld\r", ""},  // deleting a paragraph mark merges paragraphs
      {1, 1, nullptr, "Hllo\rWorld\r", ""},  // a collapsed delete takes the next character
  };
  for (const auto& c : cases) {
    auto doc = Open(P("Hello") + P("World"));
    auto range = doc->Range(CVariant::I4(c.from), CVariant::I4(c.to));
    if (c.text) range->SetText(c.text);
    else EXPECT_EQ(range->Delete(), 1) << c.after;
    EXPECT_EQ(Utf8(range->Text()), c.covered);
    EXPECT_EQ(range->Start(), c.from);
    EXPECT_EQ(Utf8(doc->Content()->Text()), c.after);
    EXPECT_EQ(Utf8(Reopen(*doc)->Content()->Text()), c.after);
    // The final paragraph mark is never deleted.
    EXPECT_EQ(doc->Range(CVariant::I4(doc->Content()->End() - 1), CVariant::I4(doc->Content()->End() - 1))->Delete(), 0);
  }
}

TEST_F(RangeEdits, EmptyingToTheEndKeepsTheFinalParagraphMark) {
  auto doc = Open(P("Hello") + "<w:tbl><w:tr><w:tc>" + P("cell") + "</w:tc></w:tr></w:tbl>" + P("World"));
  auto content = doc->Content();
  content->SetStart(2);
  content->SetText(u"");
  EXPECT_EQ(Utf8(doc->Content()->Text()), "He\r");
  EXPECT_EQ(doc->Tables()->Count(), 0);
}

TEST_F(RangeEdits, EmptyingFromTheStartRemovesLeadingBlocks) {
  auto doc = Open(P("Intro") + "<w:tbl><w:tr><w:tc>" + P("cell") + "</w:tc></w:tr></w:tbl>" + P("Tag rest"));
  auto range = doc->Range(CVariant::I4(0), CVariant::I4(15));  // through "Tag"
  EXPECT_EQ(Utf8(range->Text()), "Intro\rcell\r\a\r\aTag");
  range->SetText(u"");
  EXPECT_EQ(Utf8(doc->Content()->Text()), " rest\r");
}

TEST_F(RangeEdits, LiveRangesFollowEditsBeforeThem) {
  auto doc = Open(P("Hello") + P("World"));
  auto world = doc->Range(CVariant::I4(6), CVariant::I4(11));
  doc->Range(CVariant::I4(0), CVariant::I4(5))->SetText(u"Hi");
  EXPECT_EQ(world->Start(), 3);
  EXPECT_EQ(world->End(), 8);
  EXPECT_EQ(Utf8(world->Text()), "World");
  doc->Range(CVariant::I4(7), CVariant::I4(7))->SetText(u"!!");  // inside: the range grows
  EXPECT_EQ(Utf8(world->Text()), "Worl!!d");
}

TEST_F(RangeEdits, SplitRunsKeepTheirFormatting) {
  auto doc = Open("<w:p><w:r><w:rPr><w:b/></w:rPr><w:t>bold</w:t></w:r></w:p>");
  doc->Range(CVariant::I4(2), CVariant::I4(2))->SetText(u"X");
  const std::string xml = SavedXml(*doc);
  size_t bold = 0;
  for (size_t at = xml.find("<w:b/>"); at != std::string::npos; at = xml.find("<w:b/>", at + 1)) ++bold;
  EXPECT_EQ(bold, 3u) << xml;
  EXPECT_EQ(Utf8(doc->Content()->Text()), "boXld\r");
}

TEST_F(RangeEdits, ReplacingOneOfTwoAdjacentPlaceholdersLeavesTheOtherAtTheSameIndex) {
  auto doc = Open("<w:p>" + InlinePicture("first", 914400, 457200, "rIdPic", 1) +
                      InlinePicture("second", 914400, 457200, "rIdPic", 2) + "</w:p>",
                  {{"word/media/p.png", Png(4, 4)}}, ImageRel());
  auto shapes = doc->InlineShapes();
  ASSERT_EQ(shapes->Count(), 2);
  shapes->Item(1)->Range()->SetText(u"one");
  ASSERT_EQ(shapes->Count(), 1);
  EXPECT_EQ(Utf8(shapes->Item(1)->AlternativeText()), "second");
  shapes->Item(1)->Range()->SetText(u"two");
  EXPECT_EQ(shapes->Count(), 0);
  EXPECT_EQ(Utf8(doc->Content()->Text()), "onetwo\r");
}

TEST_F(RangeEdits, ObjectReplacedInItsRunKeepsLaterPositionsAndFormatting) {
  auto doc = Open("<w:p><w:r><w:rPr><w:i/></w:rPr>" + InlinePicture("a").substr(5) + "<w:r><w:t>mid</w:t></w:r>" +
                      InlinePicture("b", 914400, 457200, "rIdPic", 2) + "</w:p>" + P("end"),
                  {{"word/media/p.png", Png(4, 4)}}, ImageRel());
  auto shapes = doc->InlineShapes();
  auto first = shapes->Item(1)->Range();
  first->SetText(u"x\ty\vz");
  EXPECT_EQ(first->End(), 5);
  EXPECT_EQ(shapes->Item(1)->Range()->Start(), 8);
  EXPECT_EQ(Utf8(doc->Content()->Text()), "x\ty\vzmid\x01\rend\r");
  shapes->Item(1)->Range()->SetText(u"");
  EXPECT_EQ(Utf8(doc->Content()->Text()), "x\ty\vzmid\rend\r");
  EXPECT_EQ(doc->Range(CVariant::I4(9), CVariant::I4(12))->Text(), u"end");
  const std::string xml = SavedXml(*doc);
  EXPECT_NE(xml.find("<w:r><w:rPr><w:i/></w:rPr><w:t xml:space=\"preserve\">x</w:t><w:tab/>"), std::string::npos) << xml;
}


// Alternative text and position of every inline shape, as a walk sees them.
std::vector<std::pair<std::string, long>> Walk(IWordDocument& doc) {
  std::vector<std::pair<std::string, long>> seen;
  auto shapes = doc.InlineShapes();
  for (long i = 1; i <= shapes->Count(); ++i)
    seen.emplace_back(shapes->Item(i)->AlternativeText().ToUtf8(), shapes->Item(i)->Range()->Start());
  return seen;
}

TEST_F(RangeEdits, ShapesFoundAfterMixedEditsAreThoseOfTheSavedDocument) {
  auto doc = Open(P("lead") + "<w:p>" + InlinePicture("a", 914400, 457200, "rIdPic", 1) + "<w:r><w:t>x</w:t></w:r>" +
                      InlinePicture("b", 914400, 457200, "rIdPic", 2) + InlinePicture("c", 914400, 457200, "rIdPic", 3) +
                      "</w:p>" + P("tail"),
                  {{"word/media/p.png", Png(4, 4)}}, ImageRel());
  WriteFile(dir / "new.png", Png(8, 8));
  auto shapes = doc->InlineShapes();
  shapes->Item(2)->Range()->SetText(u"B\tB");
  auto at = shapes->Item(2)->Range();  // c
  at->SetEnd(at->Start());
  shapes->AddPicture(CStr::FromUtf8((dir / "new.png").string()), CVariant::I2(0), CVariant::I2(1),
                     CVariant::Dispatch(at));
  shapes->Item(1)->Range()->SetText(u"A\rA");
  const auto live = Walk(*doc);
  ASSERT_EQ(live.size(), 2u);
  EXPECT_EQ(live[1].first, "c");
  EXPECT_EQ(live, Walk(*Reopen(*doc)));
}

}  // namespace
