#pragma once
#include <cstddef>
#include <memory>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "folio/util/CStr.h"
#include "html/CHTMLAttributes.h"

// What a reader trying tag after unterminated tag has learnt about the rest of the
// text, so that it does not scan the same stretch again from every "<".
struct SHTMLScanCache {
  const char16_t* searchedFrom = nullptr;
  const char16_t* found = nullptr;  // the ">" found, or the end of the text
  // Where attributes started in runs that ended without a tag end. A run from a given
  // start always ends at the same place, so a tag that reaches one of them fails too.
  std::unordered_set<const char16_t*> failedAttributes;
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
  // tag (the tag is then left as it was). With textOutlivesTag the caller promises
  // that text stays valid as long as the tag is used before the next parse: name and
  // attributes are then copied out of it only when someone asks for them.
  size_t ParseFromString(std::u16string_view text, bool parseAttributes = true,
                         SHTMLScanCache* cache = nullptr, bool textOutlivesTag = false);

  CStr GetTagName() const { return Name(); }
  const CStr& Name() const {
    if (m_source && !m_nameCopied) MaterializeName();
    return m_name;
  }
  // The attributes, or null when the tag has none.
  const CHTMLAttributes* GetAttributes() const;
  CHTMLAttributes* GetAttributes();
  bool IsOpening() const { return m_opening; }
  bool IsClosing() const { return m_closing; }

private:
  // Copy the name, or name and attributes, out of the text they were found in.
  void MaterializeName() const;
  void Materialize() const;

  mutable std::unique_ptr<CHTMLAttributes> m_attributes;
  mutable CStr m_name;
  bool m_opening = false;
  bool m_closing = false;
  // While m_source is set, name and attributes still stand only in that text: the
  // name at [m_nameBegin, m_nameEnd), the attributes at m_spans.
  mutable const char16_t* m_source = nullptr;
  mutable bool m_nameCopied = false;
  size_t m_sourceLength = 0;
  size_t m_nameBegin = 0, m_nameEnd = 0;
  std::vector<SAttrSpan> m_spans;
  std::vector<SAttrSpan> m_scanSpans;  // scratch for the next parse
};
