#include "report/SectionCursor.h"

std::optional<std::uint32_t> StartPass(SSectionCursor& cursor, ELivesheetProcessingType pass, bool appending,
                                       const CTemplateModel& model) {
  std::uint32_t position = static_cast<std::uint32_t>(cursor.bodyStartPosition);
  if (appending && pass == eBody) cursor.nextElementIndex = cursor.firstBodyElementIndex;
  if (cursor.nextElementIndex == 0) return position;
  const std::size_t count = model.Count();
  if (cursor.nextElementIndex < 0 || static_cast<std::size_t>(cursor.nextElementIndex - 1) >= count)
    return std::nullopt;
  position = model.Placeholders()[static_cast<std::size_t>(cursor.nextElementIndex - 1)].end;
  if (pass == eBody) {
    cursor.bodyStartPosition = static_cast<std::int32_t>(position);
    cursor.nextElementIndex = cursor.firstBodyElementIndex;
  }
  return position;
}

EAfterPlaceholder PassPlaceholder(SSectionCursor& cursor, CKORIControlValue::EType type, bool wholeFile,
                                  ELivesheetProcessingType& pass) {
  if (type == CKORIControlValue::ePrefaceEnd) {
    cursor.firstBodyElementIndex = cursor.nextElementIndex + 1;
    if (!wholeFile) {
      ++cursor.nextElementIndex;
      return EAfterPlaceholder::eEndPass;
    }
  } else if (type == CKORIControlValue::eSummaryBegin) {
    if (!wholeFile) {
      ++cursor.nextElementIndex;
      return EAfterPlaceholder::eEndPass;
    }
    pass = eSummary;
  }
  ++cursor.nextElementIndex;
  return EAfterPlaceholder::eGoOn;
}
