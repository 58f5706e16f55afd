#include "support/PainterSequence.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <limits>
#include <set>
#include <sstream>

#include "base/ErrorsU.h"
#include "painter/image/ImageFileU.h"

namespace tw::test {

uint32_t TByteChoices::Below(uint32_t bound) {
  if (bound <= 1) return 0;
  // As many bytes as the bound needs, so small choices cost one byte.
  uint32_t value = 0;
  for (uint32_t reach = 1; reach < bound && FPos < FSize; reach <<= 8)
    value = (value << 8) | FData[FPos++];
  return value % bound;
}

namespace {

const char* const ModeNames[] = {"fill", "brush", "masked brush", "dropper",
                                 "marker", "eraser", "tap"};
const char* const MixNames[] = {"over", "darken", "lighten"};
const char* const SaveExtensions[] = {".bmp", ".gif", ".jpg", ".png"};
// Scales the main window never sets, among the usual ones.
const double Scales[] = {1.0, 0.5, 2.0, 1.005, 3.7, 0.0, -1.0, 1e12,
                         std::numeric_limits<double>::quiet_NaN()};

std::string PointText(const TPainterAction& a) {
  return "(" + std::to_string(a.A) + ", " + std::to_string(a.B) + ")";
}

}  // namespace

std::string Describe(const TPainterAction& a) {
  std::ostringstream s;
  switch (a.Kind) {
    case TActionKind::Color: s << "colour " << std::hex << a.C; break;
    case TActionKind::Mix: s << "mix " << MixNames[a.A]; break;
    case TActionKind::Brush: s << "brush size " << a.A; break;
    case TActionKind::Tool: s << "tool " << ModeNames[a.A]; break;
    case TActionKind::Press: s << "press " << PointText(a); break;
    case TActionKind::Move: s << "move " << PointText(a); break;
    case TActionKind::Release: s << "release"; break;
    case TActionKind::Wash: s << "wash"; break;
    case TActionKind::Undo: s << "undo"; break;
    case TActionKind::Redo: s << "redo"; break;
    case TActionKind::Depth: s << "history depth " << a.A; break;
    case TActionKind::ClearHistory: s << "clear history"; break;
    case TActionKind::LoadPicture:
      s << "load picture " << a.A << "x" << a.B << " #" << a.C;
      break;
    case TActionKind::LoadLayer:
      s << "load " << (a.D & 1 ? "whole " : "colour ") << (a.D & 2 ? "1-bit " : "24-bit ")
        << "layer " << a.A << "x" << a.B << " #" << a.C;
      break;
    case TActionKind::Save: s << "save as " << SaveExtensions[a.A] << (a.D ? " outline" : ""); break;
    case TActionKind::Scale: s << "scale " << Scales[a.A]; break;
    case TActionKind::Dropper: s << "colour at " << PointText(a); break;
  }
  return s.str();
}

std::string Describe(const std::vector<TPainterAction>& actions) {
  std::string text;
  for (size_t i = 0; i < actions.size(); ++i)
    text += "  " + std::to_string(i) + ": " + Describe(actions[i]) + "\n";
  return text;
}

TRaster24 SequencePicture(int width, int height, uint32_t seed) {
  std::mt19937 rng(seed);
  TRaster24 r(width, height, clWhite);
  // A few straight and diagonal lines, some of them grey, and now and then a
  // coloured dot: every pixel of a picture that is not white is line art.
  const int lines = int(rng() % 4);
  for (int i = 0; i < lines; ++i) {
    int x = int(rng() % uint32_t(width)), y = int(rng() % uint32_t(height));
    const int dx = int(rng() % 3) - 1, dy = int(rng() % 3) - 1;
    const TColor ink = rng() % 5 == 0 ? 0x808080 : clBlack;
    for (int k = 0; k < width + height && x >= 0 && y >= 0 && x < width && y < height;
         ++k, x += dx, y += dy) {
      r.SetPixel(x, y, ink);
      if (dx == 0 && dy == 0) break;
    }
  }
  if (rng() % 3 == 0)
    r.SetPixel(int(rng() % uint32_t(width)), int(rng() % uint32_t(height)), 0x20C040);
  return r;
}

namespace {

// A layer handed in: random colours on some pixels, white elsewhere, or a
// black-and-white 1-bit bitmap.
TBitmap SequenceLayer(const TPainterAction& a) {
  std::mt19937 rng(a.C);
  if (a.D & 2) {
    TRaster1 mono(a.A, a.B, TRaster1::White);
    for (int y = 0; y < a.B; ++y)
      for (int x = 0; x < a.A; ++x)
        if (rng() % 4 == 0) mono.SetPixel(x, y, false);
    return mono;
  }
  TRaster24 colour = SequencePicture(a.A, a.B, a.C);
  for (int y = 0; y < a.B; ++y)
    for (int x = 0; x < a.A; ++x)
      if (rng() % 3 == 0) colour.SetPixel(x, y, TColor(rng() & 0xFFFFFF));
  return colour;
}

}  // namespace

// The engine, recording what it asks the screen to show again.
class TPainterSequence::TObservedPainter : public TPainterModel {
 public:
  explicit TObservedPainter(THistoryTile tile) : TPainterModel(tile.Width, tile.Height) {}
  TRect Invalidated;

