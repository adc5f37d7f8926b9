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
  switch (p.Outcome()) {
    case CKORIControlValue::eExtractOk:
    case CKORIControlValue::eTranslated:
      if (p.read.description.GetVersion(nullptr, nullptr) != 1000) return std::string();
      return written == p.key.Describe() ? "legacy placeholder, names unchanged"
                                         : "legacy names, translated from " + written;
    case CKORIControlValue::eFieldNotSupported: return "legacy names " + written + ": field no longer supported";
    case CKORIControlValue::eGroupNotSupported: return "legacy names " + written + ": group no longer supported";
    case CKORIControlValue::eElementDefinitionError: return "error in the element definition";
    default: return std::string();
  }
}

// Where a Word placeholder stands: its place, paragraph and opening words.
std::string Place(const STemplatePlaceholder& p) {
  std::ostringstream text;
  text << PlaceName(p.place);
  const bool ownPart = p.place == EPlaceholderPlace::eHeader || p.place == EPlaceholderPlace::eFooter;
  if (ownPart && p.part != CStr::FromUtf8(PlaceName(p.place))) text << " (" << p.part.ToUtf8() << ")";
  if (p.paragraph > 0) text << ", paragraph " << p.paragraph;
  if (!p.openingWords.IsEmpty()) text << " \"" << p.openingWords.ToUtf8() << "\"";
  return text.str();
}

std::string Layout(const SScannedPlaceholder& p) {
  std::ostringstream text;
  const CKORIControlValue& d = p.read.description;
  text << "unit " << d.GetUnitOptions() << ", picture " << d.GetPictureOptions() << ", " << d.GetWidth() << "x"
       << d.GetHeight();
  return text.str();
}

// The values a placeholder is shown with: the top-level ones, and for the body the first measurement's.
struct SShownValues {
  const ValueList& top;
  const ValueList& firstMeasurement;
};

std::string ValueSource(const SScannedPlaceholder& p, const SShownValues& values) {
  if (p.IsSectionTag()) return "section tag";
  const ValueList* measurement = p.Section() == ESection::eBody ? &values.firstMeasurement : nullptr;
  if (const SValueEntry* entry = FindValue(values.top, measurement, p.key)) return entry->Where();
  CKORIControlValue scratch;
  if (ApplyComputedValue(p.key, SRunFacts(), scratch)) return "computed";
  return "NO VALUE";
}

void PrintProblems(const std::vector<STemplateProblem>& problems, std::ostream& out) {
  if (problems.empty()) return;
  out << problems.size() << (problems.size() == 1 ? " problem:\n" : " problems:\n");
  for (const STemplateProblem& problem : problems)
    out << "  " << problem.id << " " << (problem.error ? "error" : "warning") << " at " << problem.where.ToUtf8()
        << ": " << problem.what.ToUtf8() << "\n      " << problem.todo.ToUtf8() << "\n";
}

}  // namespace

int RunInspect(const SInspectRequest& request, std::ostream& out, std::ostream& err) {
  std::optional<SValuesFile> values;
  if (!request.valuesPath.empty()) {
    try {
      values = LoadValuesFile(request.valuesPath);
    } catch (const EValuesFile& e) {
      err << "folio: " << e.what() << "\n";
      return eExitUsage;
    }
  }
  std::string error;
  const std::optional<STemplateScan> scan = ScanTemplate(request.templatePath, error);
  if (!scan) {
    err << "folio: the template \"" << request.templatePath.string() << "\" could not be read: " << error << "\n";
    return eExitReportFailed;
  }
  out << request.templatePath.string() << ": " << scan->placeholders.size() << " placeholders\n";
  const ValueList firstMeasurement = values && values->MeasurementCount() > 0 ? values->Measurement(0) : ValueList();
  const ValueList noValues;
  const SShownValues shown{values ? values->values : noValues, firstMeasurement};
  std::size_t index = 0;
  for (const SScannedPlaceholder& p : scan->placeholders) {
    out << std::setw(4) << ++index << "  " << std::left << std::setw(8) << SectionName(p.Section())
        << p.key.Describe() << std::right << "\n        " << Place(p.read) << "; " << Layout(p);
    if (const std::string outcome = Outcome(p); !outcome.empty()) out << "; " << outcome;
    if (values) out << "; value: " << (p.AsksTheHost() ? ValueSource(p, shown) : "answered by Folio");
    out << "\n";
  }
  std::vector<STemplateProblem> problems = scan->model->Problems();
  if (values)
    for (const std::string& missing : FindUnanswered(scan->placeholders, *values))
      problems.push_back({"FOLIO-V001", CStr::FromUtf8(request.valuesPath.string()),
                          CStr::FromUtf8("no value for " + missing),
                          u"add a value for it to the values file, or remove the placeholder", true});
  PrintProblems(problems, out);
  if (request.strict && !problems.empty()) {
    err << "folio: --strict: the template has " << problems.size() << " problem(s)\n";
    return eExitReportFailed;
  }
  return eExitOk;
}

}  // namespace FolioCli
