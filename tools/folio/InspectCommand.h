#pragma once
#include <filesystem>
#include <ostream>

namespace FolioCli {

// Lists the placeholders of a template with their section, description and whether
// legacy names were translated; with a values file, also where each value comes from.
int RunInspect(const std::filesystem::path& templatePath, const std::filesystem::path& valuesPath,
               std::ostream& out, std::ostream& err);

}  // namespace FolioCli
