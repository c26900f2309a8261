#pragma once

#include <optional>

// The command line. With no arguments, or a file to open, the window starts and this gives
// nothing; a command (create, areas) or an option (--help, --version) runs here, with no
// window and no display, and gives the exit code: 0 done, 1 a run-time error or bad input,
// 2 a usage error.
std::optional<int> runCommandLine(int &argc, char **argv);
