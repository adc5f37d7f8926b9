#include "TemplateScan.h"

#include <algorithm>

#include "ComputedValues.h"
#include "folio/html/CHTMLEventHandler.h"
#include "folio/util/EBase.h"
#include "folio/util/TextFile.h"
#include "folio/util/SystemUtils.h"

namespace FolioCli {
namespace {

bool IsSectionTag(const SPlaceholderKey& key) {
  return key.field == u"PrefaceEnd" || key.field == u"SummaryBegin";
}

}  // namespace

std::optional<std::vector<SScannedPlaceholder>> ScanTemplate(const std::filesystem::path& templatePath) {
  CStr text;
  try {
    text = TextFile::Read(SystemUtils::FromFsPath(templatePath));
  } catch (const EBase&) {
    return std::nullopt;
  }
  CHTMLEventHandler collector;
  collector.Collect(text.View());
  std::vector<SScannedPlaceholder> found;
  for (unsigned int index = 0; index < collector.GetKoriControlCount(); ++index) {
    CKORIControlValue record;
    SReportConversionResult result = collector.GetKoriControlValue(index, record);
    SScannedPlaceholder placeholder;
    placeholder.key = SPlaceholderKey::Of(record);
    placeholder.outcome = result.m_result;
    placeholder.version = record.GetVersion(nullptr, nullptr);
    CKORIControlValue asRead = result.m_asRead;  // the record's getters are not const
    placeholder.asWritten = placeholder.version == 1000 ? SPlaceholderKey::Of(asRead) : placeholder.key;
    placeholder.unitOptions = record.GetUnitOptions();
    placeholder.pictureOptions = record.GetPictureOptions();
    placeholder.width = record.GetWidth();
    placeholder.height = record.GetHeight();
    found.push_back(placeholder);
  }
  AssignSections(found);
  return found;
}

void AssignSections(std::vector<SScannedPlaceholder>& placeholders) {
  const auto field = [&placeholders](const char16_t* name) {
    return std::find_if(placeholders.begin(), placeholders.end(),
                        [name](const SScannedPlaceholder& p) { return p.key.field == name; });
  };
  const auto prefaceEnd = field(u"PrefaceEnd");
  const auto summaryBegin = field(u"SummaryBegin");
  for (auto it = placeholders.begin(); it != placeholders.end(); ++it) {
    if (prefaceEnd != placeholders.end() && it <= prefaceEnd) it->section = ESection::ePreface;
    else if (summaryBegin != placeholders.end() && it >= summaryBegin) it->section = ESection::eSummary;
    else it->section = ESection::eBody;
  }
}

std::vector<std::string> FindUnanswered(const std::vector<SScannedPlaceholder>& placeholders,
                                        const SValuesFile& values) {
  std::vector<std::string> missing;
  const SRunFacts facts;
  for (const SScannedPlaceholder& placeholder : placeholders) {
    CKORIControlValue scratch;
    if (IsSectionTag(placeholder.key) || !placeholder.AsksTheHost() ||
        ApplyComputedValue(placeholder.key, facts, scratch))
      continue;
    bool answered = true;
    if (placeholder.section == ESection::eBody) {
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
