#pragma once
#include "report/ReportRun.h"

// Whether the pass has work in the cached template: the body always, the preface and
// the summary only when the template has their tag.
bool HtmlPassHasWork(const CStr& templatePath, ELivesheetProcessingType pass);
// Whether an HTML pass with option appends to the report: it is there and not empty.
// In an Activate run such a pass writes the report itself and leaves the output unused.
bool HtmlPassAppends(EReportOptions option, const CStr& reportPath);
// Reads the template into the cache when needed and runs the pass.
ReportOutcome GenerateHtml(SReportRun& run);
// One pass over the cached template into run.output.
ReportOutcome RunHtmlPass(SReportRun& run);
