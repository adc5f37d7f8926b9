#pragma once

namespace FolioCli {

enum EExitCode : int {
  eExitOk = 0,
  eExitReportFailed = 1,  // Folio could not produce or change the report
  eExitUsage = 2,         // the command line or its input files are wrong
};

}  // namespace FolioCli
