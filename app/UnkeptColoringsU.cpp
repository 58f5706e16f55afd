#include "app/UnkeptColoringsU.h"

#include <utility>
#include <variant>

#include "base/ErrorsU.h"
#include "painter/PainterU.h"

namespace tw {

void TUnkeptColorings::Keep(const std::string& Entry, const std::string& Title,
                            const TColoringFiles& Files, const TPainterModel& Painter,
                            bool OutlineChanged) {
  TKept Kept{Title, Files, Painter.CopyLayer(false), std::nullopt};
  if (OutlineChanged) Kept.Outline = Painter.CopyLayer(true);
  FKept.insert_or_assign(Entry, std::move(Kept));
}

bool TUnkeptColorings::Restore(const std::string& Entry, TPainterModel& Painter) {
  const auto It = FKept.find(Entry);
  if (It == FKept.end()) return false;
  const TKept& Kept = It->second;
  const auto Size = [](const TBitmap& Bitmap) {
    return std::visit([](const auto& Raster) { return std::make_pair(Raster.Width(), Raster.Height()); },
                      Bitmap);
  };
  const bool Fits = Painter.HasPicture() &&
                    Size(Kept.Color) == std::make_pair(Painter.UnscaledWidth(), Painter.UnscaledHeight());
  if (Fits) {
    // The outline first: assigning it as a whole rebuilds both layers.
    if (Kept.Outline) Painter.AssignLayer(*Kept.Outline, true);
    Painter.AssignLayer(Kept.Color, false);
  }
  FKept.erase(It);
  return Fits;
}

void TUnkeptColorings::Retry() {
  for (auto It = FKept.begin(); It != FKept.end();) {
    try {
      const TKept& Kept = It->second;
      WriteColoring(Kept.Color, Kept.Outline ? &*Kept.Outline : nullptr, Kept.Files);
      It = FKept.erase(It);
    } catch (const EError&) {
      ++It;
    }
  }
}

std::vector<std::string> TUnkeptColorings::Titles() const {
  std::vector<std::string> Titles;
  for (const auto& [Entry, Kept] : FKept) Titles.push_back(Kept.Title);
  return Titles;
}

}  // namespace tw
