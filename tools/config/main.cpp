// tintwell-config: the command-line tool parents use to set the password and
// locks, manage the catalog and look into Tintwell's settings.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "tools/config/ConfigToolU.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  tw::TConsole console{std::cin, std::cout, std::cerr, isatty(STDIN_FILENO) == 1};
  return tw::RunConfigTool(args, console);
}
