#pragma once
#include <cstdint>
#include <string_view>

#include "folio/html/IHTMLReaderEvents.h"
#include "folio/util/CStr.h"
#include "html/CHTMLTag.h"

// A tolerant single-pass HTML reader: reports tags with their exact positions,
// text runs and comments to a sink, and never rejects its input.
class CHTMLReader {
public:
  enum EEventMask : uint32_t {
    eNotifyParse = 1,
    eNotifyStartTag = 2,
    eNotifyEndTag = 4,
    eNotifyCharacters = 8,
    eNotifyComment = 16,
    eNotifyAll = 31,
  };

  CHTMLReader() = default;
  CHTMLReader(const CHTMLReader&) = delete;
  CHTMLReader& operator=(const CHTMLReader&) = delete;
  virtual ~CHTMLReader() = default;

  void SetEventHandler(IHTMLReaderEvents* sink) { m_sink = sink; }
  IHTMLReaderEvents* GetEventHandler() const { return m_sink; }
  void SetEventMask(uint32_t mask) { m_eventMask = mask; }
  uint32_t GetEventMask() const { return m_eventMask; }
  void SetResolveEntities(bool resolve) { m_resolveEntities = resolve; }
  bool GetResolveEntities() const { return m_resolveEntities; }
  void SetAppData(uint32_t appData) { m_appData = appData; }
  uint32_t GetAppData() const { return m_appData; }

  // Reads zero-terminated text, which must outlive the call; returns the position
  // where reading stopped. Empty text returns 0 without events.
  uint32_t Read(const char16_t* text);
  // The same for text of a known length; a zero code unit inside ends the text.
  uint32_t Read(std::u16string_view text);
  // Reads an open file into memory: UTF-16LE after a 0xFF 0xFE byte-order mark,
  // otherwise one character per byte up to the first zero byte. Returns 0 without
  // events for a file of fewer than 2 bytes or one that cannot be read; a file cut
  // short while it is read is read as far as it goes.
  uint32_t ReadFromFile(int fileDescriptor);
  // During an event: whether the tag or comment reported was reached afresh, so that
  // the reading up to its "<" depended on no text from there on. Not so when a "<" was
  // refused as a tag since the last report, or earlier for what may lie far beyond it
  // (an opening tag's attributes, a comment's dashes).
  bool ReachedAfresh() const { return m_reachedAfresh; }

protected:
  // The read loop over m_text.
  virtual uint32_t ParseDocument();
  // Recognises a comment at m_position; on success moves past it.
  virtual bool ParseComment(CStr& comment);
  // Recognises a tag at m_position; on success moves past it.
  virtual bool ParseTag(CHTMLTag& tag, bool& isOpening, bool& isClosing);
  // Called with each text run before it is reported.
  virtual void NormalizeCharacters(CStr& text);

  bool m_resolveEntities = true;
  uint32_t m_appData = 0;
  uint32_t m_position = 0;
  uint32_t m_length = 0;
  uint32_t m_eventMask = eNotifyAll;
  IHTMLReaderEvents* m_sink = nullptr;
  const char16_t* m_text = nullptr;

private:
  bool Wants(uint32_t bit) const { return m_sink && (m_eventMask & bit); }
  // Reports the pending text plus the run [runStart, runEnd); returns false on abort.
  bool FlushText(uint32_t runStart, uint32_t runEnd, bool last);
  uint32_t ParseWithTextSet();

  CHTMLTag m_tag;
  CStr m_pending;   // text before resolved references of the current run
  CStr m_runText;   // the text handed to Characters
  CStr m_comment;
  SHTMLScanCache m_tagEndCache;
  bool m_refusedLookingFar = false;
  bool m_refusedSinceReport = false;
  bool m_reachedAfresh = false;
};
