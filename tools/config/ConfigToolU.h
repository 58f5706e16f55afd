// The config tool's entry point: reads the command line, opens and seeds the
// settings store the way the program does at start, runs the command and
// turns every failure into a message on the error stream and an exit status.
#pragma once

#include <string>
#include <vector>

#include "tools/config/ConsoleU.h"

namespace tw {

constexpr const char* ConfigToolName = "tintwell-config";

// args are the arguments after the program name. Returns ExitOk,
// ExitFailure (the store, a file or a picture could not be used, or
// the parent said no) or ExitUsage (the command line is wrong). Leaves
// the warning and translation hooks as it found them.
int RunConfigTool(const std::vector<std::string>& args, TConsole& console);

}  // namespace tw
