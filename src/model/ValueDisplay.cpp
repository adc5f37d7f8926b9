// Display text of a record's value: numbers by precision and magnitude, with the unit
// as the unit options say.
#include <cmath>
#include <limits>

#include "folio/model/CKORIControlValue.h"

namespace {

struct SBoundFormat {
  double bound;  // used while |value| < bound
  const char16_t* format;
};

struct SPrecisionFormats {
  const SBoundFormat* rows;
  size_t count;
  const char16_t* otherwise;
};

constexpr SBoundFormat kPrecision8[] = {
    {0.1, u"%10.8G"}, {1, u"%10.8f"}, {10, u"%10.7f"}, {100, u"%10.6f"}, {1e3, u"%10.5f"},
    {1e4, u"%10.4f"}, {1e5, u"%10.3f"}, {1e6, u"%10.2f"}, {1e7, u"%10.1f"}, {1e8, u"%9.0f"}};
constexpr SBoundFormat kPrecision7[] = {
    {0.1, u"%10.7G"}, {1, u"%9.7f"}, {10, u"%9.6f"}, {100, u"%9.5f"}, {1e3, u"%9.4f"},
    {1e4, u"%9.3f"}, {1e5, u"%9.2f"}, {1e6, u"%9.1f"}, {1e7, u"%8.0f"}};
constexpr SBoundFormat kPrecision6[] = {
    {0.1, u"%10.8G"}, {1, u"%8.6f"}, {10, u"%8.5f"}, {100, u"%8.4f"}, {1e3, u"%8.3f"},
    {1e4, u"%8.2f"}, {1e5, u"%8.1f"}, {1e6, u"%7.0f"}};
constexpr SBoundFormat kPrecision5[] = {
    {0.1, u"%7.5G"}, {1, u"%7.5f"}, {10, u"%7.4f"}, {100, u"%7.3f"}, {1e3, u"%7.2f"},
    {1e4, u"%7.1f"}, {1e5, u"%6.0f"}};
constexpr SBoundFormat kPrecision4[] = {
    {0.1, u"%6.4G"}, {1, u"%6.4f"}, {10, u"%6.3f"}, {100, u"%6.2f"}, {1e3, u"%6.1f"},
    {1e4, u"%6.0f"}};
constexpr SBoundFormat kPrecision3[] = {
    {0.1, u"%5.3G"}, {1, u"%5.3f"}, {10, u"%5.2f"}, {100, u"%5.1f"}, {1e5, u"%5.0f"}};
constexpr SBoundFormat kPrecision2[] = {
    {0.1, u"%4.2G"}, {1, u"%4.2f"}, {10, u"%4.1f"}, {1e4, u"%4.0f"}, {1e5, u"%5.0f"}};
constexpr SBoundFormat kPrecision1[] = {
    {0.1, u"%3.1G"}, {1, u"%3.1f"}, {1e3, u"%3.0f"}, {1e4, u"%4.0f"}, {1e5, u"%5.0f"}};

template <size_t N>
constexpr SPrecisionFormats Formats(const SBoundFormat (&rows)[N], const char16_t* otherwise) {
  return {rows, N, otherwise};
}

SPrecisionFormats FormatsFor(std::int32_t precision) {
  if (precision >= 8) return Formats(kPrecision8, u"%10.6G");
  switch (precision) {
    case 7: return Formats(kPrecision7, u"%10.6G");
    case 5: return Formats(kPrecision5, u"%7.5G");
    case 4: return Formats(kPrecision4, u"%6.4G");
    case 3: return Formats(kPrecision3, u"%5.3G");
    case 2: return Formats(kPrecision2, u"%4.2G");
    case 1: return Formats(kPrecision1, u"%4.1G");
    default: return Formats(kPrecision6, u"%10.6G");  // 6 and every negative precision
  }
}

const char16_t* ChooseFormat(double magnitude, std::int32_t precision) {
  if (precision == 0) return magnitude <= 0.00001 ? u"%9.2G" : u"%1.0f";
  const SPrecisionFormats formats = FormatsFor(precision);
  for (size_t i = 0; i < formats.count; ++i)
    if (magnitude < formats.rows[i].bound) return formats.rows[i].format;
  return formats.otherwise;
}

bool IsGFormat(const char16_t* format) {
  return CStr(format).EndsWith(u"G");
}

// Number, unit or both, by unit options; any other option shows nothing.
CStr WithUnit(const CStr& number, const CStr& unit, short unitOptions) {
  switch (unitOptions) {
    case 0: return number + u" " + unit;
    case 1: return number;
    case 2: return unit;
    default: return CStr();
  }
}

}  // namespace

CStr CKORIControlValue::CompactExponent(CStr text) {
  size_t spaces = 0;
  while (spaces < text.GetLength() && text[spaces] == u' ') ++spaces;
  text = text.Mid(spaces);
  for (;;) {
    size_t at = text.Find(u"E+0");
    if (at == CStr::npos) at = text.Find(u"E-0");
    if (at == CStr::npos) return text;
    text.Str().erase(at + 2, 1);
  }
}

CStr CKORIControlValue::FormatValue(double value, std::int32_t precision) {
  if (std::isnan(value)) return CStr();
  // The bounds are single-precision constants widened to double.
  if (value >= static_cast<double>(1.7e35f)) return u"INF";
  if (value <= static_cast<double>(-1.7e37f)) return u"-INF";
  if (std::fabs(value) < 32767 && value == std::trunc(value))
    return CStr::DoStringFormat(u"%d", static_cast<int>(value));
  const char16_t* format = ChooseFormat(std::fabs(value), precision);
  const CStr text = CStr::DoStringFormat(format, value);
  return IsGFormat(format) ? CompactExponent(text) : text;
}

CStr CKORIControlValue::DisplayString() {
  switch (m_type) {
    case eNone:
      m_displayString = CStr();
      return m_displayString;
    case eMessage:
      return m_message;
    case eText:
      return m_text;
    case eInteger:
      m_displayString = WithUnit(CStr::DoStringFormat(u"%li", m_integer), m_unit, m_unitOptions);
      return m_displayString;
    case eFloat:
      m_displayString = std::isnan(m_float)
                            ? CStr()
                            : WithUnit(FormatValue(m_float, m_precision), m_unit, m_unitOptions);
      return m_displayString;
    case eChar:
      m_displayString = CStr::DoStringFormat(u"%c", m_char);
      return m_displayString;
    case ePicture:
      return m_filename;
    default:
      return CStr();
  }
}
