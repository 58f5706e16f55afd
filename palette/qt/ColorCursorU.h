// TColorCursor: one mouse pointer built from a colour picture and a mask
// picture, recoloured by pouring a colour into one area of the colour
// picture, and registered in the program's cursor table under its number.
// The tools that carry paint (bucket, brushes, dropper) show the current
// colour this way.
//
// Pictures: the colour picture "<name>C" (RGB) and the mask "<name>M",
// black where the pointer is opaque and white where it is transparent. Only
// the 64 x 64 set exists: pointers of any size work on Linux desktops, so
// the smaller set that older systems needed is neither drawn nor looked
// for. On a high-density screen the pictures come from the 2x set (128 x
// 128 with devicePixelRatio 2); hot spot and colour point stay in design
// pixels.
#pragma once

#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QString>
#include <cstdint>

#include "painter/PaintCommonU.h"
#include "palette/qt/CursorTableU.h"

namespace tw {

class TColorCursor {
 public:
  explicit TColorCursor(int32_t Id);

  int32_t Id() const { return FId; }

  // Loads the named picture (built-in artwork unless Source says
  // otherwise) as the mask; a missing picture throws EError.
  void LoadMask(const QString& Name, const TPictureSource& Source = TPictureSource());
  // The same for the colour picture; it also becomes the untouched copy
  // that every Tint starts from.
  void LoadColor(const QString& Name, const TPictureSource& Source = TPictureSource());
  // As LoadMask and LoadColor, from pictures at hand. A mask pixel is
  // opaque when it is dark (grey level below 128) and not transparent.
  void SetMaskPicture(const QImage& Picture);
  void SetColorPicture(const QImage& Picture);

  void SetHotSpot(const QPoint& HotSpot) { FHotSpot = HotSpot; }
  QPoint HotSpot() const { return FHotSpot; }

  // Builds the pointer from the working colour picture, the mask and the
  // hot spot and puts it into the cursor table under Id. Colour and mask of
  // different sizes throw EError "Error creating cursor <Id>: Mask/Color
  // not same size (<mask w>x<mask h> / <colour w>x<colour h>)"; so do empty
  // pictures and a hot spot outside the picture.
  void Build();

  // Starts again from the colour picture as loaded and fills the area of
  // ColorPoint's colour that is connected to it up, down, left and right
  // with Color (its top byte ignored); then builds when Rebuild is set. A
  // point outside the picture fills nothing.
  void Tint(const QPoint& ColorPoint, TColor Color, bool Rebuild);

  // The working colour picture (Format_RGB32) and the mask (Format_Mono,
  // pixel index 1 where opaque).
  const QImage& ColorPicture() const { return FColor; }
  const QImage& MaskPicture() const { return FMask; }
  // The pointer built last; the ordinary arrow before the first Build.
  const QCursor& Cursor() const { return FCursor; }

 private:
  int32_t FId;
  QImage FColor;
  QImage FColorUntouched;
  // The mask is never changed, so it needs no untouched copy.
  QImage FMask;
  QPoint FHotSpot;
  QCursor FCursor;
};

}  // namespace tw
