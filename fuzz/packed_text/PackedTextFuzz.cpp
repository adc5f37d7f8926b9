// Packed description text, as an img placeholder's alt attribute carries it. A text
// packed from what Unpack accepted reads back to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "folio/model/CKORIControlValue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Odd inputs are UTF-8, even ones UTF-16 code units: the packed text is wide.
  CStr text;
  if (size % 2) {
    text = CStr::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  } else {
    for (std::size_t i = 0; i + 1 < size; i += 2)
      text.Str().push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  }
  CKORIControlValue value;
  if (!value.Unpack(text)) return 0;
  CStr packed = value.Pack();
  CKORIControlValue again;
  if (again.Unpack(packed) && !(again.Pack() == packed)) std::abort();
  return 0;
}
