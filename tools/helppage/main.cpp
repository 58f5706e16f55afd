// Builds the installed help page from the README:
//   tintwell-helppage README.md OUT.html
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include "tools/helppage/HelpPageU.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: tintwell-helppage README.md OUT.html\n";
    return 2;
  }
  try {
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) throw std::runtime_error(std::string("cannot read ") + argv[1]);
    std::ostringstream text;
    text << in.rdbuf();
    const std::string page = tw::HelpPageHtml(text.str(), "Tintwell: help for grown-ups");
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << page;
    out.close();
    if (!out) throw std::runtime_error(std::string("cannot write ") + argv[2]);
  } catch (const std::exception& e) {
    std::cerr << "tintwell-helppage: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
