#pragma once
#include <string>
#include <string_view>

#include "folio/util/CStr.h"
#include "folio/util/Export.h"

// Text files as templates and reports hold them. Reading accepts UTF-16LE with its
// byte-order mark, UTF-8 and Latin-1; writing always gives UTF-16LE with the mark.
namespace TextFile {

enum class EEncoding { eUtf16Le, eUtf8, eLatin1 };

// 0xFF 0xFE first: UTF-16LE. Otherwise UTF-8 when the bytes are valid UTF-8 and not all
// ASCII; otherwise Latin-1 (each byte one character).
FOLIO_API EEncoding DetectEncoding(std::string_view bytes);
// The text of file bytes, without the byte-order mark (UTF-16 or UTF-8). UTF-16 code
// units are taken as they are; a final odd byte becomes U+FFFD.
FOLIO_API CStr Decode(std::string_view bytes);
// The bytes of text as UTF-16LE, byte-order mark first.
FOLIO_API std::string EncodeUtf16(const CStr& text);

// The decoded text of the file at path; EBase naming the path and the reason.
FOLIO_API CStr Read(const CStr& path);
// The raw bytes of the file at path; EBase naming the path and the reason.
FOLIO_API std::string ReadBytes(const CStr& path);
// Writes text to path as UTF-16LE with the mark, replacing the file; EBase on failure.
FOLIO_API void Write(const CStr& path, const CStr& text);

}  // namespace TextFile
