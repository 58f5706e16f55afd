// The picture tool's entry point: picks the command, shows help, installs
// the hooks that make the picture loader report on stderr in plain English,
// and turns every failure into a message and an exit status.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tw {

constexpr const char* PictureToolName = "tintwell-picture";

// args are the arguments after the program name. Returns ExitOk, ExitFailure
// (a file could not be read, written or decoded) or ExitUsage (the command
// line is wrong). Leaves the warning and translation hooks as it found them.
int RunPictureTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tw
