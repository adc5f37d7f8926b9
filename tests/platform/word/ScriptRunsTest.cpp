#include "WordFixture.h"

#include "platform/word/document/ScriptRuns.h"

using namespace wordtest;

namespace {

std::vector<std::pair<EScript, std::u16string>> Pieces(std::u16string_view text) {
  std::vector<std::pair<EScript, std::u16string>> out;
  for (const SScriptPiece& p : ScriptPieces(text)) out.push_back({p.script, std::u16string(p.text)});
  return out;
}

TEST(ScriptPieces, NeutralCharactersJoinThePieceBeforeThem) {
  using E = EScript;
  EXPECT_EQ(Pieces(u"plain 1, 2"), (std::vector<std::pair<E, std::u16string>>{{E::eDefault, u"plain 1, 2"}}));
  EXPECT_EQ(Pieces(u"(1) \u65E5\u672C, ok \u05D0\u05D1 !"),
            (std::vector<std::pair<E, std::u16string>>{
                {E::eEastAsian, u"(1) \u65E5\u672C, "}, {E::eDefault, u"ok "}, {E::eRightToLeft, u"\u05D0\u05D1 !"}}));
  // A character of plane 2 (two units) stays whole and East Asian.
  EXPECT_EQ(Pieces(u"a\U00020000"), (std::vector<std::pair<E, std::u16string>>{{E::eDefault, u"a"},
                                                                                {E::eEastAsian, u"\U00020000"}}));
  EXPECT_FALSE(NeedsScriptRuns(u"caf\u00E9 \u2014 \u00B5m"));
  EXPECT_TRUE(NeedsScriptRuns(u"\u0627"));
  EXPECT_EQ(Pieces(u""), (std::vector<std::pair<E, std::u16string>>{{E::eDefault, u""}}));
}

using ScriptRuns = WordFixture;

// Typed text with paragraph marks keeps each script in its own run on both sides of
// the break, and the positions still count every unit once.
TEST_F(ScriptRuns, TypedTextIsCutByScriptAcrossParagraphs) {
  auto doc = Open(P("x"));
  auto range = doc->Content();
  range->SetEnd(1);
  range->SetText(u"a\u65E5\r\u05D0b");
  EXPECT_EQ(doc->Content()->End(), 6);
  const std::string xml = SavedXml(*doc);
  EXPECT_NE(xml.find("<w:r><w:t xml:space=\"preserve\">a</w:t></w:r><w:r><w:rPr><w:rFonts w:hint=\"eastAsia\"/></w:rPr>"
                     "<w:t xml:space=\"preserve\">\xE6\x97\xA5</w:t></w:r></w:p>"),
            std::string::npos)
      << xml;
  EXPECT_NE(xml.find("<w:r><w:rPr><w:rFonts w:hint=\"cs\"/><w:rtl/></w:rPr><w:t xml:space=\"preserve\">\xD7\x90</w:t></w:r>"
                     "<w:r><w:t xml:space=\"preserve\">b</w:t></w:r>"),
            std::string::npos)
      << xml;
}

}  // namespace
