// The picture chooser's thumbnails: a catalog picture with its kept
// colouring (read back exactly as opening the picture does), scaled to fit
// a square, and the kept thumbnail file that saves making it again. Runs on
// any thread; touches no widget and shows no message.
#pragma once

#include <QImage>
#include <string>

#include "app/ColoringStoreU.h"
#include "painter/RasterU.h"

namespace tw {

// What one thumbnail is made from.
struct TThumbnailJob {
  std::string PictureFile;
  TColoringFiles Files;
  TStayColored StayColored = scNever;
  // Where the thumbnail is kept; empty: it is not kept.
  std::string CacheFile;
  // The long side, in pixels.
  int Size = 0;
};

// Layer scaled smoothly to fit Size x Size, its shape kept; at least one
// pixel on a side.
QImage ScaledThumbnail(const TRaster24& Layer, int Size);

// The thumbnail of Job: the kept file when its stamp matches the files now,
// otherwise made from the picture and its kept colouring and kept (a
// thumbnail folder that cannot be written only means it is made again next
// time). A null image when the picture cannot be read or decoded.
QImage LoadThumbnail(const TThumbnailJob& Job);

}  // namespace tw
