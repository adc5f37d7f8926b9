#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

#include "../../fuzz/html_reader/HtmlFuzzInput.h"

namespace {

namespace fs = std::filesystem;

// Runs every kept input of a fuzz target (its seeds and whatever once crashed it)
// through the same checks; a broken check aborts the test binary.
int Replay(const std::string& target, void (*check)(const uint8_t*, size_t)) {
  int count = 0;
  for (const char* kind : {"corpus", "crashes"}) {
    const fs::path folder = fs::path(FOLIO_FUZZ_DIR) / kind / target;
    if (!fs::is_directory(folder)) continue;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
      std::ifstream file(entry.path(), std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(file)), {});
      SCOPED_TRACE(entry.path().string());
      check(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
      ++count;
    }
  }
  return count;
}

TEST(HTMLFuzzReplay, ReaderInputsStillPass) { EXPECT_GT(Replay("html_reader", FuzzHtmlReader), 10); }

TEST(HTMLFuzzReplay, AttributeInputsStillPass) {
  EXPECT_GT(Replay("html_attributes", FuzzHtmlAttributes), 10);
}

}  // namespace
