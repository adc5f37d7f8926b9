#include "folio/html/CHTMLEventHandler.h"

#include <cstdlib>

#include <boost/make_shared.hpp>

#include "folio/extract/CKORIExtractor.h"
#include "folio/platform/host/HostTables.h"
#include "folio/util/CDiagnostics.h"
#include "html/CHTMLReader.h"
#include "html/CHTMLTag.h"

namespace {

const char16_t kKoriClassId[] = u"CLSID:7B1E52C4-93D0-4A6F-B2E8-5C91D04F3A27";
const char16_t kPackedHeader[] = u"KORI {";

// The attribute's value, or nothing when the tag has no such attribute.
const CHTMLElemAttr* Attribute(const CHTMLTag& tag, std::u16string_view name) {
  const CHTMLAttributes* attributes = tag.GetAttributes();
  return attributes ? attributes->Find(name) : nullptr;
}

bool HasAttributes(const CHTMLTag& tag) {
  const CHTMLAttributes* attributes = tag.GetAttributes();
  return attributes && attributes->GetCount() > 0;
}

// The leading number of a text, 0 when there is none (as the C runtime reads it).
std::string NumberPrefix(const CStr& text) {
  std::string narrow;
  for (char16_t c : text.View()) {
    if (c >= 0x80 || c == 0) break;
    narrow += static_cast<char>(c);
  }
  return narrow;
}
double ReadDouble(const CStr& text) { return std::strtod(NumberPrefix(text).c_str(), nullptr); }
int ReadInt(const CStr& text) { return static_cast<int>(std::strtol(NumberPrefix(text).c_str(), nullptr, 10)); }

// Formats only when the source is on: formatting would copy every tag's name.
void TraceTag(const CHTMLTag& tag, const char16_t* what) {
  static const CStr kSource = u"HTMLParsing";
  if (!G_Diagnostics.IsSourceEnabled(kSource)) return;
  G_Diagnostics.WriteTrace(CStr::DoStringFormat(u"%s %s\n", tag.GetTagName(), CStr(what)), kSource, 3);
}

// Value of the first param whose name matches exactly; empty without one.
CStr Parameter(const CHTMLEventHandler::SObjectInfo& info, std::u16string_view name) {
  for (const CHTMLTag* param : info.m_parameters) {
    const CHTMLElemAttr* paramName = Attribute(*param, u"name");
    if (paramName && paramName->Value().View() == name) {
      const CHTMLElemAttr* value = Attribute(*param, u"value");
      return value ? value->Value() : CStr();
    }
  }
  return CStr();
}

}  // namespace

CHTMLEventHandler::SObjectInfo::SObjectInfo(const CHTMLTag& tag, uint32_t start)
    : m_start(start), m_end(start), m_tag(new CHTMLTag(const_cast<CHTMLTag&>(tag), true)) {}

CHTMLEventHandler::SObjectInfo::~SObjectInfo() {
  delete m_tag;
  for (CHTMLTag* parameter : m_parameters) delete parameter;
}

CHTMLEventHandler::CHTMLEventHandler(CHTMLEventHandler& other)
    : m_current(std::move(other.m_current)),
      m_objects(other.m_objects),
      m_bodyStart(other.m_bodyStart),
      m_bodyEnd(other.m_bodyEnd) {}

CHTMLEventHandler& CHTMLEventHandler::operator=(CHTMLEventHandler& other) {
  if (this != &other) {
    m_current = std::move(other.m_current);
    m_objects = other.m_objects;
    m_bodyStart = other.m_bodyStart;
    m_bodyEnd = other.m_bodyEnd;
  }
  return *this;
}

CHTMLEventHandler::~CHTMLEventHandler() = default;

void CHTMLEventHandler::Collect(std::u16string_view text) {
  CHTMLReader reader;
  reader.SetEventHandler(this);
  reader.Read(text);
}

void CHTMLEventHandler::Reset() {
  m_current.reset();
  m_objects.clear();
  m_bodyStart = m_bodyEnd = 0;
}

const CHTMLEventHandler::SObjectInfo* CHTMLEventHandler::GetObjectInfo(unsigned int index) const {
  return index < m_objects.size() ? m_objects[index].get() : nullptr;
}

void CHTMLEventHandler::ReleaseObject(unsigned int index) {
  if (index < m_objects.size()) m_objects[index].reset();
}

