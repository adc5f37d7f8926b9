#include "platform/com/CComError.h"

CComError::CComError(HRESULT hr, CStr description, CStr source)
    : m_hr(hr), m_message(FormatErrorText(hr)), m_description(std::move(description)),
      m_source(std::move(source)) {
  m_what = m_message.ToUtf8();
  if (!m_description.IsEmpty()) m_what += ": " + m_description.ToUtf8();
}

void ThrowIfFailed(HRESULT hr, const CStr& description) {
  if (FAILED(hr)) throw CComError(hr, description);
}
