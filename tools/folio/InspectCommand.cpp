#include "InspectCommand.h"

#include <iomanip>
#include <sstream>

#include "ComputedValues.h"
#include "ExitCodes.h"
#include "TemplateScan.h"
#include "ValuesFile.h"

namespace FolioCli {
namespace {

const char* SectionName(ESection section) {
  return section == ESection::ePreface ? "preface" : section == ESection::eBody ? "body" : "summary";
}

// What became of a description that was not in today's form; empty when it was.
std::string Outcome(const SScannedPlaceholder& p) {
  const std::string written = p.asWritten.Describe();
  switch (p.outcome) {
    case CKORIControlValue::eExtractOk:
    case CKORIControlValue::eTranslated:
      if (p.version != 1000) return std::string();
      return written == p.key.Describe() ? "legacy placeholder, names unchanged"
                                         : "legacy names, translated from " + written;
    case CKORIControlValue::eFieldNotSupported: return "legacy names " + written + ": field no longer supported";
    case CKORIControlValue::eGroupNotSupported: return "legacy names " + written + ": group no longer supported";
    case CKORIControlValue::eElementDefinitionError: return "error in the element definition";
    default: return std::string();
  }
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
    if (const std::string outcome = Outcome(p); !outcome.empty()) out << "; " << outcome;
    if (values) out << "; value: " << (p.AsksTheHost() ? ValueSource(p, *values) : "answered by Folio");
    out << "\n";
  }
  return eExitOk;
}

}  // namespace FolioCli
