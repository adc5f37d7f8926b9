#pragma once
#include <pybind11/pybind11.h>
#include <stdexcept>

namespace FolioPython {

// folio.Error: Folio could not do what was asked; the text is the user's message.
class Error : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};
// folio.ValuesError (also a ValueError): a values file or mapping that cannot be used.
class ValuesError : public Error {
public:
  using Error::Error;
};
// FileNotFoundError.
class FileNotFound : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// folio.MissingValueWarning, for placeholders that got no value.
PyObject* MissingValueWarning();
// folio.ValuesError, for errors raised inside a callable's answer.
PyObject* ValuesErrorType();

void BindErrors(pybind11::module_& m);
void BindRecord(pybind11::module_& m);
void BindPlaceholder(pybind11::module_& m);

extern const char* const kRenderDoc;
extern const char* const kInspectDoc;
extern const char* const kAppendDoc;
extern const char* const kToPdfDoc;
extern const char* const kAppendPlaceholderDoc;

}  // namespace FolioPython
