// tintwell-picture: the command-line tool authors use to make, inspect and
// unpack picture files.
#include <iostream>
#include <string>
#include <vector>

#include "tools/picture/PictureToolU.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  return tw::RunPictureTool(args, std::cout, std::cerr);
}
