#include "HtmlFuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzHtmlReader(data, size);
  return 0;
}