 protected:
  void InvalidatePicture(const TRect& r) override { Invalidated = UnionRect(Invalidated, r); }
};

TPainterSequence::TPainterSequence(std::string workFolder, THistoryTile historyTile)
    : FWorkFolder(std::move(workFolder)),
      FEngine(std::make_unique<TObservedPainter>(historyTile)) {
  FEngine->OnClickAt = [this](TPainterModel&, TPoint pt) { FClicks.push_back(pt); };
  // The main window's start: a first colour, then its tools as designed.
  FEngine->SetPaintColor(1);
  FReference.SetPaintColor(1);
}

TPainterSequence::~TPainterSequence() = default;

const TPainterModel& TPainterSequence::Engine() const { return *FEngine; }

TPainterAction TPainterSequence::Next(TChoices& c) const {
  const int w = std::max(FEngine->UnscaledWidth(), 1), h = std::max(FEngine->UnscaledHeight(), 1);
  auto anywhere = [&](TActionKind kind) {
    // Now and then just outside the picture.
    return TPainterAction{kind, c.Between(-3, w + 2), c.Between(-3, h + 2)};
  };
  if (!FEngine->HasPicture() && c.Below(8) != 0)
    return {TActionKind::LoadPicture, c.Between(1, 24), c.Between(1, 24), c.Below(1u << 30)};
  const uint32_t roll = c.Below(100);
  if (roll < 22) return anywhere(TActionKind::Press);
  if (roll < 46) {
    if (c.Below(5) == 0) return anywhere(TActionKind::Move);
    // A drag: a short step from the last point.
    const int reach = c.Below(4) == 0 ? 12 : 3;
    return {TActionKind::Move, FLastPoint.x + c.Between(-reach, reach),
            FLastPoint.y + c.Between(-reach, reach)};
  }
  if (roll < 53) return {TActionKind::Release};
  if (roll < 60) return {TActionKind::Undo};
  if (roll < 63) return {TActionKind::Redo};
  if (roll < 68) return {TActionKind::Color, 0, 0, c.Below(1u << 24)};
  if (roll < 72) return {TActionKind::Mix, c.Between(0, 2)};
  if (roll < 77) {
    const uint32_t kind = c.Below(10);
    const int size = kind == 0 ? c.Between(-3, 0) : kind == 1 ? c.Between(10, 40) : c.Between(1, 9);
    return {TActionKind::Brush, size};
  }
  if (roll < 85) return {TActionKind::Tool, c.Between(pmFill, pmTap)};
  if (roll < 87) return {TActionKind::Wash};
  if (roll < 89) return {TActionKind::Depth, c.Between(0, 6)};
  if (roll < 90) return {TActionKind::ClearHistory};
  if (roll < 92)
    return {TActionKind::LoadPicture, c.Between(1, 24), c.Between(1, 24), c.Below(1u << 30)};
  if (roll < 94) {
    // Mostly the picture's own size, as a stored colouring has.
    const bool same = c.Below(3) != 0;
    return {TActionKind::LoadLayer, same ? w : c.Between(1, 24), same ? h : c.Between(1, 24),
            c.Below(1u << 30), int(c.Below(4))};
  }
  if (roll < 95) return {TActionKind::Save, c.Between(0, 3), 0, 0, int(c.Below(2))};
  if (roll < 97) return {TActionKind::Scale, int(c.Below(std::size(Scales)))};
  return anywhere(TActionKind::Dropper);
}

std::string TPainterSequence::Apply(const TPainterAction& a) {
  TPainterModel& e = *FEngine;
  TReferencePainter& r = FReference;
  const TReferenceLayers before = r.Layers();
  FEngine->Invalidated = TRect();
  FClicks.clear();
  FExpectedClick.reset();
  bool expectClick = false;
  try {
    switch (a.Kind) {
      case TActionKind::Color:
        e.SetPaintColor(a.C);
        r.SetPaintColor(a.C);
        break;
      case TActionKind::Mix:
        e.SetMixMode(TPaintMixMode(a.A));
        r.SetMixMode(TPaintMixMode(a.A));
        break;
      case TActionKind::Brush:
        e.SetBrushSize(a.A);
        r.SetBrushSize(a.A);
        break;
      case TActionKind::Tool:
        e.SetPaintMode(TPaintMode(a.A));
        r.SetPaintMode(TPaintMode(a.A));
        break;
      case TActionKind::Press:
        FLastPoint = {a.A, a.B};
        e.ApplyToolAt({a.A, a.B});
        FExpectedClick = r.Press({a.A, a.B});
        expectClick = true;
        break;
      case TActionKind::Move:
        FLastPoint = {a.A, a.B};
        e.StrokeTo({a.A, a.B});
        r.MoveTo({a.A, a.B});
        break;
      case TActionKind::Release:
        e.EndStroke();
        r.Release();
        break;
      case TActionKind::Wash:
        e.Wash();
        r.Wash();
        break;
      case TActionKind::Undo:
        e.Undo();
        r.Undo();
        break;
      case TActionKind::Redo:
        e.Redo();
        r.Redo();
        break;
      case TActionKind::Depth:
        e.MaxHistory = a.A;
        r.MaxHistory = a.A;
        break;
      case TActionKind::ClearHistory:
        e.ClearHistory();
        r.ClearHistory();
        break;
      case TActionKind::LoadPicture: {
        const TRaster24 picture = SequencePicture(a.A, a.B, a.C);
        e.LoadPicture(picture);
        r.LoadPicture(picture);
        break;
      }
      case TActionKind::LoadLayer: {
        // A masked stroke works from a copy of the colour layer made at its
        // press; the program never swaps the layer under one, so neither
        // does the sequence.
        if (r.Stroking() && r.PaintMode() == pmMBrush) {
          e.EndStroke();
          r.Release();
        }
        const TBitmap layer = SequenceLayer(a);
        e.AssignLayer(layer, a.D & 1);
        r.AssignLayer(ToRaster24(layer), a.D & 1);
        break;
      }
      case TActionKind::Save: {
        std::string failure = CheckSave(a);
        if (!failure.empty()) return failure;
        break;
      }
      case TActionKind::Scale: {
        e.SetScale(Scales[a.A]);
        const double s = e.Scale();
        if (!(s > 0) || !std::isfinite(s) || std::abs(s * e.InverseScale() - 1) > 1e-9)
          return "scale " + std::to_string(s) + " with inverse " + std::to_string(e.InverseScale());
        if (e.ScaledWidth() != Nearest(s * e.UnscaledWidth()) ||
            e.ScaledHeight() != Nearest(s * e.UnscaledHeight()))
          return "the scaled size does not follow the scale";
        break;
      }
      case TActionKind::Dropper:
        if (e.ColorAt({a.A, a.B}) != r.ColorAt({a.A, a.B}))
          return "the dropper finds another colour";
        break;
    }
  } catch (const std::exception& error) {
    return std::string("threw: ") + error.what();
  }
  return Compare(before, expectClick);
}

std::string TPainterSequence::Compare(const TReferenceLayers& before, bool expectClick) const {
  const TPainterModel& e = *FEngine;
  const TReferenceLayers& want = FReference.Layers();
  const TReferenceLayers got = LayersOf(e.ColorLayer(), e.OutlineLayer());
  if (got.Width != want.Width || got.Height != want.Height)
    return "size " + std::to_string(got.Width) + "x" + std::to_string(got.Height) + ", expected " +
           std::to_string(want.Width) + "x" + std::to_string(want.Height);
  for (int y = 0; y < want.Height; ++y)
    for (int x = 0; x < want.Width; ++x) {
      const size_t i = size_t(y) * size_t(want.Width) + size_t(x);
      std::ostringstream at;
      at << "(" << x << ", " << y << ")";
      if (got.Line[i] != want.Line[i])
        return "outline at " + at.str() + " is " + (got.Line[i] ? "black" : "white");
      if (got.Color[i] != want.Color[i]) {
        std::ostringstream s;
        s << "colour at " << at.str() << " is " << std::hex << got.Color[i] << ", expected "
          << want.Color[i];
        return s.str();
      }
    }
  if (e.HistorySteps() != FReference.HistorySteps())
    return "history holds " + std::to_string(e.HistorySteps()) + " steps, expected " +
           std::to_string(FReference.HistorySteps());
  if (e.CanUndo() != (FReference.HistorySteps() > 0)) return "CanUndo disagrees with the history";
  if (e.RedoSteps() != FReference.RedoSteps() || e.CanRedo() != (FReference.RedoSteps() > 0))
    return "the redo side holds " + std::to_string(e.RedoSteps()) + " steps, expected " +
           std::to_string(FReference.RedoSteps());
  if (e.Stroking() != FReference.Stroking()) return "stroking disagrees";
  if (e.HasPicture() && e.PictureBounds() != TRect{0, 0, want.Width, want.Height})
    return "picture bounds disagree with the layers";
  if (expectClick) {
    const std::vector<TPoint> want1 =
        FExpectedClick ? std::vector<TPoint>{*FExpectedClick} : std::vector<TPoint>{};
    if (FClicks != want1) return "the click was reported " + std::to_string(FClicks.size()) + " times";
  } else if (!FClicks.empty()) {
    return "a click was reported without a press";
  }
  // Every changed pixel must be inside what the screen is told to show
  // again; a new size must be shown whole.
  const TRect& shown = FEngine->Invalidated;
  if (before.Width != want.Width || before.Height != want.Height) {
    if (want.Width > 0 && IntersectRect(shown, e.PictureBounds()) != e.PictureBounds())
      return "the picture changed size but was not shown again whole";
    return "";
  }
  for (int y = 0; y < want.Height; ++y)
    for (int x = 0; x < want.Width; ++x) {
      const size_t i = size_t(y) * size_t(want.Width) + size_t(x);
      if ((before.Color[i] != want.Color[i] || before.Line[i] != want.Line[i]) &&
          !shown.Contains(x, y))
        return "pixel (" + std::to_string(x) + ", " + std::to_string(y) +
               ") changed outside the rectangle shown again";
    }
  return "";
}

std::string TPainterSequence::CheckSave(const TPainterAction& a) const {
  const TPainterModel& e = *FEngine;
  const bool outline = a.D != 0;
  const std::string file = FWorkFolder + "/saved" + SaveExtensions[a.A];
  std::remove(file.c_str());
  const auto written = [&] {
    FILE* f = std::fopen(file.c_str(), "rb");
    if (f) std::fclose(f);
    return f != nullptr;
  };
  if (!e.HasPicture()) {
    // Without a picture there is nothing to save: an error, and no file.
    try {
      e.SaveToFile(file, outline);
    } catch (const EError&) {
    }
    return written() ? "a file was saved without a picture" : "";
  }
  e.SaveToFile(file, outline);
  if (std::string(SaveExtensions[a.A]) == ".png")
    return written() ? "a .png save wrote a file" : "";
  if (!written()) return std::string("nothing was saved as ") + SaveExtensions[a.A];
  const TRaster24 read = ReadImageFile(file);
  if (read.Width() != e.UnscaledWidth() || read.Height() != e.UnscaledHeight())
    return "the saved file has another size";
  if (a.A == 2) return "";  // JPEG is lossy: its size is all that can be checked
  const TRaster24 want = outline ? ToRaster24(e.OutlineLayer()) : e.ColorLayer();
  // A GIF holds at most 256 colours; with no more than that it is exact.
  if (a.A == 1 && !outline) {
    std::set<TColor> colours;
    for (int y = 0; y < want.Height(); ++y)
      for (int x = 0; x < want.Width(); ++x) colours.insert(want.Pixel(x, y));
    if (colours.size() > 256) return "";
  }
  for (int y = 0; y < want.Height(); ++y)
    for (int x = 0; x < want.Width(); ++x)
      if (read.Pixel(x, y) != want.Pixel(x, y))
        return std::string("the saved ") + SaveExtensions[a.A] + " differs at (" +
               std::to_string(x) + ", " + std::to_string(y) + ")";
  return "";
}

TSequenceFailure ReplaySequence(const std::vector<TPainterAction>& actions,
                                const std::string& workFolder, THistoryTile historyTile) {
  TPainterSequence sequence(workFolder, historyTile);
  for (size_t i = 0; i < actions.size(); ++i) {
    std::string what = sequence.Apply(actions[i]);
    if (!what.empty()) return {int(i), std::move(what)};
  }
  return {};
}

}  // namespace tw::test
