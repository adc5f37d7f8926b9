#pragma once
#include <exception>
#include <source_location>
#include <string>

#include "folio/util/CStr.h"
#include "folio/util/Export.h"

// The library's error for text, conversion and formatting failures: where it was
// raised ("module(line)"), in which function, and why. Thrown and caught by value.
class FOLIO_API EBase : public std::exception {
public:
  EBase(CStr function, CStr message,
        std::source_location where = std::source_location::current());

  // "module(line)" of the statement that raised the error.
  const CStr& GetLocation() const { return m_location; }
  const CStr& GetFunction() const { return m_function; }
  const CStr& GetMessage() const { return m_message; }
  // UTF-8 "function: message", for hosts that only catch std::exception.
  const char* what() const noexcept override { return m_what.c_str(); }

private:
  CStr m_location;
  CStr m_function;
  CStr m_message;
  std::string m_what;
};

// A failed text-to-value conversion.
class FOLIO_API EInput : public EBase {
public:
  using EBase::EBase;
};
