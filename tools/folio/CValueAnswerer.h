#pragma once
#include <optional>
#include <string>
#include <vector>

#include "CPictureCopies.h"
#include "ComputedValues.h"
#include "SValueEntry.h"
#include "ValueMatching.h"
#include "folio/report/CFolio.h"

namespace FolioCli {

// The GetValue callback of the command-line host: answers each placeholder from the
// values file, then from what the host computes, and otherwise with a message naming it.
// The values file's pictures that are no picture, each once, with the problem's text.
std::vector<std::string> PicturesThatAreNone(const SValuesFile& values);

class CValueAnswerer {
public:
  // values must outlive the answerer: it is indexed, not copied.
  CValueAnswerer(const SValuesFile& values, SRunFacts facts, CPictureCopies& pictures)
      : m_values(values), m_index(values.values), m_facts(std::move(facts)), m_pictures(pictures) {}

  // The pass the next answers belong to; a body pass names its measurement (from 0),
  // whose entries are read and indexed here, one measurement at a time.
  void BeginPass(ELivesheetProcessingType pass, std::size_t measurement = 0);
  // Reads the description from record and writes the value into it.
  void Answer(CKORIControlValue& record);

  // Placeholders that got no value, each described once, in the order met.
  const std::vector<std::string>& Missing() const { return m_missing; }
  // Pictures that could not be copied.
  const std::vector<std::string>& Problems() const { return m_problems; }

private:
  void ApplyEntry(const SValueEntry& entry, CKORIControlValue& record);
  void Note(std::vector<std::string>& list, const std::string& text);

  const SValuesFile& m_values;
  const CValueIndex m_index;
  ValueList m_measurement;  // the body pass's measurement
  std::optional<CValueIndex> m_measurementIndex;
  SRunFacts m_facts;
  CPictureCopies& m_pictures;
  std::vector<std::string> m_missing;
  std::vector<std::string> m_problems;
};

}  // namespace FolioCli
