#pragma once
#include <cstdint>
#include <ctime>

#include "ValueMatching.h"

namespace FolioCli {

// What the host knows about a run without being told.
struct SRunFacts {
  std::tm startedLocal{};
  std::tm startedUtc{};
  CStr userName;
  CStr reportFileName;
  std::int32_t batchIndex = 1;  // the measurement of the body pass, from 1
  std::int32_t batchCount = 1;

  // Now, the current user and the report's file name.
  static SRunFacts ForReport(const CStr& reportPath, std::size_t batchCount);
};

// The user running the program: the account name, else $USER, else "unknown".
CStr CurrentUserName();

// Gives record the value of a "BasicInfo" field the host computes (date, time, user
// name, report file name, batch index, ...); false when the field is not one of them.
bool ApplyComputedValue(const SPlaceholderKey& key, const SRunFacts& facts, CKORIControlValue& record);

}  // namespace FolioCli
