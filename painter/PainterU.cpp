#include "painter/PainterU.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "painter/FloodFillU.h"
#include "painter/StrokeU.h"
#include "painter/image/ImageFileU.h"

namespace tw {
namespace {

// Where the fill and the dropper look when a press lands on black: the point
// itself, then below, left, right, above, and the four corners.
constexpr TPoint Neighbours[9] = {{0, 0},  {0, 1},  {-1, 0}, {1, 0}, {0, -1},
                                  {-1, 1}, {1, 1}, {-1, -1}, {1, -1}};

// The marks fills leave in the border map: each fill takes the next value,
// and after the last one the map is wiped of them before the first is used
// again.
constexpr uint8_t FirstFillMark = 0x01;
constexpr uint8_t LastFillMark = 0xFE;

// How many runs a fill paints after saving the undo tiles they touch.
constexpr size_t HistoryBatchRuns = 32;

constexpr double MinScale = 1.0 / 1024;
constexpr double MaxScale = 256;

}  // namespace

void TPainterModel::SetBrushSize(int value) {
  // Far beyond any picture a larger brush changes nothing, and the stroke
  // geometry stays well inside its integer range.
  FBrushSize = std::clamp(value, 1, MaxBrushSize);
  UpdateDrawingTools();
}

void TPainterModel::SetPaintColor(TColor value) {
  value &= 0xFFFFFF;
  // Pure black belongs to the line art; paint must never become a border.
  FPaintColor = value == clBlack ? 1 : value;
  if (OnSetPaintColor) OnSetPaintColor(*this, FPaintColor);
  UpdateDrawingTools();
}

void TPainterModel::SetPaintMode(TPaintMode value) {
  FPaintMode = value;
  if (OnSetPaintMode) OnSetPaintMode(*this, FPaintMode);
  FStroking = false;
}

void TPainterModel::SetMixMode(TPaintMixMode value) {
  FMixMode = value;
  UpdateDrawingTools();
}

void TPainterModel::SetScale(double value) {
  // A zero, negative or runaway scale would divide by zero or overflow the
  // control size; such values are pulled into range.
  if (!(value > 0) || !std::isfinite(value)) value = 1.0;
  FScale = std::clamp(value, MinScale, MaxScale);
  UpdateScale();
  ScaleChanged();
}

void TPainterModel::UpdateScale() {
  FInverseScale = 1.0 / FScale;
  FScaledWidth = Nearest(FScale * UnscaledWidth());
  FScaledHeight = Nearest(FScale * UnscaledHeight());
}

void TPainterModel::UpdateDrawingTools() {
  // Before the first assignment the colour is 0, which must not paint
  // borders either.
  const TColor paint = FPaintColor == clBlack ? 1 : FPaintColor;
  FEffectivePaint = FMixMode == mmDarken ? (paint ^ 0x010101) : paint;
  const TMixOp op = FMixMode == mmOver ? TMixOp::Replace
                    : FMixMode == mmDarken ? TMixOp::And
                                           : TMixOp::Or;
  FPaintMixer = TSpanMixer(FEffectivePaint, op);
  // The eraser's white is combined by the mix rule but never altered by it,
  // so in darken mode the colours stay.
  FWhiteMixer = TSpanMixer(clWhite, op);
  if (FDab.Size() != FBrushSize) FDab = TDabShape(FBrushSize);
  FPreviousCoverageValid = false;
}

void TPainterModel::LoadPicture(const TRaster24& picture) {
  ForgetRedo();
  // The clean picture's block is reused when the size stays: a fresh block
  // costs a page fault per page on every visit.
  FClean.CopyFrom(picture);
  BuildLayers(FClean);
}

void TPainterModel::AssignLayer(const TBitmap& bitmap, bool whole) {
  ForgetRedo();
  const auto* colour = std::get_if<TRaster24>(&bitmap);
  if (whole)
    BuildLayers(colour ? *colour : ToRaster24(bitmap));
  else
    CopyIntoColorLayer(colour ? *colour : ToRaster24(bitmap));
}

void TPainterModel::CopyIntoColorLayer(const TRaster24& src) {
  const TRect r = IntersectRect(PictureBounds(), {0, 0, src.Width(), src.Height()});
  // A stroke going on must paint its next segment in full over the new
  // pixels.
  FPreviousCoverageValid = false;
  FHistory.BeforeChange(r, true, false);
  for (int y = r.Top; y < r.Bottom; ++y)
    std::memcpy(FColor.Row(y), src.Row(y), size_t(r.Width()) * 3);
  Commit(r);
  LayersChanged(r);
}

void TPainterModel::BuildLayers(const TRaster24& source) {
  // The layers are replaced, so a stroke in progress has nothing left to
  // continue on.
  FStroking = false;
  const int w = source.Width(), h = source.Height();
  // The open undo step saves what is about to be replaced.
  if (w != FColor.Width() || h != FColor.Height())
    FHistory.BeforeResize();
  else
    FHistory.BeforeChange(PictureBounds(), true, true);
  if (source.IsEmpty()) {
    FColor = TRaster24();
    FOutline = TRaster1();
    FBorder = TRaster1();
  } else {
    FColor.CopyFrom(source);
    if (FOutline.Width() != w || FOutline.Height() != h) {
      FOutline = TRaster1(w, h);
      FBorder = TRaster1(w, h);
    }
    // Every pixel that is not exactly white is line art.
    for (int y = 0; y < h; ++y) {
      const uint8_t* s = source.Row(y);
      uint8_t* o = FOutline.Row(y);
      for (int x = 0; x < w; ++x)
        o[x] = (s[3 * x] & s[3 * x + 1] & s[3 * x + 2]) == 0xFF ? TRaster1::White
                                                               : TRaster1::Black;
    }
    Commit(PictureBounds());
  }
  // The masked brush's work layers are rebuilt at each press; their blocks
  // are kept while the size stays, so a press never waits for a fresh one.
  if (FMask.Width() != w || FMask.Height() != h) FMask = TRaster1();
  if (FScratch.Width() != w || FScratch.Height() != h) FScratch = TRaster24();
  UpdateScale();
  ScaleChanged();
  UpdateDrawingTools();
  LayersChanged(PictureBounds());
}

void TPainterModel::Commit(const TRect& r) {
  if (!r.IsEmpty()) ComposeRect(FColor, FOutline, FBorder, r);
}

void TPainterModel::LayersChanged(const TRect& r) {
  FChangedArea = UnionRect(FChangedArea, r);
  InvalidatePicture(r);
}

TRect TPainterModel::TakeChangedArea() {
  const TRect area = FChangedArea;
  FChangedArea = TRect();
  return area;
}

void TPainterModel::LoadLayerFromFile(const std::string& fileName, bool whole) {
  const TRaster24 image = ReadImageFile(fileName);
  AssignLayer(image, whole);
}

TBitmap TPainterModel::CopyLayer(bool outline) const {
  if (outline) return FOutline;
  return FColor;
}

void TPainterModel::SaveToFile(const std::string& fileName, bool outline) const {
  const size_t dot = fileName.find_last_of("./\\");
  std::string ext = dot != std::string::npos && fileName[dot] == '.' ? fileName.substr(dot) : "";
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  std::vector<uint8_t> bytes;
  if (ext == ".bmp")
    bytes = EncodeBmp(CopyLayer(outline));
  else if (ext == ".gif")
    bytes = EncodeGif(CopyLayer(outline));
  else if (ext == ".jpg" || ext == ".jpeg")
    bytes = EncodeJpeg(outline ? ToRaster24(FOutline) : FColor, 80);
  else
    return;
  WriteFileAtomically(fileName, bytes);
}

namespace {

// The first position of the neighbour table, around pt, that lies inside the
// layer and is not black there.
template <class TLayer, class TIsBlack>
bool FindNotBlack(const TLayer& layer, TPoint pt, TPoint& moved, TIsBlack isBlack) {
  for (const TPoint& d : Neighbours) {
    const int x = pt.x + d.x, y = pt.y + d.y;
    if (x < 0 || y < 0 || x >= layer.Width() || y >= layer.Height() || isBlack(x, y)) continue;
    moved = {x, y};
    return true;
  }
  return false;
}

}  // namespace

bool TPainterModel::FindPaintablePoint(const TRaster1& layer, TPoint pt, TPoint& moved) const {
  pt = ClampPoint(pt);
  return FindNotBlack(layer, pt, moved, [&](int x, int y) { return !layer.IsWhite(x, y); });
}

bool TPainterModel::FindPaintablePoint(const TRaster24& layer, TPoint pt, TPoint& moved,
                                       TColor& value) const {
  pt = ClampPoint(pt);
  if (!FindNotBlack(layer, pt, moved,
                    [&](int x, int y) { return layer.Pixel(x, y) == clBlack; }))
    return false;
  value = layer.Pixel(moved.x, moved.y);
  return true;
}

TColor TPainterModel::ColorAt(TPoint pt) const {
  TPoint moved;
  TColor value;
  return FindPaintablePoint(FColor, pt, moved, value) ? value : 0;
}

void TPainterModel::Wash() {
  if (!HasPicture()) return;
  PushHistory();
  BuildLayers(FClean);
}

void TPainterModel::ForgetRedo() { FHistory.ForgetRedo(); }

void TPainterModel::PushHistory() {
  ForgetRedo();
  if (MaxHistory <= 0 || !HasPicture()) return;
  FHistory.Push(MaxHistory);
}

void TPainterModel::Undo() {
  const int w = FColor.Width(), h = FColor.Height();
  if (FHistory.Undo(MaxHistory, FRestored)) LayersRestored(w, h);
}

void TPainterModel::Redo() {
  const int w = FColor.Width(), h = FColor.Height();
  if (FHistory.Redo(MaxHistory, FRestored)) LayersRestored(w, h);
}

void TPainterModel::LayersRestored(int oldWidth, int oldHeight) {
  const bool sameSize = FColor.Width() == oldWidth && FColor.Height() == oldHeight;
  FStroking = false;
  if (!sameSize) {
    FBorder = HasPicture() ? TRaster1(FColor.Width(), FColor.Height()) : TRaster1();
    FMask = TRaster1();
    FScratch = TRaster24();
  }
  TRect changed;
  for (const TRect& r : FRestored) {
    Commit(r);
    changed = UnionRect(changed, r);
  }
  if (!sameSize) {
    UpdateScale();
    ScaleChanged();
  }
  UpdateDrawingTools();
  FLastChange = changed;
  LayersChanged(changed);
}

void TPainterModel::ClearHistory() { FHistory.Clear(); }

void TPainterModel::ApplyToolAt(TPoint pt) {
  // Without a picture there is nothing to act on.
  if (!HasPicture()) return;
  pt = ClampPoint(pt);
  FLastChange = TRect();
  auto clicked = [this](TPoint p) {
    if (OnClickAt) OnClickAt(*this, p);
  };
  switch (FPaintMode) {
    case pmFill:
      if (FillAt(pt)) clicked(pt);
      break;
    case pmBrush:
    case pmMarker:
    case pmEraser:
      BeginStroke(pt);
      clicked(pt);
      break;
    case pmMBrush: {
      TPoint start;
      if (PrepareMaskedBrush(pt, start)) {
        BeginStroke(start);
        clicked(start);
      }
      break;
    }
    case pmDropper:
    case pmTap:
      clicked(pt);
      break;
  }
}

bool TPainterModel::FillAt(TPoint pt) {
  pt = ClampPoint(pt);
  TPoint q;
  if (!FindPaintablePoint(FOutline, pt, q)) return false;
  PushHistory();
  // First the region is found on the border map alone, then painted. Found
  // run by run, a narrow region's next run waits for its row to come from
  // memory; painted from the list, the runs do not depend on each other, so
  // the memory of several is on its way at once.
  FRuns.clear();
  int left = UnscaledWidth(), right = 0, top = UnscaledHeight(), bottom = 0;
  FloodSpans<TFloodMark::FirstByte>(
      FBorder, q,
      [&](int y, int x0, int x1) {
        FRuns.push_back({uint16_t(y), uint16_t(x0), uint16_t(x1)});
        left = std::min(left, x0);
        right = std::max(right, x1);
        top = std::min(top, y);
        bottom = std::max(bottom, y + 1);
      },
      NextFillMark());
  // With an undo history, the tiles a few runs touch are saved, then those
  // runs painted: what a save copied is still in the cache when it is
  // painted over.
  const size_t n = FRuns.size();
  const size_t batch = FHistory.Recording() ? HistoryBatchRuns : n;
  FBlackRuns.clear();
  for (size_t at = 0; at < n; at += batch) {
    const size_t end = std::min(n, at + batch);
    if (FHistory.Recording())
      for (size_t i = at; i < end; ++i) {
        const TPixelRun& r = FRuns[i];
        FHistory.BeforeColourRun(r.Y, r.X0, r.X1);
      }
    const size_t listed = FBlackRuns.size();
    FPaintMixer.ApplyRuns(FColor, FRuns.data() + at, end - at, FBlackRuns);
    for (size_t k = listed; k < FBlackRuns.size(); ++k) FBlackRuns[k] += uint32_t(at);
  }
  // The fill's marks stay in the border map (putting them back was a pass
  // over memory of its own); only runs AND made partly black get their
  // border bytes anew.
  for (const uint32_t i : FBlackRuns) {
    const TPixelRun& r = FRuns[i];
    BorderFromColour(FColor.Row(r.Y), FBorder.Row(r.Y), r.X0, r.X1);
  }
  FLastChange = FRuns.empty() ? TRect() : TRect{left, top, right, bottom};
  FMarkedArea = UnionRect(FMarkedArea, FLastChange);
  LayersChanged(FLastChange);
  return true;
}

uint8_t TPainterModel::NextFillMark() {
  if (FFillMark == LastFillMark) {
    // Every mark value has been used: none may be left before the first is
    // used again. Marks lie only where fills went since the last wipe.
    const TRect r = IntersectRect(FMarkedArea, {0, 0, FBorder.Width(), FBorder.Height()});
    for (int y = r.Top; y < r.Bottom; ++y) {
      uint8_t* b = FBorder.Row(y);
      for (int x = r.Left; x < r.Right; ++x) b[x] = b[x] ? TRaster1::White : TRaster1::Black;
    }
    FMarkedArea = TRect();
    FFillMark = 0;
  }
  FFillMark = FFillMark == 0 ? FirstFillMark : uint8_t(FFillMark + 1);
  return FFillMark;
}

bool TPainterModel::PrepareMaskedBrush(TPoint pt, TPoint& start) {
  if (!FindPaintablePoint(FOutline, pt, start)) return false;
  FMask.CopyFrom(FOutline);
  FloodSpans<TFloodMark::Fill>(FMask, start, [](int, int, int) {});
  FScratch.CopyFrom(FColor);
  return true;
}

void TPainterModel::BeginStroke(TPoint pt) {
  pt = ClampPoint(pt);
  SetMouseCapture(true);
  FStroking = true;
  FPreviousCoverageValid = false;
  FPrevious = pt;
  PushHistory();
  StrokeTo(pt);
}

TRect TPainterModel::DabRect(TPoint pt, int margin) const {
  // Clamped point, brush and margin keep every edge inside the int range.
  pt = ClampPoint(pt);
  margin = std::clamp(margin, 0, PointLimit);
  return {pt.x - HalfSize() - margin, pt.y - HalfSize() - margin, pt.x + RestSize() + margin,
          pt.y + RestSize() + margin};
}

void TPainterModel::DrawSegment(TPoint pt, const TRect& clip) {
  // Every tool's rule gives the same pixel when applied twice, so the part
  // of this segment that the previous segment of the stroke covered, with
  // the same tools, is already as it would become. A drag's segments overlap
  // almost wholly; only the new part is painted.
  const TCoverage& before = FCoverage[FCoverageIndex];
  const bool skipOld = FPreviousCoverageValid;
  FCoverageIndex ^= 1;
  TCoverage& now = FCoverage[FCoverageIndex];
  now.Top = clip.Top;
  now.Left.assign(size_t(clip.Height()), 0);
  now.Right.assign(size_t(clip.Height()), 0);
  const TSpanSink paint = [&](int y, int x0, int x1) {
    now.Left[size_t(y - now.Top)] = x0;
    now.Right[size_t(y - now.Top)] = x1;
    const size_t row = size_t(y - before.Top);
    if (!skipOld || y < before.Top || row >= before.Left.size() ||
        before.Left[row] >= before.Right[row]) {
      PaintRun(y, x0, x1);
      return;
    }
    const int oldLeft = before.Left[row], oldRight = before.Right[row];
    if (x0 < oldLeft) PaintRun(y, x0, std::min(x1, oldLeft));
    if (x1 > oldRight) PaintRun(y, std::max(x0, oldRight), x1);
  };
  // The line's round end at pt covers every pixel of the dab there, so the
  // dab is drawn on its own only when there is no line.
  if (pt == FPrevious)
    CoverDab(pt, FDab, clip, paint);
  else
    CoverLine(FPrevious, pt, FDab, clip, paint);
  FPreviousCoverageValid = true;
}

void TPainterModel::PaintRun(int y, int x0, int x1) {
  switch (FPaintMode) {
    case pmBrush: {
      const bool black = FPaintMixer.Apply(FColor.Row(y), x0, x1);
      ComposeSpan(FColor, FOutline, FBorder, y, x0, x1, black);
      break;
    }
    case pmMBrush:
      FPaintMixer.Apply(FScratch.Row(y), x0, x1);
      MaskedCombineSpan(FColor, FScratch, FMask, y, x0, x1);
      ComposeSpan(FColor, FOutline, FBorder, y, x0, x1, true);
      break;
    case pmMarker:
      std::memset(FOutline.Row(y) + x0, TRaster1::Black, size_t(x1 - x0));
      ComposeSpan(FColor, FOutline, FBorder, y, x0, x1, true);
      break;
    case pmEraser: {
      std::memset(FOutline.Row(y) + x0, TRaster1::White, size_t(x1 - x0));
      const bool black = FWhiteMixer.Apply(FColor.Row(y), x0, x1);
      ComposeSpan(FColor, FOutline, FBorder, y, x0, x1, black);
      break;
    }
    default:
      break;
  }
}

void TPainterModel::StrokeTo(TPoint pt) {
  if (!FStroking || !HasPicture()) return;
  pt = ClampPoint(pt);
  TRect r = DabRect(pt, 4);
  if (!(pt == FPrevious)) r = UnionRect(r, DabRect(FPrevious, 4));
  r = IntersectRect(r, PictureBounds());
  // The masked brush paints through work layers prepared at its press.
  const bool ready = FPaintMode != pmMBrush ||
                     (FMask.Width() == FColor.Width() && FMask.Height() == FColor.Height() &&
                      FScratch.Width() == FColor.Width() && FScratch.Height() == FColor.Height());
  if (!r.IsEmpty() && ready) {
    FHistory.BeforeChange(r, true, FPaintMode == pmMarker || FPaintMode == pmEraser);
    DrawSegment(pt, r);
  }
  FPrevious = pt;
  FLastChange = r;
  if (!r.IsEmpty()) LayersChanged(r);
}

void TPainterModel::EndStroke() {
  SetMouseCapture(false);
  FStroking = false;
}

}  // namespace tw
