// Resident memory of the undo history: opens a picture cut into eighths (as
// the program opens one, history cleared), reads the process's resident set,
// fills the eight cells and four of them again with MaxHistory 10, and reads
// it once more. Prints both, and what one picture's layers (colour and
// outline) take, for the growth in pictures' worth. A process of its own per
// size, so nothing freed by an earlier measurement hides the growth.
//
//   tintwell_history_memory WIDTH HEIGHT
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>

#include "bench/LineArtU.h"
#include "painter/PainterU.h"

namespace {

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}

int Run(int width, int height) {
  using namespace tw;
  const bench::TEighths e = bench::MakeEighths(width, height);
  TPainterModel model;
  model.MaxHistory = 10;
  model.SetPaintMode(pmFill);
  model.LoadPicture(e.Picture);
  model.ClearHistory();
  const long before = ResidentKiB();
  for (int fill = 0; fill < 12; ++fill) {
    model.SetPaintColor(fill < 8 ? 0x3080F0 : 0x60A0C0);
    model.ApplyToolAt(e.Seeds[fill % 8]);
  }
  const long after = ResidentKiB();
  const size_t picture = model.ColorLayer().ByteSize() + model.OutlineLayer().ByteSize();
  std::printf("rss_before_kib %ld\nrss_after_kib %ld\npicture_kib %zu\nundo_steps %d\n", before,
              after, picture / 1024, model.HistorySteps());
  return before < 0 || after < 0 ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s WIDTH HEIGHT\n", argv[0]);
    return 2;
  }
  try {
    return Run(std::atoi(argv[1]), std::atoi(argv[2]));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
}
