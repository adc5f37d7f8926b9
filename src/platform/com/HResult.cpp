#include "platform/com/HResult.h"

#include <algorithm>
#include <iterator>

namespace {

struct SMessage {
  std::uint32_t code;
  const char16_t* text;
};

// The texts the system gives for the codes the engine raises, sorted by code.
constexpr SMessage kMessages[] = {
    {0x00000000, u"The operation completed successfully.\r\n"},
    {0x00000001, u"Incorrect function.\r\n"},
    {0x80004001, u"Not implemented\r\n"},
    {0x80004002, u"No such interface supported\r\n"},
    {0x80004003, u"Invalid pointer\r\n"},
    {0x80004004, u"Operation aborted\r\n"},
    {0x80004005, u"Unspecified error\r\n"},
    {0x8000FFFF, u"Catastrophic failure\r\n"},
    {0x80010106, u"Cannot change thread mode after it is set.\r\n"},
    {0x80010108, u"The object invoked has disconnected from its clients.\r\n"},
    {0x80020003, u"Member not found.\r\n"},
    {0x80020004, u"Parameter not found.\r\n"},
    {0x80020005, u"Type mismatch.\r\n"},
    {0x80020009, u"Exception occurred.\r\n"},
    {0x8002000B, u"Invalid index.\r\n"},
    {0x8002000E, u"Invalid number of parameters.\r\n"},
    {0x80040154, u"Class not registered\r\n"},
    {0x800401F0, u"CoInitialize has not been called.\r\n"},
    {0x800401F3, u"Invalid class string\r\n"},
    {0x80070002, u"The system cannot find the file specified.\r\n"},
    {0x80070005, u"Access is denied.\r\n"},
    {0x8007000D, u"The data is invalid.\r\n"},
    {0x8007000E, u"Not enough memory resources are available to complete this operation.\r\n"},
    {0x8007001D, u"The system cannot write to the specified device.\r\n"},
    {0x80070032, u"The request is not supported.\r\n"},
    {0x80070057, u"The parameter is incorrect.\r\n"},
    {0x80080005, u"Server execution failed\r\n"},
};

}  // namespace

std::optional<CStr> GetSystemMessage(HRESULT hr) {
  const auto code = static_cast<std::uint32_t>(hr);
  const auto* it = std::lower_bound(std::begin(kMessages), std::end(kMessages), code,
                                    [](const SMessage& m, std::uint32_t c) { return m.code < c; });
  if (it == std::end(kMessages) || it->code != code) return std::nullopt;
  return CStr(it->text);
}

CStr FormatErrorText(HRESULT hr) {
  if (auto text = GetSystemMessage(hr)) {
    auto& s = text->Str();
    if (s.size() > 1 && s.back() == u'\n') {
      s.pop_back();
      if (!s.empty() && s.back() == u'\r') s.pop_back();
    }
    return *text;
  }
  const auto code = static_cast<std::uint32_t>(hr);
  if (code >= 0x80040201u && code <= 0x8004FFFFu)
    return CStr::DoStringFormat(u"IDispatch error #%d", static_cast<int>(code - 0x80040200u));
  return CStr::DoStringFormat(u"Unknown error 0x%0lX", static_cast<unsigned long>(code));
}
