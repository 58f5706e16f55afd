// TPainterModel: the paint model behind the painter control. It holds one
// colouring picture as a 24-bit colour layer and a 1-bit outline layer of the
// picture's size, applies the tools to them, keeps the undo history, and
// produces the finished image for saving. It knows no toolkit: the on-screen
// control (painter/qt) derives from it, shows the colour layer and overrides
// the view hooks to repaint what changed.
//
// Invariant after every public call: the colour layer is composed with the
// outline (a black outline pixel is black in the colour layer), and the
// border map is 0x00 exactly where the colour layer is pure black. Every
// drawing call composes only the rectangle it changed.
#pragma once

#include <string>
#include <vector>

#include "painter/PaintCommonU.h"
#include "painter/PaintHistoryU.h"
#include "painter/PaintKernelsU.h"
#include "painter/RasterU.h"
#include "painter/StrokeU.h"

namespace tw {

class TPainterModel {
 public:
  static constexpr int MaxBrushSize = 1 << 16;

  TPainterModel()
      : TPainterModel(TPaintHistory::DefaultTileWidth, TPaintHistory::DefaultTileHeight) {}
  // Undo steps save the layers in tiles of this size (powers of two); small
  // tiles let tests reach tile edges on small pictures.
  TPainterModel(int historyTileWidth, int historyTileHeight)
      : FHistory(FColor, FOutline, historyTileWidth, historyTileHeight) {
    UpdateDrawingTools();
  }
  virtual ~TPainterModel() = default;
  TPainterModel(const TPainterModel&) = delete;
  TPainterModel& operator=(const TPainterModel&) = delete;

  // Undo steps kept; 0 keeps none. A plain field.
  int MaxHistory = 10;

  int BrushSize() const { return FBrushSize; }
  void SetBrushSize(int value);
  TColor PaintColor() const { return FPaintColor; }
  void SetPaintColor(TColor value);
  TPaintMode PaintMode() const { return FPaintMode; }
  void SetPaintMode(TPaintMode value);
  TPaintMixMode MixMode() const { return FMixMode; }
  void SetMixMode(TPaintMixMode value);
  double Scale() const { return FScale; }
  void SetScale(double value);
  double InverseScale() const { return FInverseScale; }

  int ScaledWidth() const { return FScaledWidth; }
  int ScaledHeight() const { return FScaledHeight; }
  int UnscaledWidth() const { return FColor.Width(); }
  int UnscaledHeight() const { return FColor.Height(); }
  bool HasPicture() const { return !FColor.IsEmpty(); }
  TRect PictureBounds() const { return {0, 0, UnscaledWidth(), UnscaledHeight()}; }
  bool Stroking() const { return FStroking; }
  int HalfSize() const { return FBrushSize / 2; }
  int RestSize() const { return FBrushSize - FBrushSize / 2; }

  TClickAt OnClickAt;
  TSetColor OnSetPaintColor;
  TPainterSetMode OnSetPaintMode;

  // Takes a decoded picture: it becomes the clean picture and all layers are
  // built from it.
  void LoadPicture(const TRaster24& picture);
  // whole: the bitmap becomes a new picture (layers rebuilt at its size).
  // Otherwise it is copied into the colour layer at (0, 0) as far as it
  // reaches; the picture size stays.
  void AssignLayer(const TBitmap& bitmap, bool whole);
  // Reads a BMP, GIF, JPEG or PNG file and assigns it. A failed read throws
  // EError and leaves the painter as it was.
  void LoadLayerFromFile(const std::string& fileName, bool whole);
  TBitmap CopyLayer(bool outline) const;
  // Writes the colour or the outline layer by the file's extension (.bmp,
  // .gif, .jpg, .jpeg, any case); other extensions write nothing. Folders are
  // created; a failure throws EError and leaves no partial file.
  void SaveToFile(const std::string& fileName, bool outline) const;
  // The first non-black colour at or around the point, 0 when none.
  TColor ColorAt(TPoint pt) const;
  void Wash();

  // Keeps the layers as an undo step before an action; every new action
  // (and every picture or layer load) also forgets what could be redone.
  // The step saves only what the action goes on to change.
  void PushHistory();
  void Undo();
  // Takes back the last undo; the layers it replaces become an undo step
  // again. Both sides hold at most MaxHistory steps.
  void Redo();
  bool CanUndo() const { return FHistory.UndoSteps() > 0; }
  bool CanRedo() const { return FHistory.RedoSteps() > 0; }
  int HistorySteps() const { return FHistory.UndoSteps(); }
  int RedoSteps() const { return FHistory.RedoSteps(); }
  void ClearHistory();

