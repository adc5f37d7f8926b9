#pragma once
#include <ostream>

namespace FolioCli {

// The whole command line: parses argv, runs the command, returns the exit status.
int RunFolio(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace FolioCli
