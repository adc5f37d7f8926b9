#include "WordFixture.h"

using namespace wordtest;

namespace {

using Positions = WordFixture;

// One document of every kind of unit: text, tab and break count one each, a character
// beyond the basic plane two, marks (proofing, bookmarks, anchors) none; field codes
// count but are hidden in the text; cell and row ends count one each; a text box has a
// story of its own.
TEST_F(Positions, EachUnitCountsOnceAndMarksCountNothing) {
  auto doc = Open("<w:p><w:proofErr w:type=\"spellStart\"/><w:r><w:t>ab</w:t><w:tab/><w:t>c</w:t></w:r>"
                  "<w:bookmarkStart w:id=\"0\" w:name=\"x\"/><w:r><w:br/></w:r><w:bookmarkEnd w:id=\"0\"/></w:p>" +
                  P("a\xF0\x9F\x98\x80z") +
                  "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText> PAGE </w:instrText></w:r>"
                  "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>1</w:t></w:r>"
                  "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>"
                  "<w:tbl><w:tr><w:tc><w:p><w:r><w:t>a</w:t></w:r></w:p></w:tc><w:tc><w:p/></w:tc></w:tr></w:tbl>"
                  "<w:p><w:r><w:t>x</w:t></w:r><w:r><w:drawing><wp:anchor><wp:docPr id=\"3\" name=\"Box\"/>"
                  "<a:graphic><a:graphicData><wps:wsp><wps:txbx><w:txbxContent>" + P("inside") +
                  "</w:txbxContent></wps:txbx></wps:wsp></a:graphicData></a:graphic></wp:anchor></w:drawing></w:r></w:p>");
  EXPECT_EQ(Utf8(doc->Content()->Text()), "ab\tc\v\ra\xF0\x9F\x98\x80z\r1\ra\r\a\r\a\r\ax\r");
  EXPECT_EQ(doc->Content()->End(), 6 + 5 + 11 + 4 + 2);
  EXPECT_EQ(Utf8(doc->Range(CVariant::I4(1), CVariant::I4(4))->Text()), "b\tc");
  EXPECT_EQ(doc->Range(CVariant::I4(9), CVariant::I4(10))->Text(), u"z");
  ASSERT_EQ(doc->Fields()->Count(), 1);
  EXPECT_EQ(Utf8(doc->Fields()->Item(1)->Code()), " PAGE ");
  ASSERT_EQ(doc->Tables()->Count(), 1);
  EXPECT_EQ(doc->Tables()->Item(1)->Range()->Start(), 22);
  EXPECT_EQ(doc->Tables()->Item(1)->Range()->End(), 26);

  ASSERT_EQ(doc->Shapes()->Count(), 1);
  auto frame = doc->Shapes()->Item(CVariant::I2(1))->TextFrame();
  EXPECT_EQ(frame->HasText(), -1);
  EXPECT_EQ(Utf8(frame->TextRange()->Text()), "inside\r");
  EXPECT_EQ(frame->TextRange()->End(), 7);
  EXPECT_EQ(Utf8(doc->Shapes()->Item(CVariant::Text(u"Box"))->TextFrame()->TextRange()->Text()), "inside\r");
}

TEST_F(Positions, ANewDocumentIsOneParagraphMarkAndHasNoItems) {
  auto doc = app->Documents()->Add();
  EXPECT_EQ(doc->Content()->Start(), 0);
  EXPECT_EQ(doc->Content()->End(), 1);
  EXPECT_EQ(Utf8(doc->Content()->Text()), "\r");
  try {
    doc->InlineShapes()->Item(1);
    FAIL() << "no error";
  } catch (const CComError& e) {
    EXPECT_EQ(e.Error(), DISP_E_BADINDEX);
  }
  EXPECT_NE(ComErrorOf([&] { doc->StoryRanges()->Item(7); }), "");
}

}  // namespace
