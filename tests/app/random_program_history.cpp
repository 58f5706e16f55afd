#include "app/random_program_history.h"

#include <cstdio>

#include "painter/PainterU.h"

namespace tw::test {

void TUndoReference::Push(const TLayers& Before) {
  if (FMaxHistory <= 0) return;
  FSteps.push_back(Before);
  if (int(FSteps.size()) > FMaxHistory) FSteps.pop_front();
}

std::string TUndoReference::Undone(const TPainterModel& Painter) {
  if (FSteps.empty()) return "history: an undo played with no step to undo";
  const TLayers expected = std::move(FSteps.back());
  FSteps.pop_back();
  const TRaster24& color = Painter.ColorLayer();
  const TRaster1& outline = Painter.OutlineLayer();
  if (color.Width() != expected.Color.Width() || color.Height() != expected.Color.Height())
    return "history: the undo brought back a picture of another size";
  for (int y = 0; y < color.Height(); ++y)
    for (int x = 0; x < color.Width(); ++x) {
      char text[160];
      if (color.Pixel(x, y) != expected.Color.Pixel(x, y)) {
        std::snprintf(text, sizeof text,
                      "history: after the undo (%d,%d) is $%06X, before the action undone "
                      "it was $%06X",
                      x, y, unsigned(color.Pixel(x, y)), unsigned(expected.Color.Pixel(x, y)));
        return text;
      }
      if (outline.IsWhite(x, y) != expected.Outline.IsWhite(x, y)) {
        std::snprintf(text, sizeof text,
                      "history: after the undo the outline at (%d,%d) is not what it was "
                      "before the action undone",
                      x, y);
        return text;
      }
    }
  return "";
}

std::string TUndoReference::CheckDepth(const TPainterModel& Painter) const {
  if (Painter.HistorySteps() == int(FSteps.size())) return "";
  return "history: the painter holds " + std::to_string(Painter.HistorySteps()) +
         " undo steps, the actions since the picture opened left " +
         std::to_string(FSteps.size());
}

}  // namespace tw::test
