// The benchmark's work once, as a process of its own: what a whole-process timing measures,
// without the benchmark framework.
//   bench_word_replace IN OUT
#include <cstdio>

#include "ReplacePlaceholders.h"
#include "platform/com/ComRuntime.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_word_replace IN OUT\n");
    return 2;
  }
  CoInitialize();
  ReplacePlaceholders(argv[1], argv[2]);
  return 0;
}
