#pragma once
#include "folio/util/CStr.h"
#include "folio/util/Export.h"

// One section of a settings file in INI form (UTF-8, "key=value" lines under "[section]").
// Section and key names match regardless of ASCII case, as the host's settings files do.
// The file is read afresh on every call; nothing is cached.
class FOLIO_API CInifile {
public:
  CInifile(CStr file, CStr section);

  // The stored text of key, or defaultValue when the file, section or key is missing or
  // the file cannot be read as INI. Surrounding white space is not kept.
  CStr ReadString(const CStr& key, const CStr& defaultValue) const;
  // Stores value under key for the next read, creating the file and its folder when
  // missing. The new file is written beside the old one and renamed over it, so a
  // failure leaves the old settings whole. False when the file cannot be parsed (it
  // is then left alone), the key or value cannot be stored in INI form (line breaks,
  // "=" or a leading "[", ";" or "#" in the key), or writing fails. Comments are
  // not kept.
  bool WriteString(const CStr& key, const CStr& value) const;

  const CStr& GetFile() const { return m_file; }
  const CStr& GetSection() const { return m_section; }

private:
  CStr m_file;
  CStr m_section;
};
