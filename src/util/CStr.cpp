#include "folio/util/CStr.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>

#include "folio/util/EBase.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsWhite(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

// Narrow copy of an ASCII number text; anything else makes the conversion fail.
bool ToAsciiNumber(std::u16string_view text, std::string& out) {
  out.clear();
  for (char16_t c : text) {
    if (c >= 0x80 || c == 0) return false;
    out += static_cast<char>(c);
  }
  return true;
}

std::u16string_view TrimView(std::u16string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && IsWhite(text[b])) ++b;
  while (e > b && IsWhite(text[e - 1])) --e;
  return text.substr(b, e - b);
}

CStr Quoted(const CStr& text) { return u"\"" + text + u"\""; }

}  // namespace

void AppendUtf8(std::u16string_view text, std::string& out) {
  out.reserve(out.size() + text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t cp = text[i];
    if (cp < 0x80) { out += static_cast<char>(cp); continue; }
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

namespace {

// Decodes one UTF-8 sequence at s[i]; returns its length, or 0 when malformed.
size_t DecodeUtf8(std::string_view s, size_t i, uint32_t& cp) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b0 = byte(i);
  size_t len;
  uint32_t min;
  if (b0 < 0x80) { cp = b0; return 1; }
  if ((b0 & 0xE0) == 0xC0) { len = 2; cp = b0 & 0x1F; min = 0x80; }
  else if ((b0 & 0xF0) == 0xE0) { len = 3; cp = b0 & 0x0F; min = 0x800; }
  else if ((b0 & 0xF8) == 0xF0) { len = 4; cp = b0 & 0x07; min = 0x10000; }
  else return 0;
  if (i + len > s.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

}  // namespace

void AppendUtf16(std::string_view utf8, std::u16string& out) {
  out.reserve(out.size() + utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    // ASCII runs are the common case in markup; copy them without decoding.
    while (i < utf8.size() && static_cast<unsigned char>(utf8[i]) < 0x80)
      out += static_cast<char16_t>(utf8[i++]);
    if (i == utf8.size()) break;
    uint32_t cp = 0;
    const size_t len = DecodeUtf8(utf8, i, cp);
    if (len == 0) { out += kReplacement; ++i; continue; }
    i += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
}

bool IsValidUtf8(std::string_view bytes) {
  uint32_t cp;
  for (size_t i = 0; i < bytes.size();) {
    const size_t len = DecodeUtf8(bytes, i, cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

CStr CStr::FromUtf8(std::string_view utf8) {
  CStr result;
  AppendUtf16(utf8, result.m_text);
  return result;
}

CStr CStr::FromLatin1(std::string_view bytes) {
  CStr result;
  result.m_text.resize(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i)
    result.m_text[i] = static_cast<unsigned char>(bytes[i]);
  return result;
}

std::string CStr::ToUtf8() const {
  std::string out;
  AppendUtf8(m_text, out);
  return out;
}

CStr CStr::Mid(size_type from, size_type count) const {
  if (from >= m_text.size()) return CStr();
  return CStr(m_text.substr(from, count));
}

CStr CStr::Trimmed() const { return CStr(TrimView(m_text)); }

CStr CStr::LowerAscii() const {
  CStr result(*this);
  for (char16_t& c : result.m_text)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return result;
}

CStr::size_type CStr::Replace(std::u16string_view what, std::u16string_view with) {
  if (what.empty()) return 0;
  size_type pos = m_text.find(what);
  if (pos == npos) return 0;
  // One new text built in a pass: replacing in place moves the tail every time.
  std::u16string out;
  size_type count = 0, from = 0;
  for (; pos != npos; pos = m_text.find(what, from)) {
    out.append(m_text, from, pos - from).append(with);
    from = pos + what.size();
    ++count;
  }
  out.append(m_text, from);
  m_text.swap(out);
  return count;
}

double CStr::AsDouble() const {
  std::string narrow;
  const std::u16string_view trimmed = TrimView(m_text);
  if (!trimmed.empty() && ToAsciiNumber(trimmed, narrow)) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(narrow.c_str(), &end);
    if (end == narrow.c_str() + narrow.size() && errno != ERANGE) return value;
  }
  throw EInput(u"CStr::AsDouble", u"Could not convert to value of type double: " + Quoted(*this));
}

long CStr::AsLong() const {
  std::string narrow;
  const std::u16string_view trimmed = TrimView(m_text);
  if (!trimmed.empty() && ToAsciiNumber(trimmed, narrow)) {
    char* end = nullptr;
    errno = 0;
    // long is 32 bits in the host's ABI; keep the same range on every platform.
    const long long value = std::strtoll(narrow.c_str(), &end, 10);
    if (end == narrow.c_str() + narrow.size() && errno != ERANGE && value >= INT32_MIN &&
        value <= INT32_MAX)
      return static_cast<long>(value);
  }
  throw EInput(u"CStr::AsLong", u"Could not convert to value of type long: " + Quoted(*this));
}

bool CStr::AsBool(const CStr& trueText, const CStr& falseText) const {
  if (*this == trueText) return true;
  if (*this == falseText) return false;
  const CStr trimmed = Trimmed();
  if (trimmed == trueText) return true;
  if (trimmed == falseText) return false;
  throw EInput(u"CStr::AsBool", u"Could not convert to value of type bool: " + Quoted(*this) +
                                    u" with True=" + Quoted(trueText) + u" and False=" +
                                    Quoted(falseText));
}

std::ostream& operator<<(std::ostream& out, const CStr& text) { return out << text.ToUtf8(); }
