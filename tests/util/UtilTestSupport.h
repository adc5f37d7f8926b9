#pragma once
#include <ctime>
#include <filesystem>
#include <iterator>

#include "folio/util/EBase.h"

// Tuesday, 3 May 2011, 14:07:09.
inline std::tm May3rd2011() {
  std::tm t{};
  t.tm_year = 111;
  t.tm_mon = 4;
  t.tm_mday = 3;
  t.tm_wday = 2;
  t.tm_hour = 14;
  t.tm_min = 7;
  t.tm_sec = 9;
  return t;
}

// "function: message" of the library error of kind E that action throws.
template <typename E = EBase, typename F>
CStr FailureOf(F&& action) {
  try {
    action();
  } catch (const E& e) {
    return e.GetFunction() + u": " + e.GetMessage();
  }
  return u"<nothing thrown>";
}

inline std::size_t EntryCount(const std::filesystem::path& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}
