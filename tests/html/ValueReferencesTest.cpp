#include <gtest/gtest.h>

#include <random>

#include "folio/util/CStr.h"
#include "html/CHTMLEntityResolver.h"
#include "html/ValueReferences.h"

namespace {

// The rule read literally: resolve at each "&", replace every later copy of that
// reference's text at once, go on after the "&". Quadratic, hence only a model.
std::u16string Literally(std::u16string out) {
  constexpr size_t npos = std::u16string::npos;
  size_t semicolon = npos;
  for (size_t amp = out.find(u'&'); amp != npos; amp = out.find(u'&', amp + 1)) {
    if (semicolon == npos || semicolon < amp) {
      semicolon = out.find(u';', amp);
      if (semicolon == npos) break;
    }
    char16_t unit = 0;
    const size_t length = CHTMLEntityResolver::ResolveEntity(
        std::u16string_view(out).substr(amp), semicolon - amp, unit);
    if (length == 0) continue;
    const std::u16string reference = out.substr(amp, length);
    std::u16string replaced(out, 0, amp);
    replaced.push_back(unit);
    for (size_t from = amp + length;;) {
      const size_t next = out.find(reference, from);
      replaced.append(out, from, next == npos ? npos : next - from);
      if (next == npos) break;
      replaced.push_back(unit);
      from = next + length;
    }
    out.swap(replaced);
    semicolon = npos;
  }
  return out;
}

std::u16string Resolved(std::u16string value) {
  ResolveValueReferences(value);
  return value;
}

TEST(ValueReferences, ResolvesLaterCopiesAndTheTextTheyLeave) {
  const std::u16string_view cases[] = {
      u"a &lt; b &amp; c", u"&amp;lt;",        u"&amp;&amp;lt;",     u"&lt;&#38&lt;",
      u"&#65&lt;&#66&lt;x;", u"&lt;&#65&lt;y;", u"&#59;a&#59;&#59;",  u"&#38;amp;&#38;amp;",
      u"&&&x;&#65;&&&#65;", u"no references", u"&#;&#x;&;",         u"&AElig;&aelig;&AElig;",
      // Copies that only the whole rule treats right: inside a later reference, or
      // formed around a unit that joins the text beside it.
      u"&lt; &#6&lt;",      u"&lt;&#&lt;5;",    u"&#38;lt;&lt;",      u"&#13;&#10;&#9;x&#13;&eacute;"};
  for (std::u16string_view text : cases)
    EXPECT_EQ(CStr(Resolved(std::u16string(text))), CStr(Literally(std::u16string(text))))
        << CStr(text).ToUtf8();
  EXPECT_EQ(CStr(Resolved(u"&amp;&amp;lt;")), CStr(u"&<"));
}

// Random text over the characters that matter, checked against the literal rule.
TEST(ValueReferences, AgreesWithTheLiteralRuleOnRandomText) {
  const std::u16string_view pieces[] = {u"&", u";", u"#", u"6", u"5", u"3", u"8", u"x",
                                        u"lt", u"amp", u"&#59;", u"&#38;", u"&lt;", u"&amp;", u"a",
                                        u"&#6", u"&#13;", u"<"};
  std::mt19937 random(11);
  for (int round = 0; round < 20000; ++round) {
    std::u16string text;
    const int count = int(random() % 24);
    for (int i = 0; i < count; ++i) text += pieces[random() % std::size(pieces)];
    ASSERT_EQ(CStr(Resolved(text)), CStr(Literally(text))) << CStr(text).ToUtf8();
  }
}

}  // namespace
