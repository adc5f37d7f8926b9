#include "folio/ui/FolioDll.h"

#include "CReportUiFactory.h"
#include "folio/report/IReportUi.h"

extern "C" void FolioDll_NewDynLinkLibrary() {
  if (!GetReportUiFactory()) SetReportUiFactory(std::make_shared<CReportUiFactory>());
}

namespace {

// Installs the dialogs when the library is loaded, before any host code runs.
struct SLoadRegistration {
  SLoadRegistration() { FolioDll_NewDynLinkLibrary(); }
} g_loadRegistration;

}  // namespace
