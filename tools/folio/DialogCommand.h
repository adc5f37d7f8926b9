#pragma once
#include <filesystem>
#include <ostream>

namespace FolioCli {

struct SDialogRequest {
  std::filesystem::path templatePath;  // empty: the template chosen last time
  std::filesystem::path valuesPath;    // empty: every placeholder gets a message naming it
};

// Opens the report dialog for a person at a desktop and returns when it is closed.
// The dialog's Create Report answers placeholders from the values file. Returns an
// EExitCode; fails when there is no desktop to show the dialog on.
int RunDialog(const SDialogRequest& request, std::ostream& out, std::ostream& err);

}  // namespace FolioCli
