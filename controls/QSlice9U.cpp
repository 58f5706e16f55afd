#include "controls/QSlice9U.h"

#include <QBrush>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tw {

void TSlice9::Draw(const QImage& Picture, QPainter& Canvas, int Width, int Height,
                   const TSlice9Settings& Settings) {
  if (Picture.width() <= 0 || Picture.height() <= 0) return;
  // The work copy is rebuilt only when another picture comes, so a repaint
  // of an unchanged window does not convert the art again.
  if (FBitmap.isNull() || FBitmapKey != Picture.cacheKey()) {
    FBitmap = Picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    FBitmapKey = Picture.cacheKey();
  }
  // The margins are in design pixels; a picture of a denser set has Scale
  // art pixels to each, and its parts are read that much larger.
  const int Scale = std::max(1, int(std::lround(FBitmap.devicePixelRatio())));
  // 64-bit edges: margins come from callers and must not overflow.
  const int64_t PW = FBitmap.width() / Scale;
  const int64_t PH = FBitmap.height() / Scale;
  const int64_t SX[4] = {0, Settings.WLeft, PW - Settings.WRight, PW};
  const int64_t SY[4] = {0, Settings.HTop, PH - Settings.HBottom, PH};
  const int64_t DX[4] = {0, Settings.WLeft, int64_t(Width) - Settings.WRight, Width};
  const int64_t DY[4] = {0, Settings.HTop, int64_t(Height) - Settings.HBottom, Height};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      const bool SourceInside = SX[c] >= 0 && SX[c] < SX[c + 1] && SX[c + 1] <= PW && SY[r] >= 0 &&
                                SY[r] < SY[r + 1] && SY[r + 1] <= PH;
      if (!SourceInside) continue;
      // With the source inside the art, the corner and edge targets are at
      // most the art's size and the middle at most the target's, so every
      // number below fits an int.
      if (DX[c + 1] <= DX[c] || DY[r + 1] <= DY[r]) continue;
      const QRect Source(int(SX[c]), int(SY[r]), int(SX[c + 1] - SX[c]), int(SY[r + 1] - SY[r]));
      const QRect Target(int(DX[c]), int(DY[r]), int(DX[c + 1] - DX[c]), int(DY[r + 1] - DY[r]));
      DrawCell(Canvas, Source, Target, Scale, Settings.StretchHorz, Settings.StretchVert);
    }
  }
}

void TSlice9::Draw(const QImage& Picture, QPainter& Canvas, int Width, int Height, int WLeft,
                   int WRight, int HTop, int HBottom, bool StretchHorz, bool StretchVert) {
  Draw(Picture, Canvas, Width, Height,
       TSlice9Settings{WLeft, WRight, HTop, HBottom, StretchHorz, StretchVert});
}

void TSlice9::DrawCell(QPainter& Canvas, const QRect& Source, const QRect& Target, int Scale,
                       bool StretchHorz, bool StretchVert) {
  // One copy has the size of a step: the target's extent in a stretched
  // direction, the source's otherwise. Laying such copies from the cell's
  // top left and cutting the last ones at the cell's far edges is exactly a
  // tiling anchored at the top left and clipped to the cell, which one
  // texture fill does without a call per copy.
  const QSize Step(StretchHorz ? Target.width() : Source.width(),
                   StretchVert ? Target.height() : Source.height());
  // The part is cut out before scaling, so the smoothing filter never reads
  // the neighbouring parts.
  QImage Part = FBitmap.copy(QRect(Source.topLeft() * Scale, Source.size() * Scale));
  if (Part.size() != Step * Scale) {
    Part = Part.scaled(Step * Scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  if (Part.isNull()) return;
  // The brush's own transform maps the part's pixels to design pixels, so a
  // denser part lands one art pixel to one device pixel on a screen of its
  // ratio.
  Part.setDevicePixelRatio(1);
  QBrush Tiles(Part);
  QTransform Place = QTransform::fromTranslate(Target.x(), Target.y());
  Place.scale(1.0 / Scale, 1.0 / Scale);
  Tiles.setTransform(Place);
  // The caller's brush origin would shift the tiles off the cell's corner.
  const QPointF Origin = Canvas.brushOrigin();
  Canvas.setBrushOrigin(0, 0);
  Canvas.fillRect(Target, Tiles);
  Canvas.setBrushOrigin(Origin);
}

QImage Slice9Image(const QImage& Picture, const TSlice9Settings& Settings, QSize Size,
                   QColor Background) {
  if (Size.isEmpty()) return QImage();
  // As dense as the picture, so its art pixels are copied one to one.
  const int Scale = std::max(1, int(std::lround(Picture.devicePixelRatio())));
  QImage Result(Size * Scale, QImage::Format_ARGB32_Premultiplied);
  if (Result.isNull()) return Result;
  Result.setDevicePixelRatio(Scale);
  Result.fill(Background);
  QPainter Canvas(&Result);
  TSlice9 Slice;
  Slice.Draw(Picture, Canvas, Size.width(), Size.height(), Settings);
  return Result;
}

void TSlice9Skin::SetPicture(const QImage& Value) {
  // A deep copy: the caller may go on painting into its image.
  FPicture = Value.copy();
  SliceChanged();
}

void TSlice9Skin::SetWLeft(int Value) {
  FSliceSettings.WLeft = Value;
  SliceChanged();
}

void TSlice9Skin::SetWRight(int Value) {
  FSliceSettings.WRight = Value;
  SliceChanged();
}

void TSlice9Skin::SetHTop(int Value) {
  FSliceSettings.HTop = Value;
  SliceChanged();
}

void TSlice9Skin::SetHBottom(int Value) {
  FSliceSettings.HBottom = Value;
  SliceChanged();
}

void TSlice9Skin::SetStretchHorz(bool Value) {
  FSliceSettings.StretchHorz = Value;
  SliceChanged();
}

void TSlice9Skin::SetStretchVert(bool Value) {
  FSliceSettings.StretchVert = Value;
  SliceChanged();
}

void TSlice9Skin::SetSliceSettings(const TSlice9Settings& Value) {
  FSliceSettings = Value;
  SliceChanged();
}

void TSlice9Skin::DrawSlice(QPainter& Canvas, int Width, int Height) {
  if (FPicture.width() > 0) FSlice.Draw(FPicture, Canvas, Width, Height, FSliceSettings);
}

}  // namespace tw
