#include "report/ValueRequest.h"

#include "folio/platform/ui/IWindowing.h"
#include "folio/util/CDiagnostics.h"
#include "report/ReportRun.h"

void PutDescription(const CKORIControlValue& description, CKORIControlValue& record) {
  // Field by field into the record's own strings: no copy of the whole description.
  record.SetDescription(description);
}

void AskHost(const std::function<void()>& getValue) { getValue(); }

void RequestValue(const std::function<void()>& getValue, CKORIControlValue& record, const char16_t* source,
                  const std::function<void()>& between) {
  G_Diagnostics.WriteTrace(u"Calculating value\n", source, 3);
  AskHost(getValue);
  if (between) between();
  CheckValue(record, source);
}

void CheckValue(CKORIControlValue& record, const char16_t* source) {
  G_Diagnostics.WriteTrace(u"Checking consistency of calculated value\n", source, 3);
  record.CheckConsistency();
}

void TellUser(const ReportOutcome& outcome) {
  if (outcome && !outcome->message.IsEmpty()) ShowMessageBox(outcome->message, outcome->style);
}
