#include <cstdlib>

#include "HtmlFuzzInput.h"
#include "folio/html/CHTMLEventHandler.h"
#include "folio/model/CKORIControlValue.h"
#include "html/CHTMLReader.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// Holds the reader to its promises about spans, and aborts once on request. Passes
// every event on to next when there is one, so that one read serves both.
class CCheckingSink : public IHTMLReaderEvents {
public:
  CCheckingSink(std::u16string_view text, uint32_t abortAt, IHTMLReaderEvents* next = nullptr)
      : m_text(text), m_abortAt(abortAt), m_next(next) {}
  bool ended = false, endedAborted = false, nextAborted = false;
  uint32_t events = 0;

  void BeginParse(uint32_t appData, bool& abort) override {
    if (m_next) m_next->BeginParse(appData, abort);
    abort = Count(abort);
  }
  void StartTag(CHTMLTag* tag, uint32_t start, uint32_t length, uint32_t appData, bool& abort) override {
    Span(tag, start, length, false);
    if (m_next) m_next->StartTag(tag, start, length, appData, abort);
    abort = Count(abort);
  }
  void EndTag(CHTMLTag* tag, uint32_t start, uint32_t length, uint32_t appData, bool& abort) override {
    Span(tag, start, length, true);
    if (m_next) m_next->EndTag(tag, start, length, appData, abort);
    abort = Count(abort);
  }
  void Characters(const CStr& text, uint32_t appData, bool& abort) override {
    Require(!text.IsEmpty());
    m_last = kText;
    if (m_next) m_next->Characters(text, appData, abort);
    abort = Count(abort);
  }
  void Comment(const CStr& text, uint32_t appData, bool& abort) override {
    Require(!text.IsEmpty());
    m_last = kText;
    if (m_next) m_next->Comment(text, appData, abort);
    abort = Count(abort);
  }
  void EndParse(uint32_t appData, bool aborted) override {
    Require(!ended);
    ended = true;
    endedAborted = aborted;
    if (m_next) m_next->EndParse(appData, aborted);
  }

private:
  enum { kText, kStart, kEnd };
  // Whether to abort: on request, or because next asked to (its flag, when there is one).
  bool Count(bool& abort) {
    const bool asked = m_next && abort;
    nextAborted = nextAborted || asked;
    return ++events == m_abortAt || asked;
  }
  void Span(CHTMLTag* tag, uint32_t start, uint32_t length, bool closing) {
    Require(!ended && length >= 1 && size_t(start) + length <= m_text.size());
    Require(m_text[start] == u'<' && m_text[start + length - 1] == u'>');
    const bool sameAsOpening = closing && m_last == kStart && start == m_start;
    Require(sameAsOpening ? start + length == m_end : start >= m_end);
    Require(closing ? tag->IsClosing() : tag->IsOpening());
    m_start = start;
    m_end = start + length;
    m_last = closing ? kEnd : kStart;
  }

  std::u16string_view m_text;
  uint32_t m_abortAt;
  IHTMLReaderEvents* m_next;
  uint32_t m_start = 0, m_end = 0;
  int m_last = kText;
};

}  // namespace

void FuzzHtmlReader(const uint8_t* data, size_t size) {
  const std::u16string text = FuzzText(data, size);
  const size_t stop = FuzzTextEnd(text);
  // Read everything twice (references on and off; the template collector listens to the
  // first), then abort at the k-th event.
  CHTMLEventHandler collector;
  struct SRun {
    bool resolve;
    uint32_t abortAt;
    IHTMLReaderEvents* next;
  };
  for (const SRun run : {SRun{true, 0, &collector}, SRun{false, 0, nullptr}, SRun{true, 1u + uint32_t(size % 7), nullptr}}) {
    const uint32_t abortAt = run.abortAt;
    CCheckingSink sink(text, abortAt, run.next);
    CHTMLReader reader;
    reader.SetEventHandler(&sink);
    reader.SetResolveEntities(run.resolve);
    const uint32_t position = reader.Read(std::u16string_view(text));
    Require(position <= stop);
    if (stop == 0) {
      Require(!sink.ended && position == 0);
      continue;
    }
    Require(sink.ended);
    Require(sink.endedAborted == (sink.nextAborted || (abortAt != 0 && sink.events >= abortAt)));
    if (!sink.endedAborted) Require(position == stop);
  }

  // What the collector made of the text: spans of whole elements, and every element
  // turned into a record.
  const unsigned count = collector.GetKoriControlCount();
  for (unsigned i = 0; i < count; ++i) {
    const CHTMLEventHandler::SObjectInfo* info = collector.GetObjectInfo(i);
    Require(info && info->m_start < info->m_end && info->m_end <= stop);
    Require(text[info->m_start] == u'<' && text[info->m_end - 1] == u'>');
    CKORIControlValue value;
    collector.GetKoriControlValue(i, value);
  }
  Require(collector.GetObjectInfo(count) == nullptr);
}
