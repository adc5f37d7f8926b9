#include "../html_reader/HtmlFuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzHtmlAttributes(data, size);
  return 0;
}
