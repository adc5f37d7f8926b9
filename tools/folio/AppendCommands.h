#pragma once
#include <filesystem>
#include <optional>
#include <ostream>

#include "folio/model/CKORIControlValue.h"

namespace FolioCli {

// Appends the report source to target of the same kind, HTML or Word (target is made
// when missing).
int RunAppend(const std::filesystem::path& source, const std::filesystem::path& target, std::ostream& out,
              std::ostream& err);

// The description of the placeholder that add-placeholder writes.
struct SPlaceholderRequest {
  std::string group;
  std::string field;
  std::optional<std::string> parameter1;
  std::optional<std::string> parameter2;
  std::optional<std::string> statistics1;
  std::optional<std::string> statistics2;
  short unitOptions = 0;
  short pictureOptions = 1;
  float resolutionFactor = 2.0f;
  bool scaleFont = true;
  bool body = true;

  // A current-version record with these names; the rest as a reset record has it.
  CKORIControlValue ToRecord() const;
};

// Appends one placeholder to the end of report.
int RunAddPlaceholder(const std::filesystem::path& report, const SPlaceholderRequest& request,
                      std::ostream& out, std::ostream& err);

}  // namespace FolioCli
