// How one paint well looks: a hole in a wooden tray, sunken by a two-tone
// rounded frame, optionally holding a raised blob of paint. The drawing is
// done pixel by pixel rather than with the painter's own shapes, so every
// well comes out exactly the same on every machine and can be checked
// pixel by pixel.
//
// Geometry model: rectangles are half-open (pixels Left..Right-1); a line
// position is a coordinate between pixels, and a pen of width w centred on
// position p covers the w pixels p - w div 2 .. p - w div 2 + w - 1 across
// the line (the pixels whose centres lie in (p - w/2, p + w/2]). A quarter
// arc of radius r covers the pixels of its corner's quadrant whose centres
// lie within w/2 of the circle; its outer edge fills a D x D box (D = 2r + w)
// in the corner of the pixels the straight edges cover, so on both axes it
// covers exactly the pixels of the edge it meets and an outline is closed.
#pragma once

#include <QColor>

#include "painter/PaintCommonU.h"

class QPainter;

namespace tw {

inline QColor ToQColor(TColor c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

// A rounded-rectangle outline just inside rect, drawn with a pen of width
// `width`: the top-right corner, the top edge, the top-left corner, the left
// edge and the bottom-left corner in c1, then the bottom edge, the
// bottom-right corner and the right edge in c2 (over c1 where they meet).
// With h = width div 2 and k = width - h, the pen runs at left x = L + h,
// top y = T + h, right x = R - 1 - k and bottom y = B - 1 - k; the straight
// edges stop `radius` short of the corners and quarter arcs join them.
// Nothing is drawn in the last column and row of rect. A width below 1
// draws nothing.
void Bevel(QPainter& painter, const TRect& rect, TColor c1, TColor c2, int radius, int width);

// Fills rect as a rounded rectangle whose corners are quarters of a
// diameter x diameter ellipse: a corner pixel is filled when its centre lies
// inside the corner's circle.
void FillRoundRect(QPainter& painter, const TRect& rect, TColor color, int diameter);

// One well in rect. A colour other than clNone is a blob of paint: the rect
// inset by 3 filled with rounded corners, a raised bevel (lighter top-left,
// darker bottom-right, radius 5, width 2) on rect inset by 1, and a thin
// sunken frame. An empty well (clNone) gets only the frame, 3 pixels thick.
// The frame is darker top-left and lighter bottom-right than edgeColor.
// With scale 2 the painter draws in device pixels, two to a design pixel,
// and the well is drawn there with rect and every inset, radius and width
// doubled: the same well with the smoother edges a high-density screen
// can show.
void DrawWell(QPainter& painter, const TRect& rect, TColor color, TColor edgeColor,
              int scale = 1);

// The ring that marks the well holding the current paint, drawn round the
// well's rect grown by `grow` pixels: 3 pixels of white, which stands out
// from the tray and from any paint, lined inside and outside with a
// one-pixel dark line, so it shows on a white paint too. Scale as for
// DrawWell.
void DrawWellMark(QPainter& painter, const TRect& rect, int grow, int scale = 1);

}  // namespace tw
