#pragma once
#include <wx/string.h>

#include "folio/util/CStr.h"

// Texts cross into the toolkit as UTF-8; Windows line ends become plain ones.
inline wxString ToWx(const CStr& text) {
  CStr plain = text;
  plain.Replace(u"\r\n", u"\n");
  plain.Replace(u"\r", u"\n");
  return wxString::FromUTF8(plain.ToUtf8());
}

inline CStr FromWx(const wxString& text) { return CStr::FromUtf8(text.utf8_string()); }
