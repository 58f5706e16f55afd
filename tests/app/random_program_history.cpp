#include "app/random_program_history.h"

#include <cstdio>

#include "painter/PainterU.h"

namespace tw::test {

namespace {

// Whether the painter holds exactly the expected layers; the problem
// found, or an empty text.
std::string Compare(const TPainterModel& Painter, const TLayers& expected, const char* Action) {
  const TRaster24& color = Painter.ColorLayer();
  const TRaster1& outline = Painter.OutlineLayer();
  if (color.Width() != expected.Color.Width() || color.Height() != expected.Color.Height())
    return std::string("history: the ") + Action + " brought back a picture of another size";
  for (int y = 0; y < color.Height(); ++y)
    for (int x = 0; x < color.Width(); ++x) {
      char text[160];
      if (color.Pixel(x, y) != expected.Color.Pixel(x, y)) {
        std::snprintf(text, sizeof text, "history: after the %s (%d,%d) is $%06X, expected $%06X",
                      Action, x, y, unsigned(color.Pixel(x, y)),
                      unsigned(expected.Color.Pixel(x, y)));
        return text;
      }
      if (outline.IsWhite(x, y) != expected.Outline.IsWhite(x, y)) {
        std::snprintf(text, sizeof text,
                      "history: after the %s the outline at (%d,%d) is not what it was", Action,
                      x, y);
        return text;
      }
    }
  return "";
}

}  // namespace

void TUndoReference::Keep(std::deque<TLayers>& Steps, const TLayers& Layers) const {
  if (FMaxHistory <= 0) return;
  Steps.push_back(Layers);
  if (int(Steps.size()) > FMaxHistory) Steps.pop_front();
}

void TUndoReference::Push(const TLayers& Before) {
  FRedo.clear();
  Keep(FSteps, Before);
}

std::string TUndoReference::Undone(const TPainterModel& Painter, const TLayers& Before) {
  if (FSteps.empty()) return "history: an undo played with no step to undo";
  const TLayers expected = std::move(FSteps.back());
  FSteps.pop_back();
  Keep(FRedo, Before);
  return Compare(Painter, expected, "undo");
}

std::string TUndoReference::Redone(const TPainterModel& Painter, const TLayers& Before) {
  if (FRedo.empty()) return "history: a redo played with nothing to redo";
  const TLayers expected = std::move(FRedo.back());
  FRedo.pop_back();
  Keep(FSteps, Before);
  return Compare(Painter, expected, "redo");
}

std::string TUndoReference::CheckDepth(const TPainterModel& Painter) const {
  if (Painter.HistorySteps() != int(FSteps.size()))
    return "history: the painter holds " + std::to_string(Painter.HistorySteps()) +
           " undo steps, the actions since the picture opened left " +
           std::to_string(FSteps.size());
  if (Painter.RedoSteps() != int(FRedo.size()))
    return "history: the painter holds " + std::to_string(Painter.RedoSteps()) +
           " redo steps, the reference " + std::to_string(FRedo.size());
  return "";
}

}  // namespace tw::test
