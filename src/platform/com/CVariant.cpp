#include "platform/com/CVariant.h"

#include <charconv>
#include <cmath>

#include "folio/util/EBase.h"
#include "platform/com/CComError.h"

namespace {

[[noreturn]] void Mismatch(const char16_t* what) {
  throw CComError(DISP_E_TYPEMISMATCH, CStr(u"The value is not ") + what);
}

// The shortest text that reads back as the same value.
template <typename T>
CStr ShortestText(T value) {
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return CStr::FromUtf8(std::string_view(buffer, ec == std::errc() ? end - buffer : 0));
}

}  // namespace

double CVariant::AsDouble() const {
  switch (Type()) {
    case EType::eI2: return std::get<std::int16_t>(m_value);
    case EType::eI4: return std::get<std::int32_t>(m_value);
    case EType::eR4: return std::get<float>(m_value);
    case EType::eR8: return std::get<double>(m_value);
    case EType::eUI1: return std::get<std::uint8_t>(m_value);
    case EType::eBool: return std::get<bool>(m_value) ? -1 : 0;
    case EType::eEmpty: return 0;
    case EType::eText:
      try {
        return std::get<CStr>(m_value).AsDouble();
      } catch (const EBase&) {
        Mismatch(u"a number");
      }
    default: Mismatch(u"a number");
  }
}

long CVariant::AsLong() const {
  const double v = AsDouble();
  // Automation rounds half to even.
  return static_cast<long>(std::nearbyint(v));
}

bool CVariant::AsBool() const {
  if (Type() == EType::eBool) return std::get<bool>(m_value);
  if (Type() == EType::eText) {
    const CStr t = std::get<CStr>(m_value).LowerAscii();
    if (t == u"true") return true;
    if (t == u"false") return false;
  }
  return AsDouble() != 0;
}

CStr CVariant::AsText() const {
  switch (Type()) {
    case EType::eText: return std::get<CStr>(m_value);
    case EType::eEmpty: return CStr();
    case EType::eBool: return std::get<bool>(m_value) ? CStr(u"True") : CStr(u"False");
    case EType::eR4: return ShortestText(std::get<float>(m_value));
    case EType::eR8: return ShortestText(std::get<double>(m_value));
    case EType::eI2:
    case EType::eI4:
    case EType::eUI1: return CStr::DoStringFormat(u"%ld", AsLong());
    default: Mismatch(u"a text");
  }
}

std::shared_ptr<IDispatch> CVariant::AsDispatch() const {
  if (Type() == EType::eDispatch) return std::get<std::shared_ptr<IDispatch>>(m_value);
  if (Type() == EType::eEmpty) return nullptr;
  Mismatch(u"an object");
}

HRESULT CVariant::AsError() const {
  if (Type() == EType::eError) return std::get<SError>(m_value).hr;
  Mismatch(u"an error value");
}
