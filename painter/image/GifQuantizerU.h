// The palette of a GIF written from a 24-bit layer, and the mapping of each
// pixel to it. Internal to painter/image.
//
// A layer with at most 256 colours keeps them all and maps exactly. A layer
// with more is reduced by median cut on a colour histogram, refined by one
// nearest-colour pass, without dithering so flat regions stay flat. Pure
// black and pure white keep entries of their own and nothing else maps to
// them: a new black pixel would become a border for the fill, a new white
// one a paintable hole.
#pragma once

#include <cstdint>
#include <vector>

#include "painter/RasterU.h"

namespace tw {

class TGifPalette {
 public:
  explicit TGifPalette(const TRaster24& raster);

  // 2 to 256 entries, a power of two as a GIF colour table must be.
  const std::vector<TColor>& Colors() const { return FColors; }
  // True when every pixel maps to its own colour.
  bool IsExact() const { return FExact; }

  // Palette indices of width pixels of RGB bytes.
  void MapRow(const uint8_t* rgb, int width, uint8_t* indices) const;

 private:
  // Open addressing over 24-bit colours, four times the 256 it may hold.
  static constexpr uint32_t HashSize = 1024;
  static constexpr uint32_t EmptyKey = 0xFFFFFFFF;

  static uint32_t HashSlot(uint32_t colour) { return (colour * 2654435761u) >> 22; }
  // The index of colour, adding it when new; false when the table is full.
  bool FindOrAdd(uint32_t colour, uint8_t& index);
  uint8_t FindExact(uint32_t colour) const;

  bool CollectExactColours(const TRaster24& raster);
  void BuildReducedPalette(const TRaster24& raster);
  void PadToPowerOfTwo();

  bool FExact = false;
  std::vector<TColor> FColors;
  std::vector<uint32_t> FHashKeys;
  std::vector<uint8_t> FHashValues;
  // Reduced palette: the palette index of each histogram cell.
  std::vector<uint8_t> FCellIndex;
};

}  // namespace tw
