// libFuzzer entry point over the image readers: any input must either decode
// or fail with EError; a crash, a sanitizer report or an escaping exception
// of another kind is a bug.
#include <cstddef>
#include <cstdint>

#include "base/ErrorsU.h"
#include "painter/image/ImageFileU.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const tw::TRaster24 raster = tw::DecodeImage(data, size);
    // Reading every row makes a raster of the wrong size show up as a
    // sanitizer report here rather than later in the program.
    volatile uint8_t sum = 0;
    for (int y = 0; y < raster.Height(); ++y) sum = sum + raster.Row(y)[3 * raster.Width() - 1];
  } catch (const tw::EError&) {
  }
  return 0;
}
