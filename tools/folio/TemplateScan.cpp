#include "TemplateScan.h"

#include <algorithm>

#include "ComputedValues.h"
#include "folio/util/EBase.h"
#include "folio/util/SystemUtils.h"

namespace FolioCli {

std::vector<SScannedPlaceholder> ScanModel(const CTemplateModel& model) {
  std::vector<SScannedPlaceholder> found;
  found.reserve(model.Count());
  for (const STemplatePlaceholder& read : model.Placeholders()) {
    SScannedPlaceholder p{read, {}, {}};
    p.key = SPlaceholderKey::Of(p.read.description);
    const bool legacy = read.description.GetVersion(nullptr, nullptr) == 1000;
    p.asWritten = legacy ? SPlaceholderKey::Of(p.read.reading.m_asRead) : p.key;
    found.push_back(std::move(p));
  }
  return found;
}

std::optional<STemplateScan> ScanTemplate(const std::filesystem::path& templatePath, std::string& error) {
  try {
    STemplateScan scan;
    scan.model = CTemplateModel::Read(SystemUtils::FromFsPath(templatePath));
    scan.placeholders = ScanModel(*scan.model);
    return scan;
  } catch (const EBase& e) {
    error = e.GetMessage().ToUtf8();
    return std::nullopt;
  }
}

std::vector<std::string> FindUnanswered(const std::vector<SScannedPlaceholder>& placeholders,
                                        const SValuesFile& values) {
  std::vector<std::string> missing;
  const SRunFacts facts;
  for (const SScannedPlaceholder& placeholder : placeholders) {
    CKORIControlValue scratch;
    if (placeholder.IsSectionTag() || !placeholder.AsksTheHost() ||
        ApplyComputedValue(placeholder.key, facts, scratch))
      continue;
    bool answered = true;
    if (placeholder.Section() == ESection::eBody) {
      for (std::size_t k = 0; k < values.BodyPassCount(); ++k)
        answered = answered && FindValue(values, placeholder.key, k) != nullptr;
    } else {
      answered = FindValue(values, placeholder.key, std::nullopt) != nullptr;
    }
    const std::string description = placeholder.key.Describe();
    if (!answered && std::find(missing.begin(), missing.end(), description) == missing.end())
      missing.push_back(description);
  }
  return missing;
}

}  // namespace FolioCli
