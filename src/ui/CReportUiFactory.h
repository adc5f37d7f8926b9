#pragma once
#include "folio/report/IReportUi.h"

// Makes the reporter's overwrite question and progress window from the dialogs of
// this layer; they show on whatever windowing backend is current when they run.
class CReportUiFactory : public IReportUiFactory {
public:
  std::unique_ptr<IConfirmOverwrite> MakeConfirmOverwrite() override;
  std::unique_ptr<IProgressView> MakeProgressView() override;
  std::unique_ptr<IReportDialog> MakeReportDialog(CFolio& owner) override;
};
