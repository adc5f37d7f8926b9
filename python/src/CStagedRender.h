#pragma once
#include <cstddef>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "folio/report/CFolio.h"

namespace FolioPython {

// Where a render's values come from: a values file, or a Python callable.
class IAnswers {
public:
  virtual ~IAnswers() = default;
  virtual std::size_t BodyPassCount() const = 0;
  // The pass the next answers belong to; a body pass names its measurement (from 0).
  virtual void BeginPass(ELivesheetProcessingType pass, std::size_t measurement) = 0;
  virtual void Answer(CKORIControlValue& record) = 0;
  // True once the answers cannot go on (the callable raised): the render is abandoned.
  virtual bool Stopped() const = 0;
  // Placeholders without a value, and pictures that could not be used, each once.
  virtual std::vector<std::string> Missing() const = 0;
  virtual std::vector<std::string> Problems() const = 0;
};

// A render that cannot be done; kind picks the Python exception.
class ERender : public std::runtime_error {
public:
  enum class EKind { eFailed, eReportExists, eTemplateMissing, eIncomplete };
  ERender(EKind kind, const std::string& text) : std::runtime_error(text), m_kind(kind) {}
  EKind Kind() const { return m_kind; }

private:
  EKind m_kind;
};

struct SRenderRequest {
  std::filesystem::path templatePath;
  std::filesystem::path reportPath;
  std::optional<EReportOptions> option;  // none: the report must not exist yet
  bool strict = false;                    // a placeholder without a value fails the render
};

// Preface, one body pass per measurement, summary: all into a private folder beside the
// report, which takes the finished report's place only when every pass succeeded. A
// failure (or a callable that raised) leaves the user's report as it was. Returns the
// report's path; throws ERender.
std::filesystem::path RenderStaged(const SRenderRequest& request, IAnswers& answers);

}  // namespace FolioPython
