#include "folio/util/EBase.h"

#include <string_view>

EBase::EBase(CStr function, CStr message, std::source_location where)
    : m_function(std::move(function)), m_message(std::move(message)) {
  std::string_view file = where.file_name();
  const size_t slash = file.find_last_of("/\\");
  if (slash != std::string_view::npos) file.remove_prefix(slash + 1);
  m_location = CStr::DoStringFormat(u"%s(%d)", CStr::FromUtf8(file), where.line());
  m_what = m_function.ToUtf8() + ": " + m_message.ToUtf8();
}
