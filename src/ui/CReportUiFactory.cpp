#include "CReportUiFactory.h"

#include "folio/ui/CConfirmOverwriteDlg.h"
#include "folio/ui/CFolioDlg.h"
#include "folio/ui/CProgressDlg.h"

std::unique_ptr<IConfirmOverwrite> CReportUiFactory::MakeConfirmOverwrite() {
  return std::make_unique<CConfirmOverwriteDlg>();
}

std::unique_ptr<IProgressView> CReportUiFactory::MakeProgressView() {
  return std::make_unique<CProgressDlg>();
}

std::unique_ptr<IReportDialog> CReportUiFactory::MakeReportDialog(CFolio& owner) {
  return std::make_unique<CFolioDlg>(nullptr, &owner);
}
