#include <gtest/gtest.h>

#include "html/CHTMLAttributes.h"
#include "html/CHTMLTag.h"

namespace {

std::string Utf8(const CStr& text) { return text.ToUtf8(); }

TEST(HTMLElemAttr, ParsesOneAttribute) {
  struct SCase {
    std::u16string_view text;
    size_t consumed;
    const char* name;
    const char* value;
  };
  const SCase cases[] = {
      {u"  HREF=\"A b\" x", 12, "href", "A b"},
      {u"nowrap class=x", 6, "nowrap", ""},
      {u"src = 'a'", 3, "src", ""},
      {u"a= b c", 4, "a", "b"},
      {u"a=>", 3, "a", ">"},
      {u"href=/a/b>", 7, "href", "/a"},
      {u"v='it\"s'", 8, "v", "it\"s"},
      {u"v='open", 7, "v", "open"},
      {u"v=", 2, "v", ""},
      {u"v=''", 4, "v", ""},
      {u"data-x:y_z.w=1", 14, "data-x:y_z.w", "1"},
      {u"a/", 1, "a", ""},
  };
  for (const SCase& c : cases) {
    SCOPED_TRACE(CStr(c.text).ToUtf8());
    CHTMLElemAttr attribute;
    EXPECT_EQ(attribute.ParseFromString(c.text), c.consumed);
    EXPECT_EQ(Utf8(attribute.GetName()), c.name);
    EXPECT_EQ(Utf8(attribute.GetValue()), c.value);
  }
}

TEST(HTMLElemAttr, RejectsWhatIsNoAttribute) {
  for (std::u16string_view text : {u"", u"  ", u"=a", u"1a=b", u"-a", u"a<b", u"a\"b\"", u"'x'"}) {
    CHTMLElemAttr attribute(u"keep", u"me");
    EXPECT_EQ(attribute.ParseFromString(text), 0u) << CStr(text).ToUtf8();
    EXPECT_EQ(Utf8(attribute.GetName()), "keep");
  }
}

TEST(HTMLElemAttr, PutValueNormalisesWhiteSpaceAndReferences) {
  struct SCase {
    std::u16string_view value;
    std::u16string_view stored;
  };
  const SCase cases[] = {
      {u"  a\n b\tc\r\nd \n", u"a b c d"},
      {u"\t\r\n", u""},
      {u"a &lt; b &amp; c", u"a < b & c"},
      {u"&amp;lt;", u"&lt;"},
      {u"&lt;&#38&lt;", u"<&#38<"},
      {u"&#65;&#65;&#66;", u"AAB"},
      {u"&&&x", u"&&&x"},
      {u"x&nbsp;y", u"x\u00A0y"},
      {u"&\namp;", u"&"},
  };
  for (const SCase& c : cases) {
    CHTMLElemAttr attribute;
    attribute.PutValue(c.value);
    EXPECT_EQ(attribute.GetValue(), CStr(c.stored)) << CStr(c.value).ToUtf8();
  }
}

TEST(HTMLAttributes, ParsesARunAndLooksUpByName) {
  CHTMLAttributes list;
  EXPECT_EQ(list.GetIndexFromName(u"a"), -1);
  EXPECT_EQ(list.ParseFromString(u"Width=200 ALT='KORI {' alt=2 >rest"), 28u);
  ASSERT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.GetIndexFromName(u"ALT"), 1);
  EXPECT_EQ(Utf8(list.GetAttribute(u"alt").GetValue()), "KORI {");
  EXPECT_EQ(Utf8(list.GetAttribute(2).GetValue()), "2");
  EXPECT_EQ(Utf8(list.GetAttribute(u"WIDTH").GetValue()), "200");
  // Absent names and bad indexes give empty attributes.
  EXPECT_EQ(list.GetIndexFromName(u"c"), -1);
  for (const CHTMLElemAttr& empty : {list.GetAttribute(5), list.GetAttribute(-1), list.GetAttribute(3),
                                     list.GetAttribute(u"c")}) {
    EXPECT_TRUE(empty.GetName().IsEmpty());
    EXPECT_TRUE(empty.GetValue().IsEmpty());
  }
  EXPECT_EQ(list.Find(u"c"), nullptr);
}

