#include "InspectCommand.h"

#include <iomanip>
#include <sstream>

#include "ComputedValues.h"
#include "ExitCodes.h"
#include "TemplateScan.h"
#include "ValuesFile.h"
#include "folio/extract/CKORIExtractor.h"

namespace FolioCli {
namespace {

const char* SectionName(ESection section) {
  return section == ESection::ePreface ? "preface" : section == ESection::eBody ? "body" : "summary";
}

// What became of a legacy (version 1.0) description, judged by the names it ended with.
std::string LegacyOutcome(const SPlaceholderKey& key) {
  if (!CKORIExtractor::GetGroupEnum().Contains(key.group)) return "legacy names: group no longer supported";
  if (!CKORIExtractor::GetFieldEnum().Contains(key.field.Trimmed())) return "legacy names: field no longer supported";
  return "legacy names, translated";
}

std::string Layout(const SScannedPlaceholder& p) {
  std::ostringstream text;
  text << "unit " << p.unitOptions << ", picture " << p.pictureOptions << ", " << p.width << "x" << p.height;
  return text.str();
}

std::string ValueSource(const SScannedPlaceholder& p, const SValuesFile& values) {
  if (p.key.field == u"PrefaceEnd" || p.key.field == u"SummaryBegin") return "section tag";
  const std::optional<std::size_t> measurement =
      p.section == ESection::eBody ? std::optional<std::size_t>(0) : std::nullopt;
  if (const SValueEntry* entry = FindValue(values, p.key, measurement)) return entry->where;
  CKORIControlValue scratch;
  if (ApplyComputedValue(p.key, SRunFacts(), scratch)) return "computed";
  return "NO VALUE";
}

}  // namespace

int RunInspect(const std::filesystem::path& templatePath, const std::filesystem::path& valuesPath,
               std::ostream& out, std::ostream& err) {
  std::optional<SValuesFile> values;
  if (!valuesPath.empty()) {
    try {
      values = LoadValuesFile(valuesPath);
    } catch (const EValuesFile& e) {
      err << "folio: " << e.what() << "\n";
      return eExitUsage;
    }
  }
  const auto placeholders = ScanTemplate(templatePath);
  if (!placeholders) {
    err << "folio: the template \"" << templatePath.string() << "\" could not be read\n";
    return eExitReportFailed;
  }
  out << templatePath.string() << ": " << placeholders->size() << " placeholders\n";
  std::size_t index = 0;
  for (const SScannedPlaceholder& p : *placeholders) {
    out << std::setw(4) << ++index << "  " << std::left << std::setw(8) << SectionName(p.section)
        << p.key.Describe() << std::right << "\n        " << Layout(p);
    if (p.version == 1000) out << "; " << LegacyOutcome(p.key);
    if (values) out << "; value: " << ValueSource(p, *values);
    out << "\n";
  }
  return eExitOk;
}

}  // namespace FolioCli
