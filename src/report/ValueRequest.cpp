#include "report/ValueRequest.h"

#include "folio/platform/ui/IWindowing.h"
#include "folio/util/CDiagnostics.h"
#include "report/ReportRun.h"

void PutDescription(const CKORIControlValue& description, CKORIControlValue& record) {
  CKORIControlValue d = description;  // the record's text getters are not const
  record.SetVersion(d.GetVersion(nullptr, nullptr));
  record.SetBody(d.GetBody());
  record.SetGroup(d.GetGroup());
  record.SetField(d.GetField());
  record.SetParameter1(d.GetParameter1());
  record.SetParameter2(d.GetParameter2());
  record.SetStatistics1(d.GetStatistics1());
  record.SetStatistics2(d.GetStatistics2());
  record.SetHeight(d.GetHeight());
  record.SetWidth(d.GetWidth());
  record.SetResolutionFactor(d.GetResolutionFactor());
  record.SetScaleFont(d.GetScaleFont() != 0);
  record.SetUnitOptions(d.GetUnitOptions());
  record.SetPictureOptions(d.GetPictureOptions());
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
