// printf-style formatting over UTF-16 text. Numeric conversions go to the C library
// one at a time; %s and %c are handled here because they take UTF-16 arguments.
#include <algorithm>
#include <cstdio>
#include <string>

#include "folio/util/CStr.h"
#include "folio/util/EBase.h"

namespace {

using EKind = CStr::FormatArg::EKind;

struct SSpec {
  std::string flags;
  int width = -1;         // -1: none
  int precision = -1;     // -1: none
  char conversion = 0;
};

class CFormatter {
public:
  CFormatter(std::u16string_view format, const CStr::FormatArg* args, size_t count)
      : m_format(format), m_args(args), m_count(count) {}

  std::u16string Run() {
    std::u16string out;
    for (size_t i = 0; i < m_format.size();) {
      const size_t next = m_format.find(u'%', i);
      out.append(m_format.substr(i, next == std::u16string_view::npos ? std::u16string_view::npos : next - i));
      if (next == std::u16string_view::npos) break;
      i = next + 1;
      if (i < m_format.size() && m_format[i] == u'%') { out += u'%'; ++i; continue; }
      SSpec spec;
      i = ParseSpec(i, spec);
      Emit(spec, out);
    }
    return out;
  }

private:
  [[noreturn]] void Fail(const char16_t* why) const {
    throw EBase(u"CStr::DoStringFormat",
                CStr(why) + u" in format \"" + CStr(m_format) + u"\"");
  }

  const CStr::FormatArg& Next() {
    if (m_next >= m_count) Fail(u"Too few arguments");
    return m_args[m_next++];
  }

  int StarValue() {
    const auto& arg = Next();
    if (arg.Kind() != EKind::eSigned && arg.Kind() != EKind::eUnsigned) Fail(u"'*' needs an integer");
    return static_cast<int>(arg.Signed());
  }

  size_t ParseSpec(size_t i, SSpec& spec) {
    auto at = [&](size_t k) -> char16_t { return k < m_format.size() ? m_format[k] : 0; };
    while (std::u16string_view(u"-+ #0").find(at(i)) != std::u16string_view::npos && at(i) != 0)
      spec.flags += static_cast<char>(m_format[i++]);
    if (at(i) == u'*') {
      spec.width = StarValue();
      ++i;
      if (spec.width < 0) { spec.flags += '-'; spec.width = -spec.width; }
    } else if (at(i) >= u'0' && at(i) <= u'9') {
      spec.width = 0;
      while (at(i) >= u'0' && at(i) <= u'9') spec.width = spec.width * 10 + (m_format[i++] - u'0');
    }
    if (at(i) == u'.') {
      ++i;
      if (at(i) == u'*') { spec.precision = std::max(-1, StarValue()); ++i; }
      else {
        spec.precision = 0;
        while (at(i) >= u'0' && at(i) <= u'9') spec.precision = spec.precision * 10 + (m_format[i++] - u'0');
      }
    }
    // Length modifiers only matter for the C library's varargs; ours are typed.
    while (std::u16string_view(u"hlLqjzt").find(at(i)) != std::u16string_view::npos && at(i) != 0) ++i;
    if (i >= m_format.size()) Fail(u"Incomplete conversion");
    const char16_t c = m_format[i];
    if (c >= 0x80 || std::string_view("diouxXeEfFgGaAcsp").find(static_cast<char>(c)) == std::string_view::npos)
      Fail(u"Unknown conversion");
    spec.conversion = static_cast<char>(c);
    return i + 1;
  }

  void Pad(std::u16string& out, std::u16string_view text, const SSpec& spec) const {
    const size_t width = spec.width < 0 ? 0 : static_cast<size_t>(spec.width);
    const bool left = spec.flags.find('-') != std::string::npos;
    if (text.size() >= width) { out.append(text); return; }
    if (left) { out.append(text); out.append(width - text.size(), u' '); }
    else { out.append(width - text.size(), u' '); out.append(text); }
  }

  void Emit(const SSpec& spec, std::u16string& out) {
    const auto& arg = Next();
    switch (spec.conversion) {
      case 's': {
        if (arg.Kind() != EKind::eText) Fail(u"%s needs a text argument");
        std::u16string_view text = arg.Text();
        if (spec.precision >= 0 && text.size() > static_cast<size_t>(spec.precision))
          text = text.substr(0, spec.precision);
        Pad(out, text, spec);
        return;
      }
      case 'c': {
        if (arg.Kind() == EKind::eText || arg.Kind() == EKind::eDouble) Fail(u"%c needs a character");
        const char16_t unit = static_cast<char16_t>(arg.Unsigned());
        Pad(out, std::u16string_view(&unit, 1), spec);
        return;
      }
      default:
        EmitNumber(spec, arg, out);
    }
  }

  void EmitNumber(const SSpec& spec, const CStr::FormatArg& arg, std::u16string& out) {
    std::string narrow = "%" + spec.flags;
    if (spec.width >= 0) narrow += std::to_string(spec.width);
    if (spec.precision >= 0) narrow += "." + std::to_string(spec.precision);
    const char conv = spec.conversion;
    const bool floating = std::string_view("eEfFgGaA").find(conv) != std::string_view::npos;
    char buffer[512];
    char* text = buffer;
    std::string big;
    auto print = [&](auto value) {
      int n = std::snprintf(buffer, sizeof buffer, narrow.c_str(), value);
      if (n < 0) Fail(u"Conversion failed");
      if (static_cast<size_t>(n) >= sizeof buffer) {
        big.resize(static_cast<size_t>(n) + 1);
        std::snprintf(big.data(), big.size(), narrow.c_str(), value);
        big.resize(static_cast<size_t>(n));
        text = big.data();
      }
    };
    if (floating) {
      if (arg.Kind() == EKind::eText || arg.Kind() == EKind::ePointer) Fail(u"A number conversion needs a number");
      const double value = arg.Kind() == EKind::eDouble ? arg.Double()
                           : arg.Kind() == EKind::eSigned ? static_cast<double>(arg.Signed())
                                                          : static_cast<double>(arg.Unsigned());
      narrow += conv;
      print(value);
    } else if (conv == 'p') {
      narrow += 'p';
      print(arg.Pointer());
    } else {
      if (arg.Kind() != EKind::eSigned && arg.Kind() != EKind::eUnsigned) Fail(u"An integer conversion needs an integer");
      narrow += "ll";
      narrow += conv;
      if (conv == 'd' || conv == 'i') print(arg.Signed());
      else print(arg.Unsigned());
    }
    for (const char* p = text; *p; ++p) out += static_cast<char16_t>(static_cast<unsigned char>(*p));
  }

  std::u16string_view m_format;
  const CStr::FormatArg* m_args;
  size_t m_count;
  size_t m_next = 0;
};

}  // namespace

CStr CStr::FormatList(std::u16string_view format, const FormatArg* args, size_t count) {
  std::u16string result = CFormatter(format, args, count).Run();
  // The host's formatter grows its buffer from the format's length + 512 by doubling
  // at most ten times; texts beyond that are refused the same way here.
  const size_t limit = (format.size() + 512) << 10;
  if (result.size() >= limit)
    throw EBase(u"CStr::DoStringFormat",
                u"Unable to write formatted string \"" + CStr(format) + u"\"");
  return CStr(std::move(result));
}
