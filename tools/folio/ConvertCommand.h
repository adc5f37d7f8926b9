#pragma once
#include <filesystem>
#include <ostream>
#include <vector>

namespace FolioCli {

struct SConvertRequest {
  std::vector<std::filesystem::path> reports;
  int timeoutSeconds = 60;  // per report
  unsigned workers = 0;     // 0: one per core
};

// Writes a PDF beside each report (HTML through Chromium, Word through LibreOffice) and
// prints each PDF's path; returns an EExitCode (eExitReportFailed when any failed).
int RunConvert(const SConvertRequest& request, std::ostream& out, std::ostream& err);

}  // namespace FolioCli
