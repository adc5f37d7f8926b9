// The "KORI {" text form of a description: one "\tKey: value" line per packed field.
#include <array>
#include <optional>
#include <string_view>

#include "folio/model/CKORIControlValue.h"
#include "folio/util/EBase.h"

namespace {

constexpr std::u16string_view kFirstLine = u"KORI {";
constexpr std::u16string_view kLastLine = u"}";
constexpr std::u16string_view kLineEnd = u"\r\n";
constexpr size_t kLineCount = 14;

constexpr std::u16string_view kVersion = u"Version";
constexpr std::u16string_view kGroup = u"Group";
constexpr std::u16string_view kField = u"Field";
constexpr std::u16string_view kParameter1 = u"Parameter 1";
constexpr std::u16string_view kParameter2 = u"Parameter 2";
constexpr std::u16string_view kImageStatistics = u"Image statistics";
constexpr std::u16string_view kBatchStatistics = u"Batch statistics";
constexpr std::u16string_view kResolutionFactor = u"Resolution factor";
constexpr std::u16string_view kScaleFont = u"Scale font";
constexpr std::u16string_view kUnitOptions = u"Show Value/Unit";
constexpr std::u16string_view kPictureOptions = u"Picture aspect option";
constexpr std::u16string_view kBody = u"Body section";

CStr KeyLine(std::u16string_view key, const CStr& value) {
  return u"\t" + CStr(key) + u": " + value + kLineEnd;
}

// Maximal runs of characters that are not separators; empty runs do not count. Views
// into text; false when there are more than N runs (the text is then no packed text).
template <size_t N, typename Separator>
bool SplitRuns(std::u16string_view text, Separator separator, std::array<std::u16string_view, N>& runs, size_t& count) {
  count = 0;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && separator(text[i])) ++i;
    const size_t start = i;
    while (i < text.size() && !separator(text[i])) ++i;
    if (i == start) continue;
    if (count == N) return false;
    runs[count++] = text.substr(start, i - start);
  }
  return true;
}

bool IsLineBreak(char16_t c) { return c == u'\r' || c == u'\n'; }
bool IsColon(char16_t c) { return c == u':'; }

std::u16string_view Trim(std::u16string_view text) {
  const auto white = [](char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
  };
  while (!text.empty() && white(text.front())) text.remove_prefix(1);
  while (!text.empty() && white(text.back())) text.remove_suffix(1);
  return text;
}

std::int16_t Low16Bits(long value) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
}

}  // namespace

CStr CKORIControlValue::Pack() {
  CStr text = CStr(kFirstLine) + kLineEnd;
  text += KeyLine(kVersion, CStr::DoStringFormat(u"%lu", GetVersion(nullptr, nullptr)));
  text += KeyLine(kGroup, m_group);
  text += KeyLine(kField, m_field);
  text += KeyLine(kParameter1, m_parameter1);
  text += KeyLine(kParameter2, m_parameter2);
  text += KeyLine(kImageStatistics, m_statistics1);
  text += KeyLine(kBatchStatistics, m_statistics2);
  text += KeyLine(kResolutionFactor, CStr::DoStringFormat(u"%#*.*G", 0, 6, m_resolutionFactor));
  text += KeyLine(kScaleFont, CStr::DoStringFormat(u"%d", m_scaleFont));
  text += KeyLine(kUnitOptions, CStr::DoStringFormat(u"%d", m_unitOptions));
  text += KeyLine(kPictureOptions, CStr::DoStringFormat(u"%d", m_pictureOptions));
  text += KeyLine(kBody, m_body ? CStr(u"True") : CStr(u"False"));
  text += kLastLine;
  return text;
}

// Applies one "Key: value" line; version is held back until the whole text is valid.
// Numbers are converted through CStr for its exact rules; short texts need no allocation.
bool CKORIControlValue::ApplyPackedLine(std::u16string_view line, std::optional<long>& version) {
  std::array<std::u16string_view, 2> pieces;
  size_t count = 0;
  if (!SplitRuns(line, IsColon, pieces, count) || count != 2) return false;
  const std::u16string_view key = Trim(pieces[0]);
  const std::u16string_view value = Trim(pieces[1]);
  if (key == kVersion) version = CStr(value).AsLong();
  else if (key == kGroup) m_group = CStr(value);
  else if (key == kField) m_field = CStr(value);
  else if (key == kParameter1) m_parameter1 = CStr(value);
  else if (key == kParameter2) m_parameter2 = CStr(value);
  else if (key == kImageStatistics) m_statistics1 = CStr(value);
  else if (key == kBatchStatistics) m_statistics2 = CStr(value);
  else if (key == kResolutionFactor) m_resolutionFactor = static_cast<float>(CStr(value).AsDouble());
  else if (key == kScaleFont) m_scaleFont = Low16Bits(CStr(value).AsLong());
  else if (key == kUnitOptions) m_unitOptions = Low16Bits(CStr(value).AsLong());
  else if (key == kPictureOptions) m_pictureOptions = Low16Bits(CStr(value).AsLong());
  else if (key == kBody) m_body = CStr(value).AsBool(u"True", u"False");
  else return false;
  return true;
}

bool CKORIControlValue::Unpack(CStr& text) {
  m_group = m_field = m_parameter1 = m_parameter2 = m_statistics1 = m_statistics2 = CStr();
  m_resolutionFactor = 1.0f;
  m_scaleFont = 0;
  m_unitOptions = 0;
  m_pictureOptions = 0;
  m_body = true;

  bool ok = false;
  try {
    std::array<std::u16string_view, kLineCount> lines;
    size_t count = 0;
    // Without a "Version" line (another key repeated) the record keeps its version.
    std::optional<long> version;
    ok = SplitRuns(text.View(), IsLineBreak, lines, count) && count == kLineCount && lines.front() == kFirstLine;
    for (size_t i = 1; ok && i + 1 < count; ++i) ok = ApplyPackedLine(lines[i], version);
    ok = ok && lines.back() == kLastLine;
    if (ok && version) SetVersion(static_cast<std::uint32_t>(*version));
  } catch (const EBase&) {
    ok = false;
  }
  if (m_statistics1.IsEmpty()) m_statistics1 = u"None";
  if (m_statistics2.IsEmpty()) m_statistics2 = u"None";
  return ok;
}

bool CKORIControlValue::Unpack(CString& text) {
  CStr converted = text.ToCStr();
  return Unpack(converted);
}
