// TUnkeptColorings: the colourings that could not be written (a full disk,
// a colourings folder that cannot be written), kept in memory for the rest
// of the run so that the child can leave a picture without losing it. A
// picture opened again gets its colouring from here; each page turn tries
// the writes again, and the close names the ones that never went through.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/ColoringStoreU.h"
#include "painter/RasterU.h"

namespace tw {

class TPainterModel;

class TUnkeptColorings {
 public:
  // Keeps the painter's colouring of Entry (shown to the user as Title),
  // replacing one kept before; the outline layer too when OutlineChanged.
  void Keep(const std::string& Entry, const std::string& Title, const TColoringFiles& Files,
            const TPainterModel& Painter, bool OutlineChanged);
  // Lays the kept colouring of Entry over the freshly opened picture in
  // Painter and forgets it (the painter holds it now). Returns whether
  // there was one that fits the picture.
  bool Restore(const std::string& Entry, TPainterModel& Painter);
  // Tries to write every kept colouring again; those written are
  // forgotten. Never throws.
  void Retry();
  // The titles of the colourings still kept, in entry order.
  std::vector<std::string> Titles() const;
  void Clear() { FKept.clear(); }

 private:
  struct TKept {
    std::string Title;
    TColoringFiles Files;
    TBitmap Color;
    std::optional<TBitmap> Outline;
  };
  std::map<std::string, TKept> FKept;
};

}  // namespace tw
