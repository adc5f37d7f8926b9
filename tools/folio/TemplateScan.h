#pragma once
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SValueEntry.h"
#include "ValueMatching.h"
#include "folio/report/CTemplateModel.h"

namespace FolioCli {

using ESection = ETemplateSection;

// One placeholder of the template model with the names values are matched against.
struct SScannedPlaceholder {
  STemplatePlaceholder read;  // as the library read it: place, section, outcome
  SPlaceholderKey key;        // the names the host's callback sees (legacy names translated)
  SPlaceholderKey asWritten;  // the names in the template, before any translation

  CKORIControlValue::EExtractRes Outcome() const { return read.outcome; }
  ESection Section() const { return read.section; }
  bool AsksTheHost() const { return read.AsksTheHost(); }
  bool IsSectionTag() const { return read.tag != ESectionTag::eNone; }
};

// The model's placeholders with their keys, in document order.
std::vector<SScannedPlaceholder> ScanModel(const CTemplateModel& model);

// The template model of a file and its placeholders; an error text (in error) when the
// template cannot be read.
struct STemplateScan {
  std::shared_ptr<const CTemplateModel> model;
  std::vector<SScannedPlaceholder> placeholders;
};
std::optional<STemplateScan> ScanTemplate(const std::filesystem::path& templatePath, std::string& error);

// Descriptions of the placeholders that no pass can answer: preface and summary from
// the top-level values, the body from every measurement; section tags and computed
// fields count as answered.
std::vector<std::string> FindUnanswered(const std::vector<SScannedPlaceholder>& placeholders,
                                        const SValuesFile& values);

}  // namespace FolioCli
