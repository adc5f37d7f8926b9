#pragma once
#include <string>
#include <vector>

#include "folio/html/IHTMLReaderEvents.h"
#include "html/CHTMLReader.h"

// Writes every event as one short line: "S name start length [attr=value ...]",
// "E name start length", "T text", "C comment", "B", "Z" (or "Z!" after an abort).
class CRecordingSink : public IHTMLReaderEvents {
public:
  std::vector<std::string> events;
  std::string abortOn;  // the first event whose line starts with this aborts

  void BeginParse(uint32_t, bool& abort) override { Add("B", abort); }
  void StartTag(CHTMLTag* tag, uint32_t start, uint32_t length, uint32_t, bool& abort) override {
    std::string line = "S " + tag->Name().ToUtf8() + " " + std::to_string(start) + " " +
                       std::to_string(length);
    if (const CHTMLAttributes* attributes = tag->GetAttributes())
      for (int i = 0; i < attributes->GetCount(); ++i) {
        const CHTMLElemAttr attribute = attributes->GetAttribute(i);
        line += " " + attribute.Name().ToUtf8() + "=" + attribute.Value().ToUtf8();
      }
    Add(line, abort);
  }
  void EndTag(CHTMLTag* tag, uint32_t start, uint32_t length, uint32_t, bool& abort) override {
    Add("E " + tag->Name().ToUtf8() + " " + std::to_string(start) + " " + std::to_string(length),
        abort);
  }
  void Characters(const CStr& text, uint32_t, bool& abort) override { Add("T " + text.ToUtf8(), abort); }
  void Comment(const CStr& text, uint32_t, bool& abort) override { Add("C " + text.ToUtf8(), abort); }
  void EndParse(uint32_t, bool aborted) override { events.push_back(aborted ? "Z!" : "Z"); }

private:
  void Add(const std::string& line, bool& abort) {
    events.push_back(line);
    abort = !abortOn.empty() && !m_aborted && line.rfind(abortOn, 0) == 0;
    m_aborted = m_aborted || abort;
  }
  bool m_aborted = false;
};

// Reads UTF-8 source text and returns the events between "B" and "Z".
inline std::vector<std::string> ReadEvents(const std::string& utf8, bool resolveEntities = true) {
  CRecordingSink sink;
  CHTMLReader reader;
  reader.SetEventHandler(&sink);
  reader.SetResolveEntities(resolveEntities);
  const CStr text = CStr::FromUtf8(utf8);
  reader.Read(text.c_str());
  if (sink.events.size() >= 2 && sink.events.front() == "B" && sink.events.back() == "Z")
    return {sink.events.begin() + 1, sink.events.end() - 1};
  return sink.events;
}
