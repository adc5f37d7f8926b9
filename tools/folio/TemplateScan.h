#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "SValueEntry.h"
#include "ValueMatching.h"

namespace FolioCli {

enum class ESection { ePreface, eBody, eSummary };

// One placeholder as the host's callback sees it (legacy names already translated).
struct SScannedPlaceholder {
  SPlaceholderKey key;
  // How its description was read: current names, translated legacy names, or a
  // description Folio answers itself with a "no longer supported" text.
  CKORIControlValue::EExtractRes outcome = CKORIControlValue::eExtractOk;
  std::uint32_t version = 0;  // 1000 for legacy object placeholders
  SPlaceholderKey asWritten;  // the names in the template, before any translation
  short unitOptions = 0;
  short pictureOptions = 0;
  float width = 0;
  float height = 0;
  ESection section = ESection::eBody;

  bool AsksTheHost() const {
    return outcome == CKORIControlValue::eExtractOk || outcome == CKORIControlValue::eTranslated;
  }
};

// The placeholders of a template in document order, read as the reporter reads them;
// nullopt when the template cannot be read.
std::optional<std::vector<SScannedPlaceholder>> ScanTemplate(const std::filesystem::path& templatePath);

// Marks each placeholder with its section from the section tags around it.
void AssignSections(std::vector<SScannedPlaceholder>& placeholders);

// Descriptions of the placeholders that no pass can answer: preface and summary from
// the top-level values, the body from every measurement; section tags and computed
// fields count as answered.
std::vector<std::string> FindUnanswered(const std::vector<SScannedPlaceholder>& placeholders,
                                        const SValuesFile& values);

}  // namespace FolioCli
