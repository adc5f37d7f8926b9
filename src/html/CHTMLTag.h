#pragma once
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "folio/util/CStr.h"
#include "html/CHTMLAttributes.h"

// Remembers where the last search for ">" ended, so that a reader trying tag after
// unterminated tag does not search the same rest of the text again and again.
struct SHTMLScanCache {
  const char16_t* searchedFrom = nullptr;
  const char16_t* found = nullptr;  // the ">" found, or the end of the text
};

// One tag: lower-case name and its attributes.
class CHTMLTag {
public:
  CHTMLTag() = default;
  // Copies source with its attributes deeply, or takes over its attribute list and
  // leaves source without one.
  CHTMLTag(CHTMLTag& source, bool deepCopy);
  CHTMLTag(const CHTMLTag&) = delete;
  CHTMLTag& operator=(const CHTMLTag&) = delete;
  virtual ~CHTMLTag() = default;

  // Recognises a tag at the start of text (after optional white space); returns the
  // characters consumed through its ">", or 0 when the text does not start with a
  // tag (the tag is then left as it was).
  size_t ParseFromString(std::u16string_view text, bool parseAttributes = true,
                         SHTMLScanCache* cache = nullptr);

  CStr GetTagName() const { return m_name; }
  const CStr& Name() const { return m_name; }
  // The attributes, or null when the tag has none.
  const CHTMLAttributes* GetAttributes() const;
  CHTMLAttributes* GetAttributes();
  bool IsOpening() const { return m_opening; }
  bool IsClosing() const { return m_closing; }

private:
  void SetName(const char16_t* begin, const char16_t* end);
  void ClearAttributes();

  std::unique_ptr<CHTMLAttributes> m_attributes;
  CStr m_name;
  bool m_opening = false;
  bool m_closing = false;
  std::vector<SAttrSpan> m_spans;  // scratch for the next parse
};
