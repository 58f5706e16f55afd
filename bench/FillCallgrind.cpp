// One large fill under callgrind: builds the line art and a paint model with
// instrumentation off, then switches it on around a single fill of the
// background region, so the instruction count is the fill's alone. Prints
// the region's pixel count for the instructions-per-pixel figure.
//
//   valgrind --tool=callgrind --instr-atstart=no tintwell_fill_callgrind [MODE [WIDTH]]
// MODE: replace, and, or (default replace). WIDTH: 600 or more (default
// 4800); the height is three quarters of it.
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "bench/LineArtU.h"
#include "painter/PainterU.h"

namespace {

int Run(const char* modeName, int width) {
  using namespace tw;
  TPaintMixMode mode = mmOver;
  if (std::strcmp(modeName, "and") == 0)
    mode = mmDarken;
  else if (std::strcmp(modeName, "or") == 0)
    mode = mmLighten;
  else if (std::strcmp(modeName, "replace") != 0) {
    std::fprintf(stderr, "unknown mode %s (replace, and, or)\n", modeName);
    return 2;
  }
  const bench::TLineArt art = bench::MakeLineArt(width, width * 3 / 4);
  const int pixels = bench::CountRegion(art.Picture, art.BackgroundSeed);
  TPainterModel model;
  model.MaxHistory = 0;
  model.LoadPicture(art.Picture);
  model.SetPaintMode(pmFill);
  // One replacing fill beforehand, so the measured one paints over paint as
  // most fills do, and the region's new colour differs from every other
  // region's (OR on white would leave it white).
  model.SetPaintColor(0x3080F0);
  model.ApplyToolAt(art.BackgroundSeed);
  model.SetMixMode(mode);
  model.SetPaintColor(0x60A0C0);

  CALLGRIND_START_INSTRUMENTATION;
  model.ApplyToolAt(art.BackgroundSeed);
  CALLGRIND_STOP_INSTRUMENTATION;

  // The fill must have reached exactly the region: every pixel of it, and
  // nothing else, now has the region's new colour.
  const TRaster24& layer = model.ColorLayer();
  const TColor filled = layer.Pixel(art.BackgroundSeed.x, art.BackgroundSeed.y);
  int count = 0;
  for (int y = 0; y < layer.Height(); ++y)
    for (int x = 0; x < layer.Width(); ++x) count += layer.Pixel(x, y) == filled;
  if (count != pixels) {
    std::fprintf(stderr, "the fill coloured %d pixels, the region has %d\n", count, pixels);
    return 1;
  }
  std::printf("region_pixels %d\n", pixels);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const int width = argc > 2 ? std::atoi(argv[2]) : 4800;
    return Run(argc > 1 ? argv[1] : "replace", width);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
