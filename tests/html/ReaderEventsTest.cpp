#include <gtest/gtest.h>

#include "RecordingSink.h"

namespace {

struct SCase {
  const char* input;
  std::vector<std::string> events;
};

void Check(const std::vector<SCase>& cases, bool resolveEntities = true) {
  for (const SCase& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(ReadEvents(c.input, resolveEntities), c.events);
  }
}

TEST(HTMLReaderEvents, TextAndTagsCarryExactPositions) {
  Check({
      {"ab<p>cd", {"T ab", "S p 2 3", "T cd"}},
      {"  \n ab<p>cd \r\n ", {"T ab", "S p 6 3", "T cd"}},
      {"<p>\n<b>x</b>", {"S p 0 3", "T \n", "S b 4 3", "T x", "E b 8 4"}},
      {"<p>  </p>", {"S p 0 3", "T   ", "E p 5 4"}},
      {"0123456789<br/>", {"T 0123456789", "S br 10 5", "E br 10 5"}},
      {"<p >x", {"S p 0 4", "T x"}},
      {"<p/x>", {"S p 0 5"}},
      {"<a:b.c-d_e>", {"S a:b.c-d_e 0 11"}},
      {"<IMG SRC=\"a.png\" ALT='x'>", {"S img 0 25 src=a.png alt=x"}},
      {"<p>\xC3\xA9</p>", {"S p 0 3", "T \xC3\xA9", "E p 4 4"}},
      {"\xF0\x9F\x98\x80<p>", {"T \xF0\x9F\x98\x80", "S p 2 3"}},
  });
}

TEST(HTMLReaderEvents, MalformedMarkupIsText) {
  Check({
      {"a < b", {"T a < b"}},
      {"</p >", {"T </p >"}},
      {"x</ p>", {"T x</ p>"}},
      {"<1>", {"T <1>"}},
      {"<p class=x", {"T <p class=x"}},
      {"<p", {"T <p"}},
      {"<", {"T <"}},
      {"<a href=/a/b>x", {"T <a href=/a/b>x"}},
      {"<p a = 'b'>x", {"T <p a = 'b'>x"}},
      {"<p a='b>x", {"T <p a='b>x"}},
      {"<p a='1' <b>", {"T <p a='1' ", "S b 9 3"}},
      {"<<p>", {"T <", "S p 1 3"}},
  });
}

TEST(HTMLReaderEvents, EmptyTagsDropTheirAngleBracket) {
  Check({
      {"<>a", {"T >a"}},
      {"a<>b", {"T a", "T >b"}},
      {"</>", {"E  0 3"}},
  });
}

TEST(HTMLReaderEvents, CommentsNeedTheirClosingDashes) {
  Check({
      {"<!-- x --><p>", {"C  x ", "S p 10 3"}},
      {"<!-- a -- b --> <p>", {"T <!-- a -- b --> ", "S p 16 3"}},
      {"<!--x-- \n >y", {"C x", "T y"}},
      {"x<!---->y", {"T x", "T y"}},
      {"<!-- open <p>", {"C  open <p>"}},
      {"a<!--", {"T a"}},
      {"<!--x--", {"T <!--x--"}},
      {"<!-x-->", {"T <!-x-->"}},
      {"<!--a-b--><p>", {"C a-b", "S p 10 3"}},
  });
}

TEST(HTMLReaderEvents, AttributesWithAndWithoutQuotes) {
  Check({
      {"<td nowrap class=x>", {"S td 0 19 nowrap= class=x"}},
      {"<param NAME=\"Value\" VALUE='a \"b\"'>", {"S param 0 34 name=Value value=a \"b\""}},
      {"<p a='>'>", {"S p 0 9 a=>"}},
      {"<p a=1/>", {"S p 0 8 a=1", "E p 0 8"}},
      {"<p a=1 a=2>", {"S p 0 11 a=1 a=2"}},
      {"<p a=\"x\"b='y'>", {"S p 0 14 a=x b=y"}},
      {"<p a=\r\n'  1\r\n2  ' >", {"S p 0 19 a=1 2"}},
      {"<p title='a &lt; b &amp; c'>", {"S p 0 28 title=a < b & c"}},
  });
}

TEST(HTMLReaderEvents, CharacterReferencesInText) {
  Check({
      {"x &amp; y", {"T x & y"}},
      {"&lt;b&gt;", {"T <b>"}},
      {"a&#65;b&#x42;", {"T aAbB"}},
      {"a&amp;b<p>c", {"T a&b", "S p 7 3", "T c"}},
      {"&nosuch; x", {"T &nosuch; x"}},
      {"a & b; c", {"T a & b; c"}},
      {"a &amp", {"T a &amp"}},
      {"&amp;  ", {"T &"}},
      {"<p>&#32;</p>", {"S p 0 3", "T  ", "E p 8 4"}},
  });
  Check({{"x &amp; y", {"T x &amp; y"}}, {"&lt;<p>", {"T &lt;", "S p 4 3"}}}, false);
}

}  // namespace
