// Templates made to make the reader slow: each must read with the same events as a
// reader that tries every "<" afresh, and in time proportional to its length (a
// quadratic reader takes minutes on these sizes).
#include <gtest/gtest.h>

#include <random>

#include "RecordingSink.h"
#include "html/CHTMLTag.h"

namespace {

// The tags found by trying each "<" with a fresh tag and no memory of earlier tries.
std::vector<std::string> TagsTriedAfresh(std::u16string_view text) {
  std::vector<std::string> tags;
  for (size_t at = text.find(u'<'); at != std::u16string_view::npos; at = text.find(u'<', at)) {
    CHTMLTag tag;
    const size_t length = tag.ParseFromString(text.substr(at));
    if (length == 0) {
      ++at;
      continue;
    }
    if (tag.IsOpening()) tags.push_back("S " + tag.Name().ToUtf8() + " " + std::to_string(at));
    if (tag.IsClosing()) tags.push_back("E " + tag.Name().ToUtf8() + " " + std::to_string(at));
    at += length;
  }
  return tags;
}

std::vector<std::string> TagsRead(const std::u16string& text) {
  CRecordingSink sink;
  CHTMLReader reader;
  reader.SetEventHandler(&sink);
  reader.SetEventMask(CHTMLReader::eNotifyStartTag | CHTMLReader::eNotifyEndTag);
  reader.Read(text);
  std::vector<std::string> tags;
  for (const std::string& event : sink.events) {
    // "S name start length ..." without the length and attributes.
    const size_t name = event.find(' ', 2), start = event.find(' ', name + 1);
    tags.push_back(event.substr(0, start));
  }
  return tags;
}

TEST(HostileTemplate, TagsAfterFailedAttributeRunsAreTheSameAsTriedAfresh) {
  const std::u16string_view pieces[] = {u"<a", u" y=", u"x", u"'", u"\"", u" ", u">", u"/", u"<", u"b=<"};
  std::mt19937 random(4);
  for (int round = 0; round < 20000; ++round) {
    std::u16string text;
    const int count = int(random() % 30);
    for (int i = 0; i < count; ++i) text += pieces[random() % std::size(pieces)];
    ASSERT_EQ(TagsRead(text), TagsTriedAfresh(text)) << CStr(text).ToUtf8();
  }
}

std::u16string Repeat(std::u16string_view unit, size_t size) {
  std::u16string text;
  while (text.size() < size) text += unit;
  return text;
}

TEST(HostileTemplate, UnterminatedAttributeRunsReadInOnePass) {
  for (std::u16string_view unit : {u"<a y=", u"<a y=x", u"<a b='<c d=' ", u"<p a=1 b "}) {
    const std::u16string text = Repeat(unit, 4 << 20);
    EXPECT_TRUE(TagsRead(text).empty()) << CStr(unit).ToUtf8();
  }
  // The same with a ">" at the very end: the first tag then holds everything.
  const std::u16string closed = Repeat(u"<a y=x", 4 << 20) + u">";
  EXPECT_EQ(TagsRead(closed), std::vector<std::string>{"S a 0"});
}

TEST(HostileTemplate, AValueOfManyReferencesReadsInOnePass) {
  std::u16string alt;
  for (int i = 0; alt.size() < (2u << 20); ++i)
    alt += u"&#" + CStr::DoStringFormat(u"%d", 0x4E00 + i % 20000).Str() + u";";
  CHTMLTag tag;
  const std::u16string text = u"<img alt=\"" + alt + u"\">";
  ASSERT_EQ(tag.ParseFromString(text), text.size());
  const CStr value = tag.GetAttributes()->GetAttribute(u"alt").GetValue();
  ASSERT_GT(value.GetLength(), 20000u);
  EXPECT_EQ(value.Str()[0], char16_t(0x4E00));
  EXPECT_EQ(value.Str()[19999], char16_t(0x4E00 + 19999));
}

// References keep their low sixteen bits, zero and lone surrogates included; a zero
// unit they bring does not end the text the way a zero in the template does.
TEST(HostileTemplate, ReferencesToZeroAndSurrogatesStayInsideTheText) {
  using namespace std::string_literals;
  CRecordingSink sink;
  CHTMLReader reader;
  reader.SetEventHandler(&sink);
  reader.Read(std::u16string(u"a&#0;b&#xD800;c&#x1F600;<p>d"));
  ASSERT_EQ(sink.events.size(), 5u);
  EXPECT_EQ(sink.events[1], "T a"s + '\0' + "b\xEF\xBF\xBD" "c\xEF\x98\x80");
  EXPECT_EQ(sink.events[2], "S p 24 3");
  EXPECT_EQ(sink.events[3], "T d");
}

}  // namespace
