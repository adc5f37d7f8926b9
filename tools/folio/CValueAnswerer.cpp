#include "CValueAnswerer.h"

#include <algorithm>

#include "folio/util/SystemUtils.h"

namespace FolioCli {

namespace {

std::string NoPicture(const std::filesystem::path& picture) {
  return "picture \"" + picture.string() + "\" is no PNG, JPEG, GIF, BMP or TIFF picture";
}

}  // namespace

std::vector<std::string> PicturesThatAreNone(const SValuesFile& values) {
  std::vector<std::string> problems;
  auto check = [&](const ValueList& list) {
    for (const SValueEntry& entry : list) {
      if (entry.type != CKORIControlValue::ePicture || CFolio::IsPicture(SystemUtils::FromFsPath(entry.picture)))
        continue;
      const std::string problem = NoPicture(entry.picture);
      if (std::find(problems.begin(), problems.end(), problem) == problems.end()) problems.push_back(problem);
    }
  };
  check(values.values);
  for (std::size_t k = 0; k < values.MeasurementCount(); ++k) check(values.Measurement(k));
  return problems;
}

void CValueAnswerer::BeginPass(ELivesheetProcessingType pass, std::size_t measurement) {
  // The index points into the list: it goes first.
  m_measurementIndex.reset();
  m_measurement.clear();
  if (pass != eBody) {
    m_facts.batchIndex = pass == ePreface ? 1 : m_facts.batchCount;
    return;
  }
  m_facts.batchIndex = static_cast<std::int32_t>(measurement + 1);
  if (measurement < m_values.MeasurementCount()) {
    m_measurement = m_values.Measurement(measurement);
    m_measurementIndex.emplace(m_measurement);
  }
}

void CValueAnswerer::Answer(CKORIControlValue& record) {
  const SPlaceholderKey key = SPlaceholderKey::Of(record);
  // Section tags are recognised by their field, whatever their group.
  if (key.field == u"PrefaceEnd") {
    record.SetType(CKORIControlValue::ePrefaceEnd);
    return;
  }
  if (key.field == u"SummaryBegin") {
    record.SetType(CKORIControlValue::eSummaryBegin);
    return;
  }
  const SValueEntry* entry = m_measurementIndex ? m_measurementIndex->Find(key) : nullptr;
  if (!entry) entry = m_index.Find(key);
  if (entry) {
    ApplyEntry(*entry, record);
    return;
  }
  if (ApplyComputedValue(key, m_facts, record)) return;
  const std::string description = key.Describe();
  record.SetType(CKORIControlValue::eMessage);
  record.SetMessage(CStr::FromUtf8("[no value for " + description + "]"));
  Note(m_missing, description);
}

void CValueAnswerer::ApplyEntry(const SValueEntry& entry, CKORIControlValue& record) {
  record.SetType(entry.type);
  switch (entry.type) {
    case CKORIControlValue::eText: record.SetText(entry.text); break;
    case CKORIControlValue::eMessage: record.SetMessage(entry.text); break;
    case CKORIControlValue::eInteger:
      record.SetInteger(entry.integer);
      record.SetUnit(entry.unit);
      break;
    case CKORIControlValue::eFloat:
      record.SetFloat(entry.number);
      record.SetPrecision(entry.precision);
      record.SetUnit(entry.unit);
      break;
    case CKORIControlValue::eChar: record.SetChar(entry.character); break;
    case CKORIControlValue::ePicture: {
      // Checked here, in the user's words: a generator would name only its own copy.
      const auto copy = m_pictures.Copy(entry.picture);
      std::string problem;
      if (!copy) problem = "cannot copy picture \"" + entry.picture.string() + "\"";
      else if (!CFolio::IsPicture(SystemUtils::FromFsPath(*copy)))
        problem = NoPicture(entry.picture);
      if (problem.empty()) {
        record.SetFilename(SystemUtils::FromFsPath(*copy));
        break;
      }
      record.SetType(CKORIControlValue::eMessage);
      record.SetMessage(CStr::FromUtf8("[" + problem + "]"));
      Note(m_problems, problem);
      break;
    }
    default: break;
  }
}

void CValueAnswerer::Note(std::vector<std::string>& list, const std::string& text) {
  if (std::find(list.begin(), list.end(), text) == list.end()) list.push_back(text);
}

}  // namespace FolioCli
