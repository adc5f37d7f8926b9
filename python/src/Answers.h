#pragma once
#include <optional>
#include <pybind11/pybind11.h>

#include "CPictureCopies.h"
#include "CStagedRender.h"
#include "CValueAnswerer.h"
#include "SValueEntry.h"

namespace FolioPython {

// Answers from a values file (a path or a mapping of the same shape), exactly as the
// command line answers them. Touches no Python object, so it runs without the GIL.
class CFileAnswers : public IAnswers {
public:
  CFileAnswers(FolioCli::SValuesFile values, const std::filesystem::path& report);

  std::size_t BodyPassCount() const override { return m_values.BodyPassCount(); }
  void BeginPass(ELivesheetProcessingType pass, std::size_t measurement) override {
    m_answerer.BeginPass(pass, measurement);
  }
  void Answer(CKORIControlValue& record) override { m_answerer.Answer(record); }
  bool Stopped() const override { return false; }
  std::vector<std::string> Missing() const override { return m_answerer.Missing(); }
  std::vector<std::string> Problems() const override { return m_answerer.Problems(); }

private:
  FolioCli::SValuesFile m_values;
  FolioCli::CPictureCopies m_pictures;
  FolioCli::CValueAnswerer m_answerer;
};

// Answers from a Python callable that receives a Placeholder. Takes the GIL for each
// call; the first exception it raises stops the render and is kept for the caller.
class CCallableAnswers : public IAnswers {
public:
  CCallableAnswers(pybind11::function callable, std::size_t measurements, const std::filesystem::path& report);
  ~CCallableAnswers() override;

  std::size_t BodyPassCount() const override { return m_measurements; }
  void BeginPass(ELivesheetProcessingType pass, std::size_t measurement) override;
  void Answer(CKORIControlValue& record) override;
  bool Stopped() const override { return m_error.has_value(); }
  std::vector<std::string> Missing() const override { return m_missing; }
  std::vector<std::string> Problems() const override { return {}; }

  // Raises the callable's exception again, if it raised one (call with the GIL held).
  void RethrowError();

private:
  bool Apply(const pybind11::handle& result, CKORIControlValue& record);
  bool ApplyMapping(const pybind11::handle& mapping, CKORIControlValue& record);

  pybind11::function m_callable;
  std::size_t m_measurements;
  FolioCli::SRunFacts m_facts;
  FolioCli::CPictureCopies m_pictures;
  ELivesheetProcessingType m_pass = ePreface;
  std::size_t m_measurement = 0;
  std::vector<std::string> m_missing;
  std::optional<pybind11::error_already_set> m_error;
};

}  // namespace FolioPython