  // A press of any mouse button at a picture point.
  void ApplyToolAt(TPoint pt);
  bool FillAt(TPoint pt);
  void BeginStroke(TPoint pt);
  void StrokeTo(TPoint pt);
  void EndStroke();
  TRect DabRect(TPoint pt, int margin) const;
  void UpdateDrawingTools();

  // Searches the point and its eight neighbours, in a fixed order, for a
  // pixel inside the picture that is not black.
  bool FindPaintablePoint(const TRaster1& layer, TPoint pt, TPoint& moved) const;
  bool FindPaintablePoint(const TRaster24& layer, TPoint pt, TPoint& moved,
                          TColor& value) const;

  const TRaster24& ColorLayer() const { return FColor; }
  const TRaster1& OutlineLayer() const { return FOutline; }
  const TRaster24& CleanPicture() const { return FClean; }
  // The effective paint colour and the combination rule of the colour layer.
  TColor EffectivePaint() const { return FEffectivePaint; }
  TMixOp MixOp() const { return FPaintMixer.Op(); }
  // The picture rectangle the last tool action or stroke segment changed.
  TRect LastChange() const { return FLastChange; }
  // The smallest rectangle holding every pixel of either layer that changed
  // since the previous call (or since the first picture was loaded); the
  // next call starts afresh. A copy of the layers kept up to date from it
  // needs to copy only that rectangle. Meant for one taker.
  TRect TakeChangedArea();

 protected:
  // A picture rectangle changed and must be shown again.
  virtual void InvalidatePicture(const TRect& pictureRect) { (void)pictureRect; }
  // The picture size or the scale changed.
  virtual void ScaleChanged() {}
  virtual void SetMouseCapture(bool capture) { (void)capture; }

 private:
  void BuildLayers(const TRaster24& source);
  // After an undo or redo replaced the layers on FRestored; the layers
  // were oldWidth x oldHeight before.
  void LayersRestored(int oldWidth, int oldHeight);
  void ForgetRedo();
  // Copies src into the colour layer at (0, 0) as far as both reach.
  void CopyIntoColorLayer(const TRaster24& src);
  void RebuildBorderMap(const TRect& r);
  void Commit(const TRect& r);
  // Every change of the layers ends here: the rectangle is remembered for
  // TakeChangedArea and shown again.
  void LayersChanged(const TRect& r);
  void UpdateScale();
  // Draws the piece of stroke from the previous point to pt, inside clip, on
  // the layers the current tool paints.
  void DrawSegment(TPoint pt, const TRect& clip);
  void PaintRun(int y, int x0, int x1);
  // The mark for the next fill's visited runs.
  uint8_t NextFillMark();
  bool PrepareMaskedBrush(TPoint pt, TPoint& start);

  int FBrushSize = 12;
  TColor FPaintColor = 0;
  TPaintMode FPaintMode = pmFill;
  TPaintMixMode FMixMode = mmOver;
  double FScale = 1.0;
  double FInverseScale = 1.0;
  int FScaledWidth = 0;
  int FScaledHeight = 0;

  TColor FEffectivePaint = 0;
  // The paint and the eraser's white, combined by the mix rule.
  TSpanMixer FPaintMixer{0, TMixOp::Replace};
  TSpanMixer FWhiteMixer{clWhite, TMixOp::Replace};
  TDabShape FDab{12};
  // The runs a stroke segment covered, one per row from Top; the current and
  // the previous segment's, alternately.
  struct TCoverage {
    int Top = 0;
    std::vector<int> Left, Right;
  };
  TCoverage FCoverage[2];
  int FCoverageIndex = 0;
  // The previous segment belongs to this stroke and was drawn with the
  // current tools.
  bool FPreviousCoverageValid = false;
  // Runs of the current fill, in the order the fill found them, and which
  // of them AND left black pixels in; kept to reuse the blocks.
  std::vector<TPixelRun> FRuns;
  std::vector<uint32_t> FBlackRuns;

  bool FStroking = false;
  TPoint FPrevious;
  TRect FLastChange;
  TRect FChangedArea;

  TRaster24 FColor;
  TRaster1 FOutline;
  // 0x00 where the colour layer is pure black, non-zero elsewhere: the
  // fill's border, kept in step with the colour layer by every change.
  // Besides 0xFF it holds the marks fills left on the first byte of their
  // runs; FFillMark is the last mark used (0: none yet), FMarkedArea holds
  // every mark left since the map was last wiped of them.
  TRaster1 FBorder;
  uint8_t FFillMark = 0;
  TRect FMarkedArea;
  TRaster1 FMask;
  TRaster24 FScratch;
  TRaster24 FClean;

  TPaintHistory FHistory;
  // The rectangles the last undo or redo restored; kept to reuse the block.
  std::vector<TRect> FRestored;
};

}  // namespace tw
