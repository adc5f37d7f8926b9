#pragma once
#include <cstdint>

#include "folio/util/CStr.h"
#include "folio/util/Export.h"

class CHTMLTag;

// What the HTML reader reports while it reads. Each default clears the abort flag;
// a sink overrides what it listens to and sets abort to end the parse early.
class FOLIO_API IHTMLReaderEvents {
public:
  virtual void BeginParse(uint32_t appData, bool& abort) { (void)appData; abort = false; }
  // tag is valid only during the call; start is the index of its "<", length runs
  // through its ">" (UTF-16 code units).
  virtual void StartTag(CHTMLTag* tag, uint32_t start, uint32_t length, uint32_t appData,
                        bool& abort) {
    (void)tag, (void)start, (void)length, (void)appData;
    abort = false;
  }
  virtual void EndTag(CHTMLTag* tag, uint32_t start, uint32_t length, uint32_t appData,
                      bool& abort) {
    (void)tag, (void)start, (void)length, (void)appData;
    abort = false;
  }
  virtual void Characters(const CStr& text, uint32_t appData, bool& abort) {
    (void)text, (void)appData;
    abort = false;
  }
  virtual void Comment(const CStr& text, uint32_t appData, bool& abort) {
    (void)text, (void)appData;
    abort = false;
  }
  virtual void EndParse(uint32_t appData, bool aborted) { (void)appData, (void)aborted; }
  virtual ~IHTMLReaderEvents() = default;
};
