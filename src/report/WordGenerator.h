#pragma once
#include "report/ReportRun.h"

// Fills a Word template into run.output, section by section.
ReportOutcome GenerateWord(SReportRun& run);
