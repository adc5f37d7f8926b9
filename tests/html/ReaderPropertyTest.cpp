#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

#include "html/CHTMLReader.h"

namespace {

// Checks every tag span against the text it was cut from.
class CSpanChecker : public IHTMLReaderEvents {
public:
  explicit CSpanChecker(std::u16string_view text) : m_text(text) {}
  int tags = 0;

  void StartTag(CHTMLTag* tag, uint32_t start, uint32_t length, uint32_t, bool& abort) override {
    abort = false;
    Check(tag, start, length);
    EXPECT_GE(start, m_end) << "opening tag overlaps the previous tag";
    m_start = start;
    m_end = start + length;
    m_openedHere = true;
  }
  void EndTag(CHTMLTag* tag, uint32_t start, uint32_t length, uint32_t, bool& abort) override {
    abort = false;
    Check(tag, start, length);
    const bool selfClosing = m_openedHere && start == m_start && start + length == m_end;
    if (!selfClosing) {
      EXPECT_GE(start, m_end) << "closing tag overlaps the previous tag";
    }
    m_start = start;
    m_end = start + length;
    m_openedHere = false;
  }
  void Characters(const CStr&, uint32_t, bool& abort) override { abort = false; m_openedHere = false; }
  void Comment(const CStr&, uint32_t, bool& abort) override { abort = false; m_openedHere = false; }

private:
  void Check(CHTMLTag* tag, uint32_t start, uint32_t length) {
    ++tags;
    ASSERT_GE(length, 3u);
    ASSERT_LE(size_t(start) + length, m_text.size());
    EXPECT_EQ(m_text[start], u'<');
    EXPECT_EQ(m_text[start + length - 1], u'>');
    // The span alone holds the whole tag: nothing after its ">" took part.
    CHTMLTag alone;
    EXPECT_EQ(alone.ParseFromString(m_text.substr(start, length)), length);
    EXPECT_EQ(alone.GetTagName(), tag->GetTagName());
  }

  std::u16string_view m_text;
  uint32_t m_start = 0, m_end = 0;
  bool m_openedHere = false;
};

int CheckSpans(const std::u16string& text, bool resolveEntities) {
  CSpanChecker checker(text);
  CHTMLReader reader;
  reader.SetEventHandler(&checker);
  reader.SetResolveEntities(resolveEntities);
  EXPECT_EQ(reader.Read(text.c_str()), text.size());
  return checker.tags;
}

std::u16string Generate(std::mt19937& random) {
  static const char16_t kLoneSurrogate[] = {0xD800, 0};
  static const char16_t* const kPieces[] = {
      u"<p>", u"</p>", u"<br/>", u"<br />", u"<IMG SRC=a.gif ALT='KORI {x}'>", u"<a href=\"x>y\" t='1'>",
      u"<td nowrap class=x>", u"<!-- c -->", u"<!-- a -- b -->", u"<!--", u"-->", u"--", u"&amp;",
      u"&#65;", u"&#x", u"&", u";", u"<", u">", u"/", u"'", u"\"", u"=", u" ", u"\n", u"\t",
      u"text", u"\u00e9", u"<p a = b>", u"</p >", u"<>", u"</>", u"<a b", u"<p x=1/>", u"x", kLoneSurrogate,
      u"<o:p>", u"</o:p>", u"<![if !vml]>", u"<object classid=\"CLSID:1\">", u"<param name=a value=b>"};
  std::uniform_int_distribution<size_t> count(0, 60), piece(0, std::size(kPieces) - 1);
  std::u16string text;
  for (size_t n = count(random); n > 0; --n) text += kPieces[piece(random)];
  return text;
}

TEST(HTMLReaderSpans, GeneratedMarkupGivesOrderedSpansCutAtAngleBrackets) {
  std::mt19937 random(20240601);
  int tags = 0;
  for (int i = 0; i < 3000; ++i) {
    const std::u16string text = Generate(random);
    SCOPED_TRACE(CStr(text).ToUtf8());
    tags += CheckSpans(text, i % 2 == 0);
    if (HasFailure()) break;
  }
  EXPECT_GT(tags, 10000);
}

TEST(HTMLReaderSpans, WordProcessorPageGivesOrderedSpansCutAtAngleBrackets) {
  std::ifstream file(FOLIO_HTML_TEST_DATA "/word-page.htm", std::ios::binary);
  ASSERT_TRUE(file);
  std::stringstream bytes;
  bytes << file.rdbuf();
  const std::u16string text = CStr::FromLatin1(bytes.str()).Str();
  EXPECT_EQ(CheckSpans(text, true), 58);
  EXPECT_EQ(CheckSpans(text, false), 58);
}

}  // namespace
