// How an undo step keeps rows of pixels as runs of equal pixels. The rows an
// action changes mostly held flat colour cut by a few lines before, a few
// runs each, so keeping them this way reads the layer and writes little; the
// caller keeps a row of many colours (a photograph laid over the picture) as
// its pixels instead, which costs no more than a plain copy.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tw {

// A run takes this many bytes: its length in pixels, then the pixel's bytes.
constexpr size_t RunBytes = 8;
// StoreRuns' answer when a row needs more runs than there is room for.
constexpr size_t NoRuns = SIZE_MAX;

// Keeps the n pixels (n >= 1) of bytesPerPixel (1 or 3) bytes each at src as
// runs in runs, which has room for maxRuns of them. Returns the number of
// runs, or NoRuns when more would be needed.
size_t StoreRuns(const uint8_t* src, size_t n, int bytesPerPixel, uint8_t* runs, size_t maxRuns);

// Writes the n pixels that runs (as StoreRuns wrote them, several rows one
// after another) begin with to dst. Returns where the runs after them begin.
const uint8_t* LoadRuns(uint8_t* dst, size_t n, int bytesPerPixel, const uint8_t* runs);

}  // namespace tw
