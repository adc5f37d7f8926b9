#include "platform/fs/FileFaults.h"

#include <array>

namespace {
struct SFaults {
  std::array<int, 6> count{};
  std::array<int, 6> failAt{};
};
SFaults& Faults() {
  static SFaults faults;
  return faults;
}
}  // namespace

void FileFaults::FailAt(EFileStep step, int nth) { Faults().failAt[static_cast<int>(step)] = nth; }

void FileFaults::Reset() { Faults() = SFaults(); }

int FileFaults::Count(EFileStep step) { return Faults().count[static_cast<int>(step)]; }

bool FileFaults::Hit(EFileStep step) {
  SFaults& f = Faults();
  const int i = static_cast<int>(step);
  ++f.count[i];
  return f.failAt[i] != 0 && f.count[i] == f.failAt[i];
}
