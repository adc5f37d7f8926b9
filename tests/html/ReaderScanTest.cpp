// The reader searches text many units at a time; these cases put what it looks for
// at every place within and across those steps, and at every alignment.
#include <gtest/gtest.h>

#include "RecordingSink.h"
#include "html/HTMLChars.h"

namespace {

using namespace folio_html;

const char16_t* FindSlowly(const char16_t* p, const char16_t* end, char16_t a, char16_t b) {
  while (p < end && *p != a && *p != b) ++p;
  return p;
}

TEST(HTMLScan, FindsTheFirstTargetAtEveryPlace) {
  // Fillers that share a byte with a target must not be taken for it.
  const char16_t fillers[] = {u'x', u'\x263c', u'\x3c00', u'\x2626'};
  for (size_t length = 0; length <= 40; ++length)
    for (size_t first = 0; first <= length; ++first) {
      std::u16string text(length, u' ');
      for (size_t i = 0; i < length; ++i) text[i] = fillers[(i + first) % std::size(fillers)];
      if (first < length) text[first] = u'&';
      // A later target must not be found instead of the first one.
      for (size_t later = first + 1; later < length; later += 5) text[later] = u'<';
      const char16_t* begin = text.data();
      const char16_t* end = begin + length;
      ASSERT_EQ(FindEither(begin, end, u'<', u'&'), FindSlowly(begin, end, u'<', u'&'))
          << "length " << length << ", first at " << first;
      ASSERT_EQ(FindChar(begin, end, u'&') - begin, std::ptrdiff_t(first));
    }
}

TEST(HTMLScan, NeverReadsBeyondTheEnd) {
  // Targets right after the end must not be seen, whatever the step size.
  for (size_t length = 0; length <= 40; ++length) {
    std::u16string text(length, u'x');
    text.append(20, u'<');
    const char16_t* end = text.data() + length;
    EXPECT_EQ(FindChar(text.data(), end, u'<'), end) << length;
  }
}

TEST(HTMLScan, MeasuresTerminatedTextAtEveryAlignment) {
  // Read returns the position it stopped at: the end of text without markup.
  alignas(64) char16_t buffer[400];
  for (size_t offset = 0; offset < 40; ++offset)
    for (size_t length = 1; length < 300; length += offset % 3 + 1) {
      std::fill(std::begin(buffer), std::end(buffer), u'y');
      buffer[offset + length] = 0;
      IHTMLReaderEvents sink;
      CHTMLReader reader;
      reader.SetEventHandler(&sink);
      ASSERT_EQ(reader.Read(buffer + offset), length) << "offset " << offset;
    }
}

TEST(HTMLScan, TextRunsKeepTheirLengthAsTheyGrowAndShrink) {
  // Each run reuses the previous one's storage, longer or shorter.
  std::string html;
  std::vector<std::string> expected;
  for (size_t length : {1, 30, 2, 17, 0, 64, 8, 9, 1}) {
    const std::string run(length, char('a' + length % 26));
    html += run + "<i>";
    if (length > 0) expected.push_back("T " + run);
    expected.push_back("S i " + std::to_string(html.size() - 3) + " 3");
  }
  EXPECT_EQ(ReadEvents(html), expected);
}

TEST(HTMLScan, ResolvedReferencesJoinTheRunAroundThem) {
  EXPECT_EQ(ReadEvents("abcdefghijklmnopqrs&amp;t<b>u&lt;<b>&gt;"),
            (std::vector<std::string>{"T abcdefghijklmnopqrs&t", "S b 25 3", "T u<", "S b 33 3",
                                      "T >"}));
}

TEST(HTMLScan, TagsFoundAfterLongTextAndInsideLongValues) {
  const std::string text(37, 't');
  const std::string value(45, 'v');
  EXPECT_EQ(ReadEvents(text + "<a href='" + value + "'>x"),
            (std::vector<std::string>{"T " + text, "S a 37 56 href=" + value, "T x"}));
}

}  // namespace
