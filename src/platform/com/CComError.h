#pragma once
#include <exception>
#include <string>

#include "folio/util/CStr.h"
#include "platform/com/HResult.h"

// A failed COM call: the result code, its error text (formed once, from the code
// alone) and the error information the failing object supplied, if any.
class CComError : public std::exception {
public:
  explicit CComError(HRESULT hr, CStr description = {}, CStr source = {});

  HRESULT Error() const { return m_hr; }
  // The code's text, as users are shown it.
  const CStr& ErrorMessage() const { return m_message; }
  // What the failing object said about the failure (empty when it said nothing).
  const CStr& Description() const { return m_description; }
  const CStr& Source() const { return m_source; }
  // UTF-8 "message: description".
  const char* what() const noexcept override { return m_what.c_str(); }

private:
  HRESULT m_hr;
  CStr m_message;
  CStr m_description;
  CStr m_source;
  std::string m_what;
};

// Throws CComError when hr is a failure.
void ThrowIfFailed(HRESULT hr, const CStr& description = {});