void CHTMLEventHandler::StartTag(CHTMLTag* tag, uint32_t start, uint32_t length, uint32_t, bool& abort) {
  abort = false;
  TraceTag(*tag, u"BEGIN");
  const CStr& name = tag->Name();
  if (name == u"img") {
    const CHTMLElemAttr* alt = HasAttributes(*tag) ? Attribute(*tag, u"alt") : nullptr;
    if (alt && alt->Value().StartsWith(kPackedHeader) && !m_current) {
      auto info = boost::make_shared<SObjectInfo>(*tag, start);
      info->m_end = start + length;
      m_objects.push_back(std::move(info));
    }
  } else if (name == u"object") {
    const CHTMLElemAttr* classId = HasAttributes(*tag) ? Attribute(*tag, u"classid") : nullptr;
    if (classId && classId->Value() == kKoriClassId && !m_current)
      m_current = std::make_unique<SObjectInfo>(*tag, start);
  } else if (name == u"param") {
    if (m_current) m_current->m_parameters.push_back(new CHTMLTag(*tag, true));
  } else if (name == u"body") {
    if (m_bodyStart == 0) m_bodyStart = start + length;
  }
}

void CHTMLEventHandler::EndTag(CHTMLTag* tag, uint32_t start, uint32_t length, uint32_t, bool& abort) {
  abort = false;
  TraceTag(*tag, u"END");
  const CStr& name = tag->Name();
  if (name == u"object" && m_current) {
    m_current->m_end = start + length;
    m_objects.push_back(boost::shared_ptr<SObjectInfo>(m_current.release()));
  } else if (name == u"body" && m_bodyStart != 0 && m_bodyEnd == 0) {
    m_bodyEnd = start;
  }
}

CKORIControlValue::EExtractRes CHTMLEventHandler::ReadDescription(unsigned int index, CKORIControlValue& value,
                                                                  std::optional<CKORIControlValue>& written) const {
  const SObjectInfo* info = GetObjectInfo(index);
  if (!info || !HasAttributes(*info->m_tag)) return CKORIControlValue::eNotKoriElement;
  const CHTMLTag& tag = *info->m_tag;
  const CHTMLElemAttr* width = Attribute(tag, u"width");
  const CHTMLElemAttr* height = Attribute(tag, u"height");
  value.SetWidth(width ? static_cast<float>(ReadDouble(width->Value())) : 100.0f);
  value.SetHeight(height ? static_cast<float>(ReadDouble(height->Value())) : 100.0f);

  const CHTMLElemAttr* classId = Attribute(tag, u"classid");
  if (classId && classId->Value() == kKoriClassId) {
    value.SetVersion(1u, 0u);
    value.SetGroup(Parameter(*info, u"Group"));
    value.SetField(Parameter(*info, u"Field"));
    value.SetParameter1(CStr());
    value.SetParameter2(CStr());
    value.SetStatistics1(GetStatisticsEnum().GetName(0));
    value.SetStatistics2(GetStatisticsEnum().GetName(0));
    value.SetUnitOptions(static_cast<short>(ReadInt(Parameter(*info, u"UnitOptions"))));
    value.SetPictureOptions(static_cast<short>(ReadInt(Parameter(*info, u"PictureOptions"))));
    value.SetResolutionFactor(static_cast<float>(ReadDouble(Parameter(*info, u"ResolutionFactor"))));
    value.SetScaleFont(ReadInt(Parameter(*info, u"ScaleFont")) != 0);
    const struct { const char16_t* name; long value; } statistics[] = {
        {u"Count", 3}, {u"Min", 1}, {u"Max", 2}, {u"Mean", 4}, {u"SD", 5}};
    const CStr statistic = Parameter(*info, u"Statistics");
    for (const auto& s : statistics)
      if (statistic == s.name) value.SetStatistics2(GetStatisticsEnum().GetName(s.value));
    written = value;
    return CKORIControlValue::EExtractRes(CKORIExtractor::TranslateLegacyDescription(value));
  }
  const CHTMLElemAttr* alt = Attribute(tag, u"alt");
  CStr packed = alt ? alt->Value() : CStr();
  return alt && value.Unpack(packed) ? CKORIControlValue::eExtractOk : CKORIControlValue::eNotKoriElement;
}

SReportConversionResult CHTMLEventHandler::GetKoriControlValue(unsigned int index, CKORIControlValue& value) const {
  std::optional<CKORIControlValue> written;
  SReportConversionResult result(ReadDescription(index, value, written));
  if (!written) {
    // A packed description is its own translation; one that cannot be read leaves both records fresh.
    if (result.m_result != CKORIControlValue::eNotKoriElement) result.m_asRead = result.m_converted = value;
    return result;
  }
  result.m_asRead = std::move(*written);
  // A group that failed leaves the converted record a default one.
  if (result.m_result == CKORIControlValue::eGroupNotSupported) return result;
  result.m_converted = value;
  result.m_converted.SetVersion(2u, 0u);
  return result;
}
