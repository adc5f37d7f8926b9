#pragma once
#include <filesystem>
#include <vector>
#include <optional>
#include <ostream>
#include <string>

#include "folio/report/CFolio.h"

namespace FolioCli {

struct SRenderRequest {
  std::filesystem::path templatePath;
  std::filesystem::path valuesPath;
  std::filesystem::path reportPath;     // empty: DefaultReportPath
  std::optional<EReportOptions> option;  // none: ask on a terminal, refuse otherwise
  bool strict = false;                   // a placeholder without a value fails the run
  std::vector<std::filesystem::path> pictureFolders;  // beside the values file's own folder
  bool interactive = false;              // questions may be asked
};

// "auto", "overwrite", "replace" and "append" as report options; nullopt otherwise.
std::optional<EReportOptions> ParseReportOption(const std::string& name);
// "<template name>-report<template extension>" in the current folder.
std::filesystem::path DefaultReportPath(const std::filesystem::path& templatePath);

// Preface pass with the chosen option, one body pass per measurement and a summary
// pass, both appending. Prints the report's path on out; returns an EExitCode.
int RunRender(const SRenderRequest& request, std::ostream& out, std::ostream& err);

}  // namespace FolioCli
