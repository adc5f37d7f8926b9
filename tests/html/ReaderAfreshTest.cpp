#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "html/CHTMLReader.h"

namespace {

// The tags a reading reports: where each starts, whether it closes, and whether the
// reader said it was reached afresh.
struct STagSeen {
  uint32_t start;
  bool closing;
  bool afresh;
  bool operator==(const STagSeen& other) const { return start == other.start && closing == other.closing; }
};

class CTagRecorder : public IHTMLReaderEvents {
public:
  explicit CTagRecorder(const CHTMLReader& reader) : m_reader(reader) {}
  std::vector<STagSeen> tags;
  void StartTag(CHTMLTag*, uint32_t start, uint32_t, uint32_t, bool& abort) override {
    abort = false;
    tags.push_back({start, false, m_reader.ReachedAfresh()});
  }
  void EndTag(CHTMLTag*, uint32_t start, uint32_t, uint32_t, bool& abort) override {
    abort = false;
    tags.push_back({start, true, m_reader.ReachedAfresh()});
  }

private:
  const CHTMLReader& m_reader;
};

std::vector<STagSeen> Tags(const std::u16string& text) {
  CHTMLReader reader;
  CTagRecorder recorder(reader);
  reader.SetEventHandler(&recorder);
  reader.Read(std::u16string_view(text));
  return recorder.tags;
}

// Pieces that make readers look ahead: open quotes, comment dashes, tags cut short.
std::u16string Markup(std::mt19937& random, int pieces) {
  static const char16_t* const kPieces[] = {u"<",     u">",       u"<b",   u"<p title=\"x", u"\"",  u"<!--",
                                            u"--",    u"-->",     u"</body>", u"<body>", u"&amp", u";",
                                            u" ",     u"text",    u"</",   u"<!",       u"/",   u"'",
                                            u"=",     u"<br/>",   u"<a href='", u"</p>", u"<i>", u"-"};
  std::u16string text;
  for (int k = 0; k < pieces; ++k) text += kPieces[random() % std::size(kPieces)];
  return text;
}

// A tag reached afresh is where a reading can start over: whatever replaces the text
// from its "<" on, the tags before it stay, and the tags from there on are those of a
// reading of the new text alone.
TEST(HTMLReaderAfresh, ATagReachedAfreshDependsOnNothingAfterIt) {
  std::mt19937 random(12);
  int afreshSeen = 0, notAfresh = 0;
  for (int round = 0; round < 3000; ++round) {
    const std::u16string text = Markup(random, 2 + static_cast<int>(random() % 14));
    const std::vector<STagSeen> tags = Tags(text);
    for (size_t k = 0; k < tags.size(); ++k) {
      if (!tags[k].afresh) {
        ++notAfresh;
        continue;
      }
      ++afreshSeen;
      const uint32_t at = tags[k].start;
      const std::u16string rest = Markup(random, 1 + static_cast<int>(random() % 8));
      std::vector<STagSeen> expected;
      for (const STagSeen& before : tags)
        if (before.start < at) expected.push_back(before);
      for (STagSeen seen : Tags(rest)) {
        seen.start += at;
        expected.push_back(seen);
      }
      ASSERT_EQ(Tags(text.substr(0, at) + rest), expected)
          << "text \"" << CStr(text).ToUtf8() << "\" cut at " << at << ", then \"" << CStr(rest).ToUtf8() << "\"";
    }
  }
  EXPECT_GT(afreshSeen, 1000);
  EXPECT_GT(notAfresh, 100) << "the pieces should also make readers look ahead";
}

TEST(HTMLReaderAfresh, RefusedAnglesBeforeATagAreNoted) {
  const auto afresh = [](const std::u16string& text) {
    const std::vector<STagSeen> tags = Tags(text);
    return !tags.empty() && tags.back().afresh;
  };
  EXPECT_TRUE(afresh(u"<body><p>x</p><!-- c --></body>"));
  EXPECT_TRUE(afresh(u"<!DOCTYPE html><body>x</body>")) << "refused right there, for what follows at once";
  EXPECT_FALSE(afresh(u"<body>x<b</body>")) << "\"<b\" was refused for the \"<\" after it";
  EXPECT_FALSE(afresh(u"<body><a href=\"x>y</body>")) << "an open quote looks to the end";
  EXPECT_FALSE(afresh(u"<body><!-- x -- y</body>")) << "a comment's dashes look far";
}

}  // namespace