TEST(HTMLAttributes, FailedParseLeavesTheListAlone) {
  CHTMLAttributes list;
  list.ParseFromString(u"a=1 b=2");
  EXPECT_EQ(list.ParseFromString(u"=x"), 0u);
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.ParseFromString(u"c"), 1u);
  EXPECT_EQ(list.GetCount(), 1);
  // The storage of "b" is kept for reuse but no longer seen.
  EXPECT_EQ(list.GetIndexFromName(u"b"), -1);
  EXPECT_TRUE(list.GetAttribute(1).GetName().IsEmpty());
  list.RemoveAll();
  EXPECT_EQ(list.GetCount(), 0);
}

TEST(HTMLAttributes, CopiesDeeplyOrTakesOver) {
  CHTMLAttributes source;
  source.ParseFromString(u"a=1 b=2");
  CHTMLAttributes deep(source, true);
  EXPECT_EQ(deep.GetCount(), 2);
  EXPECT_EQ(source.GetCount(), 2);
  source.ParseFromString(u"c=3");
  EXPECT_EQ(Utf8(deep.GetAttribute(0).GetValue()), "1");
  CHTMLAttributes taken(source, false);
  EXPECT_EQ(taken.GetCount(), 1);
  EXPECT_EQ(source.GetCount(), 0);
  EXPECT_EQ(Utf8(taken.GetAttribute(u"c").GetValue()), "3");
}

TEST(HTMLTag, RecognisesOpeningClosingAndSelfClosingTags) {
  struct SCase {
    std::u16string_view text;
    size_t consumed;
    const char* name;
    bool opening, closing;
    int attributes;
  };
  const SCase cases[] = {
      {u"<P>x", 3, "p", true, false, 0},
      {u"  <p>", 5, "p", true, false, 0},
      {u"</TD>", 5, "td", false, true, 0},
      {u"<br/>", 5, "br", true, true, 0},
      {u"<br />", 6, "br", true, true, 0},
      {u"<img src=a />", 13, "img", true, true, 1},
      {u"<img src='a'/>", 14, "img", true, true, 1},
      {u"<p =x>", 6, "p", true, false, 0},
      {u"<>", 1, "", false, false, 0},
  };
  for (const SCase& c : cases) {
    SCOPED_TRACE(CStr(c.text).ToUtf8());
    CHTMLTag tag;
    EXPECT_EQ(tag.ParseFromString(c.text), c.consumed);
    EXPECT_EQ(Utf8(tag.GetTagName()), c.name);
    EXPECT_EQ(tag.IsOpening(), c.opening);
    EXPECT_EQ(tag.IsClosing(), c.closing);
    EXPECT_EQ(tag.GetAttributes() ? tag.GetAttributes()->GetCount() : 0, c.attributes);
  }
}

TEST(HTMLTag, RejectsTextThatIsNoTag) {
  for (std::u16string_view text : {u"", u"<", u"p>", u"< p>", u"</p >", u"</p", u"<p", u"<p a=1",
                                   u"<p a=1 x", u"<p a='1>", u"<p!>", u"</p/>", u"<a href=/a/b>"}) {
    CHTMLTag tag;
    EXPECT_EQ(tag.ParseFromString(text), 0u) << CStr(text).ToUtf8();
  }
}

TEST(HTMLTag, CopyKeepsOrTakesTheAttributes) {
  CHTMLTag source;
  source.ParseFromString(u"<OBJECT classid=x width=3>");
  CHTMLTag deep(source, true);
  ASSERT_NE(source.GetAttributes(), nullptr);
  ASSERT_NE(deep.GetAttributes(), nullptr);
  EXPECT_EQ(Utf8(deep.GetTagName()), "object");
  EXPECT_EQ(Utf8(deep.GetAttributes()->GetAttribute(u"width").GetValue()), "3");
  CHTMLTag taken(source, false);
  EXPECT_EQ(source.GetAttributes(), nullptr);
  ASSERT_NE(taken.GetAttributes(), nullptr);
  EXPECT_EQ(taken.GetAttributes()->GetCount(), 2);
  // The reader's tag is refilled; a deep copy must not change with it.
  source.ParseFromString(u"<p a=1>");
  EXPECT_EQ(deep.GetAttributes()->GetCount(), 2);
}

}  // namespace
