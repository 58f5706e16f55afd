// The nine-slice drawer: spreads a small piece of artwork over any size by
// cutting it into a 3 x 3 grid, copying the corners as they are and repeating
// (or stretching) the edges and the middle. Also the slice settings and the
// picture that the skinned forms and panels share (TSlice9Skin).
#pragma once

#include <QImage>
#include <QSize>

class QPainter;

namespace tw {

// Where the art is cut, in design pixels (a picture with devicePixelRatio 2
// has two art pixels to each), and which parts are stretched rather
// than repeated. All numbers start at 0 and the flags at false.
struct TSlice9Settings {
  int WLeft = 0;    // width of the left column (left corners and left edge)
  int WRight = 0;   // width of the right column
  int HTop = 0;     // height of the top row
  int HBottom = 0;  // height of the bottom row
  // The middle column (top edge, middle, bottom edge) is stretched to its
  // width instead of repeated.
  bool StretchHorz = false;
  // The middle row (left edge, middle, right edge) is stretched to its
  // height instead of repeated.
  bool StretchVert = false;

  friend bool operator==(const TSlice9Settings&, const TSlice9Settings&) = default;
};

class TSlice9 {
 public:
  // Draws Picture over the rectangle (0, 0, Width, Height) of Canvas, row by
  // row from the top and, in a row, column by column from the left:
  // - the art's column edges are 0, WLeft, PW - WRight, PW and its row edges
  //   0, HTop, PH - HBottom, PH; the target's are 0, WLeft, Width - WRight,
  //   Width and 0, HTop, Height - HBottom, Height;
  // - a part is laid as whole copies from the top left of its target cell,
  //   the last copy at the right or bottom cut off (the art is cropped, not
  //   squeezed); a stretched direction uses one copy scaled to the cell;
  // - parts whose art or target is empty are skipped, so a target smaller
  //   than its two corners has no middle and its right and bottom parts are
  //   drawn over the left and top ones.
  // The art's size is its design size (pixels over devicePixelRatio).
  // Nothing is drawn while Picture has no width. A part of the art that is
  // not wholly inside the art (negative margins, or margins wider than the
  // art together) is skipped rather than read from outside the picture.
  void Draw(const QImage& Picture, QPainter& Canvas, int Width, int Height,
            const TSlice9Settings& Settings);
  void Draw(const QImage& Picture, QPainter& Canvas, int Width, int Height, int WLeft, int WRight,
            int HTop, int HBottom, bool StretchHorz, bool StretchVert);

  // The work copy of the art the parts are read from (premultiplied ARGB,
  // so art with transparency keeps it).
  const QImage& Bitmap() const { return FBitmap; }

 private:
  void DrawCell(QPainter& Canvas, const QRect& Source, const QRect& Target, int Scale,
                bool StretchHorz, bool StretchVert);

  QImage FBitmap;
  qint64 FBitmapKey = 0;
};

// Draw into a new image of Size (in design pixels, with the picture's
// devicePixelRatio) whose pixels start as Background: the whole result of
// one nine-slice drawing, for callers that want the pixels.
QImage Slice9Image(const QImage& Picture, const TSlice9Settings& Settings, QSize Size,
                   QColor Background = Qt::transparent);

// The picture and slice settings of a skinned window or panel. Every setter
// stores its value and calls SliceChanged, where the owner repaints.
class TSlice9Skin {
 public:
  virtual ~TSlice9Skin() = default;

  const QImage& Picture() const { return FPicture; }
  // Keeps its own copy of the picture.
  void SetPicture(const QImage& Value);
  int WLeft() const { return FSliceSettings.WLeft; }
  void SetWLeft(int Value);
  int WRight() const { return FSliceSettings.WRight; }
  void SetWRight(int Value);
  int HTop() const { return FSliceSettings.HTop; }
  void SetHTop(int Value);
  int HBottom() const { return FSliceSettings.HBottom; }
  void SetHBottom(int Value);
  bool StretchHorz() const { return FSliceSettings.StretchHorz; }
  void SetStretchHorz(bool Value);
  bool StretchVert() const { return FSliceSettings.StretchVert; }
  void SetStretchVert(bool Value);
  const TSlice9Settings& SliceSettings() const { return FSliceSettings; }
  void SetSliceSettings(const TSlice9Settings& Value);

  TSlice9& Slice() { return FSlice; }

 protected:
  virtual void SliceChanged() = 0;
  // The nine-slice art over (0, 0, Width, Height) when the picture has a
  // width; nothing otherwise.
  void DrawSlice(QPainter& Canvas, int Width, int Height);

 private:
  TSlice9 FSlice;
  QImage FPicture;
  TSlice9Settings FSliceSettings;
};

}  // namespace tw
