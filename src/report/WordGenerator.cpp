#include "folio/platform/ui/IWindowing.h"
#include "folio/report/CFolio.h"

// Word templates need the Word report generator, which this build does not have yet.
bool CFolio::ActivateWord(CStr const& output) {
  (void)output;
  ShowMessageBox(u"Word templates cannot be turned into reports by this version of Folio: \"" +
                     m_template + u"\"",
                 eMbOk | eMbIconError);
  DestroyProgressDialog();
  return false;
}
