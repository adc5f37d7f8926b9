#pragma once
#include <compare>
#include <iosfwd>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "folio/util/Export.h"

// Text shared between Folio and its host: UTF-16 code units, as in the files, so that
// every text position is a UTF-16 index. UTF-8 only at the operating-system boundary.
class FOLIO_API CStr {
public:
  using size_type = std::u16string::size_type;
  static constexpr size_type npos = std::u16string::npos;

  CStr() = default;
  CStr(const char16_t* text) : m_text(text ? text : u"") {}
  CStr(std::u16string text) : m_text(std::move(text)) {}
  CStr(std::u16string_view text) : m_text(text) {}
  CStr(const char16_t* text, size_type length) : m_text(text, length) {}
  CStr(size_type count, char16_t fill) : m_text(count, fill) {}

  // Decodes UTF-8; a malformed sequence becomes U+FFFD.
  static CStr FromUtf8(std::string_view utf8);
  // Widens each byte to one code unit (ISO-8859-1).
  static CStr FromLatin1(std::string_view bytes);
  // Encodes as UTF-8; a lone surrogate becomes U+FFFD.
  std::string ToUtf8() const;

  const std::u16string& Str() const { return m_text; }
  std::u16string& Str() { return m_text; }
  std::u16string_view View() const { return m_text; }
  const char16_t* c_str() const { return m_text.c_str(); }
  operator std::u16string_view() const { return m_text; }

  size_type GetLength() const { return m_text.size(); }
  bool IsEmpty() const { return m_text.empty(); }
  char16_t operator[](size_type i) const { return m_text[i]; }
  char16_t& operator[](size_type i) { return m_text[i]; }

  CStr& operator+=(const CStr& other) { m_text += other.m_text; return *this; }
  CStr& operator+=(char16_t c) { m_text += c; return *this; }
  friend CStr operator+(CStr a, const CStr& b) { a += b; return a; }
  friend CStr operator+(CStr a, const char16_t* b) { a.m_text += b; return a; }
  friend CStr operator+(const char16_t* a, const CStr& b) { return CStr(a) + b; }
  friend CStr operator+(CStr a, char16_t c) { a.m_text += c; return a; }

  friend bool operator==(const CStr& a, const CStr& b) { return a.m_text == b.m_text; }
  friend bool operator==(const CStr& a, const char16_t* b) { return a.m_text == (b ? b : u""); }
  friend auto operator<=>(const CStr& a, const CStr& b) { return a.m_text <=> b.m_text; }

  size_type Find(std::u16string_view what, size_type from = 0) const { return m_text.find(what, from); }
  size_type ReverseFind(char16_t c) const { return m_text.rfind(c); }
  bool StartsWith(std::u16string_view prefix) const { return m_text.starts_with(prefix); }
  bool EndsWith(std::u16string_view suffix) const { return m_text.ends_with(suffix); }
  CStr Left(size_type count) const { return CStr(m_text.substr(0, count)); }
  CStr Mid(size_type from, size_type count = npos) const;
  // Copy without white space (space, tab, CR, LF, VT, FF) at either end.
  CStr Trimmed() const;
  // Copy with ASCII letters lower-cased.
  CStr LowerAscii() const;
  // Replaces every occurrence of what; returns the number replaced.
  size_type Replace(std::u16string_view what, std::u16string_view with);

  // The whole text, less surrounding white space, as a number; EInput otherwise.
  double AsDouble() const;
  long AsLong() const;
  // Exactly trueText or falseText, or either after trimming; EInput otherwise.
  bool AsBool(const CStr& trueText, const CStr& falseText) const;

  // One argument of DoStringFormat; built implicitly from numbers and texts.
  class FOLIO_API FormatArg {
  public:
    enum class EKind { eSigned, eUnsigned, eDouble, eText, ePointer };
    template <std::integral T>
    FormatArg(T v) {
      if constexpr (std::is_signed_v<T>) { m_kind = EKind::eSigned; m_signed = v; }
      else { m_kind = EKind::eUnsigned; m_unsigned = v; }
    }
    template <typename T> requires std::is_enum_v<T>
    FormatArg(T v) : FormatArg(static_cast<std::underlying_type_t<T>>(v)) {}
    FormatArg(double v) : m_kind(EKind::eDouble), m_double(v) {}
    FormatArg(float v) : m_kind(EKind::eDouble), m_double(v) {}
    FormatArg(const CStr& v) : m_kind(EKind::eText), m_text(v.View()) {}
    FormatArg(std::u16string_view v) : m_kind(EKind::eText), m_text(v) {}
    FormatArg(const std::u16string& v) : m_kind(EKind::eText), m_text(v) {}
    FormatArg(const char16_t* v) : m_kind(EKind::eText), m_text(v ? v : u"(null)") {}
    FormatArg(const void* v) : m_kind(EKind::ePointer), m_pointer(v) {}

    EKind Kind() const { return m_kind; }
    long long Signed() const { return m_kind == EKind::eUnsigned ? static_cast<long long>(m_unsigned) : m_signed; }
    unsigned long long Unsigned() const { return m_kind == EKind::eSigned ? static_cast<unsigned long long>(m_signed) : m_unsigned; }
    double Double() const { return m_double; }
    std::u16string_view Text() const { return m_text; }
    const void* Pointer() const { return m_pointer; }

  private:
    EKind m_kind;
    long long m_signed = 0;
    unsigned long long m_unsigned = 0;
    double m_double = 0;
    std::u16string_view m_text;
    const void* m_pointer = nullptr;
  };

  // printf-style formatting: %s takes UTF-16 text, %c a UTF-16 code unit, "*" widths
  // take an integer argument. A result longer than (format length + 512) * 2^10 units,
  // or an argument that does not fit its conversion, throws EBase.
  template <typename... Args>
  static CStr DoStringFormat(std::u16string_view format, const Args&... args) {
    const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
    return FormatList(format, list, sizeof...(Args));
  }
  static CStr FormatList(std::u16string_view format, const FormatArg* args, size_t count);

private:
  std::u16string m_text;
};

// Writes the text as UTF-8 (for logs and test output).
FOLIO_API std::ostream& operator<<(std::ostream& out, const CStr& text);

// Appends UTF-16 units as UTF-8 to out; lone surrogates become U+FFFD.
FOLIO_API void AppendUtf8(std::u16string_view text, std::string& out);
// Appends UTF-8 as UTF-16 to out; malformed sequences become U+FFFD.
FOLIO_API void AppendUtf16(std::string_view utf8, std::u16string& out);
// Whether bytes are well-formed UTF-8 (no overlong forms, no surrogates).
FOLIO_API bool IsValidUtf8(std::string_view bytes);
