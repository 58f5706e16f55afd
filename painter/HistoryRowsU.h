// How an undo step keeps one row of a saved tile: as runs of equal pixels
// when they take less room than the pixels, else as the pixels themselves.
// The rows an action changes mostly held flat colour and line art before, a
// few runs each, so saving them mostly reads the layer and writes little; a
// row of many colours (a photograph laid over the picture) is copied as it
// is and costs no more than a plain copy.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tw {

// The header of a row kept as its pixels.
constexpr uint32_t RawRow = 0xFFFFFFFF;

// Keeps n pixels (1 <= n <= 256) of bytesPerPixel (1 or 3) bytes each from
// src in slot, which has room for n * bytesPerPixel bytes. Returns the row's
// header: its number of runs, or RawRow.
uint32_t StoreRow(const uint8_t* src, int n, int bytesPerPixel, uint8_t* slot);

// The bytes of slot a row with this header uses.
size_t RowBytes(uint32_t header, int n, int bytesPerPixel);

// Writes the n pixels a row kept by StoreRow holds to dst.
void LoadRow(uint8_t* dst, int n, int bytesPerPixel, uint32_t header, const uint8_t* slot);

}  // namespace tw
