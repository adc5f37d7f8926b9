#pragma once
#include <cstdint>
#include <memory>
#include <variant>

#include "folio/util/CStr.h"
#include "platform/com/HResult.h"

class IDispatch;

// An automation argument or result. An error value holding DISP_E_PARAMNOTFOUND
// stands for an omitted optional argument.
class CVariant {
public:
  enum class EType { eEmpty, eI2, eI4, eR4, eR8, eUI1, eBool, eText, eDispatch, eError };

  CVariant() = default;
  static CVariant I2(std::int16_t v) { return CVariant(v); }
  static CVariant I4(std::int32_t v) { return CVariant(v); }
  static CVariant R4(float v) { return CVariant(v); }
  static CVariant R8(double v) { return CVariant(v); }
  static CVariant UI1(std::uint8_t v) { return CVariant(v); }
  static CVariant Bool(bool v) { return CVariant(v); }
  static CVariant Text(CStr v) { return CVariant(std::move(v)); }
  static CVariant Dispatch(std::shared_ptr<IDispatch> v) { return CVariant(std::move(v)); }
  static CVariant Error(HRESULT hr) { return CVariant(SError{hr}); }
  // The omitted optional argument.
  static CVariant Missing() { return Error(DISP_E_PARAMNOTFOUND); }

  EType Type() const { return static_cast<EType>(m_value.index()); }
  bool IsMissing() const { return Type() == EType::eError && std::get<SError>(m_value).hr == DISP_E_PARAMNOTFOUND; }
  bool IsEmpty() const { return Type() == EType::eEmpty; }

  // Conversions as automation coerces; DISP_E_TYPEMISMATCH (as CComError) otherwise.
  long AsLong() const;
  double AsDouble() const;
  bool AsBool() const;
  CStr AsText() const;
  std::shared_ptr<IDispatch> AsDispatch() const;
  HRESULT AsError() const;

  // The value, or fallback when the argument was omitted.
  long LongOr(long fallback) const { return IsMissing() || IsEmpty() ? fallback : AsLong(); }
  bool BoolOr(bool fallback) const { return IsMissing() || IsEmpty() ? fallback : AsBool(); }

private:
  struct SError { HRESULT hr; };
  template <typename T> explicit CVariant(T v) : m_value(std::move(v)) {}
  std::variant<std::monostate, std::int16_t, std::int32_t, float, double, std::uint8_t, bool,
               CStr, std::shared_ptr<IDispatch>, SError>
      m_value;
};
