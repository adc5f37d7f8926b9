#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "RecordingSink.h"

namespace {

struct SRun {
  std::vector<std::string> events;
  uint32_t position;
};

SRun ReadWith(const std::u16string& text, const std::string& abortOn, uint32_t mask = 31) {
  CRecordingSink sink;
  sink.abortOn = abortOn;
  CHTMLReader reader;
  reader.SetEventHandler(&sink);
  reader.SetEventMask(mask);
  const uint32_t position = reader.Read(text.c_str());
  return {sink.events, position};
}

TEST(HTMLReaderAbort, StopsAtEveryKindOfEvent) {
  const std::u16string text = u"<!--c-->t<br/>u";
  const std::vector<std::string> all = {"B", "C c", "T t", "S br 9 5", "E br 9 5", "T u", "Z"};
  EXPECT_EQ(ReadWith(text, "").events, all);
  struct SCase {
    const char* abortOn;
    std::vector<std::string> events;
    uint32_t position;
  };
  const SCase cases[] = {
      {"B", {"B", "Z!"}, 0},
      {"C", {"B", "C c", "Z!"}, 8},
      {"T t", {"B", "C c", "T t", "Z!"}, 14},
      {"S", {"B", "C c", "T t", "S br 9 5", "Z!"}, 14},
      {"E", {"B", "C c", "T t", "S br 9 5", "E br 9 5", "Z!"}, 14},
      {"T u", {"B", "C c", "T t", "S br 9 5", "E br 9 5", "T u", "Z!"}, 15},
  };
  for (const SCase& c : cases) {
    SCOPED_TRACE(c.abortOn);
    const SRun run = ReadWith(text, c.abortOn);
    EXPECT_EQ(run.events, c.events);
    EXPECT_EQ(run.position, c.position);
  }
}

TEST(HTMLReaderMask, DeliversOnlyTheEventsAskedFor) {
  const std::u16string text = u"<!--c-->t<br/>";
  using R = CHTMLReader;
  EXPECT_EQ(ReadWith(text, "", R::eNotifyStartTag).events, (std::vector<std::string>{"S br 9 5"}));
  EXPECT_EQ(ReadWith(text, "", R::eNotifyEndTag | R::eNotifyComment).events,
            (std::vector<std::string>{"C c", "E br 9 5"}));
  EXPECT_EQ(ReadWith(text, "", R::eNotifyParse | R::eNotifyCharacters).events,
            (std::vector<std::string>{"B", "T t", "Z"}));
  EXPECT_TRUE(ReadWith(text, "", 0).events.empty());
  // Positions do not depend on which events are delivered.
  EXPECT_EQ(ReadWith(text, "", 0).position, 14u);
}

TEST(HTMLReaderInput, EmptyTextGivesNoEventAtAll) {
  EXPECT_TRUE(ReadWith(u"", "").events.empty());
  EXPECT_EQ(ReadWith(u"", "").position, 0u);
  EXPECT_EQ(ReadWith(u" \r\n\t", "").events, (std::vector<std::string>{"B", "Z"}));
  CHTMLReader withoutSink;
  EXPECT_EQ(withoutSink.Read(u"<p>abc</p>"), 10u);
}

TEST(HTMLReaderInput, ZeroCodeUnitEndsTheText) {
  CRecordingSink sink;
  CHTMLReader reader;
  reader.SetEventHandler(&sink);
  const std::u16string text(u"ab<p>\0<b>", 9);
  EXPECT_EQ(reader.Read(std::u16string_view(text)), 5u);
  EXPECT_EQ(sink.events, (std::vector<std::string>{"B", "T ab", "S p 2 3", "Z"}));
}

TEST(HTMLReaderInput, PassesApplicationDataAndCanReadAgain) {
  struct CDataSink : IHTMLReaderEvents {
    std::vector<uint32_t> seen;
    void BeginParse(uint32_t data, bool& abort) override { seen.push_back(data); abort = false; }
    void StartTag(CHTMLTag*, uint32_t, uint32_t, uint32_t data, bool& abort) override {
      seen.push_back(data);
      abort = false;
    }
    void EndParse(uint32_t data, bool) override { seen.push_back(data); }
  } sink;
  CHTMLReader reader;
  reader.SetEventHandler(&sink);
  reader.SetAppData(42);
  reader.Read(u"<p>");
  reader.SetAppData(7);
  EXPECT_EQ(reader.Read(u"x<p>"), 4u);
  EXPECT_EQ(sink.seen, (std::vector<uint32_t>{42, 42, 42, 7, 7, 7}));
}

// A fresh temporary file holding bytes, removed at the end.
struct STempFile {
  explicit STempFile(const std::string& bytes) {
    EXPECT_GE(fd, 0);
    EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  ~STempFile() {
    close(fd);
    unlink(path);
  }
  char path[32] = "/tmp/folio-html-XXXXXX";
  const int fd = mkstemp(path);
};

// A mark means UTF-16, and positions start after it; other files are widened byte by
// byte up to a zero; files too small for a mark and unreadable ones give no events.
TEST(HTMLReaderFile, EachKindOfFileIsRead) {
  const struct {
    std::string bytes;
    std::vector<std::string> events;
    uint32_t position;
  } cases[] = {
      {std::string("\xFF\xFE" "a\0<\0p\0>\0\xE9\0", 12), {"B", "T a", "S p 1 3", "T \xC3\xA9", "Z"}, 5},
      {"ab\xE9<p>cd", {"B", "T ab\xC3\xA9", "S p 3 3", "T cd", "Z"}, 8},
      {std::string("a<p>\0<b>", 8), {"B", "T a", "S p 1 3", "Z"}, 4},
      {"ab", {"B", "T ab", "Z"}, 2},
      {"", {}, 0},
      {"x", {}, 0},
      {"\xFF\xFE", {}, 0},
  };
  for (const auto& c : cases) {
    STempFile file(c.bytes);
    CRecordingSink sink;
    CHTMLReader reader;
    reader.SetEventHandler(&sink);
    EXPECT_EQ(reader.ReadFromFile(file.fd), c.position) << c.bytes;
    EXPECT_EQ(sink.events, c.events) << c.bytes;
  }
  CHTMLReader reader;
  CRecordingSink sink;
  reader.SetEventHandler(&sink);
  EXPECT_EQ(reader.ReadFromFile(-1), 0u);
  EXPECT_TRUE(sink.events.empty());
  // A zero ends a narrow text also when the file goes on past the first read.
  STempFile longFile(std::string(70000, 'a') + '\0' + std::string(70000, 'b'));
  EXPECT_EQ(reader.ReadFromFile(longFile.fd), 70000u);
}

// Another process cuts the file short while it is being read: the reader goes on
// with the text it read, where a mapping of the file would bring the process down.
TEST(HTMLReaderFile, AFileCutShortDuringTheParseDoesNotFault) {
  struct CTruncatingSink : CRecordingSink {
    int fd = -1;
    void BeginParse(uint32_t data, bool& abort) override {
      CRecordingSink::BeginParse(data, abort);
      EXPECT_EQ(ftruncate(fd, 0), 0);
    }
  };
  std::u16string text = u"\uFEFF";
  while (text.size() < (1u << 20)) text += u"<p>paragraph</p>";
  STempFile file(std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
  CTruncatingSink sink;
  sink.fd = file.fd;
  CHTMLReader reader;
  reader.SetEventHandler(&sink);
  EXPECT_EQ(reader.ReadFromFile(file.fd), text.size() - 1);
  EXPECT_EQ(sink.events.back(), "Z");
}

}  // namespace
