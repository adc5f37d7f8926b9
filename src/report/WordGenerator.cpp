#include "report/WordGenerator.h"

#include "folio/platform/ui/IWindowing.h"
#include "folio/report/CFolio.h"
#include "folio/util/EBase.h"
#include "report/TemplateReaders.h"

// Word templates need the Word report generator, which this build does not have yet.
ReportOutcome GenerateWord(SReportRun& run) {
  run.folio.DestroyProgressDialog();
  return SReportFailure{u"Word templates cannot be turned into reports by this version of Folio: \"" +
                            run.templatePath + u"\"",
                        eMbOk | eMbIconError};
}

CTemplateModel ReadWordTemplateModel(const CStr& path) {
  throw EBase(u"ReadWordTemplateModel", u"Word templates cannot be read by this version of Folio: \"" + path + u"\"");
}

bool CFolio::ActivateWord(CStr const& output) {
  SReportRun run = MakeRun(output);
  const ReportOutcome outcome = GenerateWord(run);
  TellUser(outcome);
  return !outcome;
}
