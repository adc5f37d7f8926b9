#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "folio/html/IHTMLReaderEvents.h"
#include "folio/model/CKORIControlValue.h"
#include "folio/model/SReportConversionResult.h"
#include "folio/util/Export.h"

class CHTMLTag;

// Collects the placeholders of an HTML template while the reader reads it: KORI
// `object` elements with their `param` children, and `img` elements whose alt text is
// a packed description. Also notes where the body starts and ends.
class FOLIO_API CHTMLEventHandler : public IHTMLReaderEvents {
public:
  // One collected placeholder: its text span and the tags that describe it.
  struct FOLIO_API SObjectInfo {
    SObjectInfo(const CHTMLTag& tag, uint32_t start);
    ~SObjectInfo();
    SObjectInfo(const SObjectInfo&) = delete;
    SObjectInfo& operator=(const SObjectInfo&) = delete;

    uint32_t m_start;               // the "<" of its first tag
    uint32_t m_end;                 // just after the ">" of its last tag
    CHTMLTag* m_tag;                // the opening object or img tag
    std::vector<CHTMLTag*> m_parameters;  // param tags of an object
  };

  CHTMLEventHandler() = default;
  // Takes over other's unfinished object and shares its finished ones.
  CHTMLEventHandler(CHTMLEventHandler& other);
  CHTMLEventHandler& operator=(CHTMLEventHandler& other);
  ~CHTMLEventHandler() override;

  // Forgets everything collected.
  void Reset();
  // Reads the text of a template (positions are positions in text) and collects its
  // placeholders after those already collected.
  void Collect(std::u16string_view text);
  unsigned int GetKoriControlCount() const { return static_cast<unsigned int>(m_objects.size()); }
  // The placeholder at index, or null past the end or once released.
  const SObjectInfo* GetObjectInfo(unsigned int index) const;
  // Frees what was kept of the placeholder at index (its tag copies); the count stays.
  void ReleaseObject(unsigned int index);
  // Just after the first opening body tag; 0 when there is none.
  unsigned long GetBodyStart() const { return m_bodyStart; }
  // At the first closing body tag after the body start; 0 when there is none.
  unsigned long GetBodyEnd() const { return m_bodyEnd; }
  // Fills value's description from the placeholder at index (legacy names translated)
  // and tells how that went.
  SReportConversionResult GetKoriControlValue(unsigned int index, CKORIControlValue& value) const;
  // The same without the two copies of the record: written receives the description as
  // written only where legacy names had to be translated (an <object> placeholder).
  CKORIControlValue::EExtractRes ReadDescription(unsigned int index, CKORIControlValue& value,
                                                 std::optional<CKORIControlValue>& written) const;

private:
  void StartTag(CHTMLTag* tag, uint32_t start, uint32_t length, uint32_t appData, bool& abort) override;
  void EndTag(CHTMLTag* tag, uint32_t start, uint32_t length, uint32_t appData, bool& abort) override;

  std::unique_ptr<SObjectInfo> m_current;
  std::vector<boost::shared_ptr<SObjectInfo>> m_objects;
  uint32_t m_bodyStart = 0;
  uint32_t m_bodyEnd = 0;
};
