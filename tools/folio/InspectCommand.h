#pragma once
#include <filesystem>
#include <ostream>

namespace FolioCli {

struct SInspectRequest {
  std::filesystem::path templatePath;
  std::filesystem::path valuesPath;  // empty: no values shown
  bool strict = false;               // any problem fails
};

// Lists the placeholders of a template with their section, place, description and
// whether legacy names were translated (with a values file, also where each value comes
// from), then every problem found with its id, place and what to do about it.
int RunInspect(const SInspectRequest& request, std::ostream& out, std::ostream& err);

}  // namespace FolioCli
