#pragma once
// What one generator run is given and what it gives back. The reporter's settings and
// working state travel as arguments; a failure travels back as a value to the one
// place that tells the user (TellUser).
#include <functional>
#include <optional>
#include <vector>

#include "folio/model/CKORIControlValue.h"
#include "folio/model/SReportConversionResult.h"
#include "folio/report/CFolio.h"
#include "folio/util/CStr.h"

// A failure the user is told about: the text shown (empty: nothing to show) and the
// message box style.
struct SReportFailure {
  CStr message;
  unsigned style = 0;  // eMbOk
};

// A run's result: nothing when it succeeded.
using ReportOutcome = std::optional<SReportFailure>;

inline ReportOutcome Succeeded() { return std::nullopt; }
inline ReportOutcome Failed(CStr message = CStr()) { return SReportFailure{std::move(message), 0}; }

// Shows a failure's text, if it has one. Every operation that tells the user of a
// failed run does it through here.
void TellUser(const ReportOutcome& outcome);

// The reporter's side of one generator run.
struct SReportRun {
  CFolio& folio;  // progress dialog
  const CStr& templatePath;
  const CStr& reportPath;
  const CStr& output;
  EReportOptions option;
  ELivesheetProcessingType& pass;  // a whole-file run moves on to the summary
  bool wholeFile;
  const std::function<void()>& getValue;
  CKORIControlValue& record;  // what the host's callback reads and completes
  std::vector<SReportConversionResult>& results;
  SSectionCursor& cursor;
  // Whether an HTML pass appending to an existing report writes the report itself
  // rather than run.output (Activate's runs; hosts calling a generator get run.output).
  bool appendInPlace = false;
};

// The percentage of element k of n that both generators show: k * 70 / n + 20, in
// whole numbers.
inline int ElementPercent(long k, long n) { return n > 0 ? static_cast<int>((k * 70) / n + 20) : 20; }
