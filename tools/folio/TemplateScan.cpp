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
    p.asWritten = p.key;
    if (read.asWritten) {
      CKORIControlValue written = *read.asWritten;  // the record's getters are not const
      p.asWritten = SPlaceholderKey::Of(written);
    }
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
  const SRunFacts facts;
  const CValueIndex top(values.values);
  // Answered in every pass that shows it; body placeholders are asked of each
  // measurement in turn, so that one measurement's entries are read at a time.
  std::vector<bool> answered(placeholders.size(), true);
  std::vector<std::size_t> body;
  for (std::size_t i = 0; i < placeholders.size(); ++i) {
    const SScannedPlaceholder& placeholder = placeholders[i];
    CKORIControlValue scratch;
    if (placeholder.IsSectionTag() || !placeholder.AsksTheHost() ||
        ApplyComputedValue(placeholder.key, facts, scratch))
      continue;
    if (placeholder.Section() == ESection::eBody) body.push_back(i);
    else answered[i] = top.Find(placeholder.key) != nullptr;
  }
  if (!body.empty()) {
    for (std::size_t k = 0; k < values.BodyPassCount(); ++k) {
      const ValueList measurement = k < values.MeasurementCount() ? values.Measurement(k) : ValueList();
      const CValueIndex index(measurement);
      for (const std::size_t i : body)
        if (answered[i] && !index.Find(placeholders[i].key) && !top.Find(placeholders[i].key)) answered[i] = false;
    }
  }
  std::vector<std::string> missing;
  for (std::size_t i = 0; i < placeholders.size(); ++i) {
    if (answered[i]) continue;
    const std::string description = placeholders[i].key.Describe();
    if (std::find(missing.begin(), missing.end(), description) == missing.end()) missing.push_back(description);
  }
  return missing;
}

}  // namespace FolioCli
