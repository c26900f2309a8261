#pragma once

#include "writers/program_layout.h"

#include <optional>

// The command line. With no arguments, or a file to open, the window starts and this gives
// nothing; a command (create, areas) or an option (--help, --version) runs here, with no
// window and no display, and gives the exit code: 0 done, 1 a run-time error or bad input,
// 2 a usage error. Without --output-folder, create writes where the window of a copy of
// this `layout` would.
std::optional<int> runCommandLine(int &argc, char **argv, ProgramLayout layout);
