#pragma once
#include <filesystem>
#include <ostream>

namespace FolioCli {

// The bundled examples: $FOLIO_EXAMPLES, else the source tree's examples folder, else
// "../share/folio/examples" beside the executable. Empty when none exists.
std::filesystem::path FindExamples(const std::filesystem::path& executable);

// Renders every bundled example into outFolder, replacing the reports of an earlier demo.
int RunDemo(const std::filesystem::path& examples, const std::filesystem::path& outFolder, std::ostream& out,
            std::ostream& err);

}  // namespace FolioCli
