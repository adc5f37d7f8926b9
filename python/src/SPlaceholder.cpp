#include "SPlaceholder.h"

namespace FolioPython {
namespace {

const char* SectionName(FolioCli::ESection section) {
  using FolioCli::ESection;
  return section == ESection::ePreface ? "preface" : section == ESection::eBody ? "body" : "summary";
}

const char* OutcomeName(CKORIControlValue::EExtractRes outcome) {
  switch (outcome) {
    case CKORIControlValue::eExtractOk: return "ok";
    case CKORIControlValue::eTranslated: return "translated";
    case CKORIControlValue::eFieldNotSupported: return "field not supported";
    case CKORIControlValue::eGroupNotSupported: return "group not supported";
    case CKORIControlValue::eElementDefinitionError: return "element definition error";
    default: return "ok";
  }
}

}  // namespace

SPlaceholder SPlaceholder::Of(const FolioCli::SPlaceholderKey& key) {
  SPlaceholder p;
  p.group = key.group.ToUtf8();
  p.field = key.field.ToUtf8();
  p.parameter1 = key.parameter1.ToUtf8();
  p.parameter2 = key.parameter2.ToUtf8();
  p.statistics1 = key.statistics1.ToUtf8();
  p.statistics2 = key.statistics2.ToUtf8();
  p.description = key.Describe();
  return p;
}

SPlaceholder SPlaceholder::Of(const FolioCli::SScannedPlaceholder& scanned, std::size_t index) {
  SPlaceholder p = Of(scanned.key);
  const STemplatePlaceholder& read = scanned.read;
  const CKORIControlValue& d = read.description;
  p.section = SectionName(scanned.Section());
  p.index = index;
  p.location = PlaceName(read.place);
  if (!read.part.IsEmpty()) p.location += " (" + read.part.ToUtf8() + ")";
  if (read.paragraph > 0) p.location += ", paragraph " + std::to_string(read.paragraph);
  p.unitOptions = d.GetUnitOptions();
  p.pictureOptions = d.GetPictureOptions();
  p.width = d.GetWidth();
  p.height = d.GetHeight();
  p.outcome = OutcomeName(scanned.Outcome());
  if (d.GetVersion(nullptr, nullptr) == 1000 &&
      scanned.asWritten.Describe() != p.description)
    p.writtenAs = scanned.asWritten.Describe();
  p.asksHost = scanned.AsksTheHost();
  return p;
}

std::string SPlaceholder::Repr() const {
  std::string text = "<Placeholder " + description;
  if (!section.empty()) text += " " + section;
  if (measurement) text += " measurement " + std::to_string(*measurement);
  return text + ">";
}

}  // namespace FolioPython
