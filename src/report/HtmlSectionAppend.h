#pragma once
// Putting one pass's section into an existing HTML report at its body end. A report
// that this process wrote last and that nobody changed since is not read again: its
// end is rewritten from the body end on through the report's growing file, at a cost
// that does not grow with the report. Any other report is read and written whole,
// through the safe writer.
#include <string_view>

#include "folio/util/CStr.h"
#include "report/ReportRun.h"
#include "report/UnicodeText.h"

// Where a section goes: after the report's text before its body end, which is read
// only when this process does not know the report as it is on disk.
struct SAppendTarget {
  bool known = false;  // the report is as this process left it: head stays unread
  CStr head;           // otherwise the report before its body end
  CStr tail;           // the report from its body end on
  bool endStandsAlone = false;  // what FindHtmlBody said of the body end read now
};

// Finds where a pass's section goes; a failure says why the report cannot take it.
ReportOutcome OpenAppendTarget(const CStr& report, SAppendTarget& target);
// Makes the report its text before the body end followed by the section kept in memory
// and, when keepTail, the old tail. A failure leaves the report as it was.
ReportOutcome FinishAppend(const CStr& report, SAppendTarget& target, CBasic_OFStream& section, bool keepTail);
// Forgets what is known of report (a pass replaced it), or of every report; their twins go.
void ForgetAppendedReport(const CStr& report);
void ForgetAppendedReports();
