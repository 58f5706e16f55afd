#include "controls/PaintWellU.h"

#include <QPainter>
#include <algorithm>

#include "painter/QGfxUtilU.h"

namespace tw {
namespace {

enum TCorner { cnTopLeft, cnTopRight, cnBottomLeft, cnBottomRight };

// Pixels lo..hi inclusive on both axes; nothing when either range is empty.
void FillPixels(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& color) {
  if (x2 < x1 || y2 < y1) return;
  painter.fillRect(QRect(x1, y1, x2 - x1 + 1, y2 - y1 + 1), color);
}

// The quarter arc of the given corner's quadrant about (cx2 / 2, cy2 / 2)
// (doubled coordinates keep half-pixel centres integral): the pixels whose
// centres lie within width / 2 of the circle of the given radius.
void QuarterArc(QPainter& painter, int cx2, int cy2, int radius, int width, TCorner corner,
                const QColor& color) {
  const long long inner = std::max(2LL * radius - width, 0LL);
  const long long outer = 2LL * radius + width;
  const int reach = radius + width + 1;
  const bool left = corner == cnTopLeft || corner == cnBottomLeft;
  const bool top = corner == cnTopLeft || corner == cnTopRight;
  for (int j = cy2 / 2 - reach; j <= cy2 / 2 + reach; ++j) {
    const long long dy = 2LL * j + 1 - cy2;
    if (top ? dy > 0 : dy < 0) continue;
    for (int i = cx2 / 2 - reach; i <= cx2 / 2 + reach; ++i) {
      const long long dx = 2LL * i + 1 - cx2;
      if (left ? dx > 0 : dx < 0) continue;
      const long long d = dx * dx + dy * dy;
      if (d >= inner * inner && d <= outer * outer) painter.fillRect(QRect(i, j, 1, 1), color);
    }
  }
}

}  // namespace

void Bevel(QPainter& painter, const TRect& rect, TColor c1, TColor c2, int radius, int width) {
  if (width < 1) return;
  const int r = std::max(radius, 0);
  const int h = width / 2;
  const int k = width - h;
  const int D = 2 * r + width;
  const int leftX = rect.Left + h;
  const int topY = rect.Top + h;
  const int rightX = rect.Right - 1 - k;
  const int bottomY = rect.Bottom - 1 - k;
  const QColor first = ToQColor(c1);
  const QColor second = ToQColor(c2);

  // Arc centres, doubled: each arc's outer edge fills a D x D box in a
  // corner of the pixels the straight edges cover (L..R - 2, T..B - 2), so
  // that on both axes it covers exactly the pixels of the edge it meets.
  const int boxLeft2 = 2 * rect.Left + D;
  const int boxTop2 = 2 * rect.Top + D;
  const int boxRight2 = 2 * (rect.Right - 1) - D;
  const int boxBottom2 = 2 * (rect.Bottom - 1) - D;

  QuarterArc(painter, boxRight2, boxTop2, r, width, cnTopRight, first);
  FillPixels(painter, leftX + r, topY - h, rightX - r, topY + k - 1, first);
  QuarterArc(painter, boxLeft2, boxTop2, r, width, cnTopLeft, first);
  FillPixels(painter, leftX - h, topY + r, leftX + k - 1, bottomY - r, first);
  QuarterArc(painter, boxLeft2, boxBottom2, r, width, cnBottomLeft, first);

  FillPixels(painter, leftX + r, bottomY - h, rightX - r, bottomY + k - 1, second);
  QuarterArc(painter, boxRight2, boxBottom2, r, width, cnBottomRight, second);
  FillPixels(painter, rightX - h, topY + r, rightX + k - 1, bottomY - r, second);
}

void FillRoundRect(QPainter& painter, const TRect& rect, TColor color, int diameter) {
  if (rect.IsEmpty()) return;
  const QColor fill = ToQColor(color);
  // Corner circle centres, doubled; a rect narrower than the diameter gets
  // its centres in the middle, so the corners stay round on both sides.
  const int d = std::max(diameter, 0);
  const int left2 = std::min(2 * rect.Left + d, rect.Left + rect.Right);
  const int right2 = std::max(2 * rect.Right - d, rect.Left + rect.Right);
  const int top2 = std::min(2 * rect.Top + d, rect.Top + rect.Bottom);
  const int bottom2 = std::max(2 * rect.Bottom - d, rect.Top + rect.Bottom);
  const long long limit = 1LL * d * d;
  for (int y = rect.Top; y < rect.Bottom; ++y) {
    const int cy2 = 2 * y + 1;
    const long long dy = cy2 < top2 ? top2 - cy2 : (cy2 > bottom2 ? cy2 - bottom2 : 0);
    int first = rect.Right;
    int last = rect.Left - 1;
    for (int x = rect.Left; x < rect.Right; ++x) {
      const int cx2 = 2 * x + 1;
      const long long dx = cx2 < left2 ? left2 - cx2 : (cx2 > right2 ? cx2 - right2 : 0);
      if (dx * dx + dy * dy > limit) continue;
      first = std::min(first, x);
      last = std::max(last, x);
    }
    FillPixels(painter, first, y, last, y, fill);
  }
}

void DrawWell(QPainter& painter, const TRect& rect, TColor color, TColor edgeColor, int scale) {
  const int n = std::max(scale, 1);
  const TRect box{rect.Left * n, rect.Top * n, rect.Right * n, rect.Bottom * n};
  const TColor frameDark = DarkenColor(edgeColor, 50);
  const TColor frameLight = LightenColor(edgeColor, 50);
  int frameWidth = 3 * n;
  if (color != clNone) {
    const TRect paint{box.Left + 3 * n, box.Top + 3 * n, box.Right - 3 * n, box.Bottom - 3 * n};
    FillRoundRect(painter, paint, color, 5 * n);
    Bevel(painter, {box.Left + n, box.Top + n, box.Right - n, box.Bottom - n},
          LightenColor(color, 50), DarkenColor(color, 50), 5 * n, 2 * n);
    frameWidth = n;
  }
  Bevel(painter, box, frameDark, frameLight, 6 * n, frameWidth);
}

void DrawWellMark(QPainter& painter, const TRect& rect, int grow, int scale) {
  constexpr TColor Dark = 0x202020;
  const int n = std::max(scale, 1);
  // A bevel leaves its rect's last column and row blank: one more on the
  // right and at the bottom puts the ring evenly round the well.
  const TRect outer{(rect.Left - grow) * n, (rect.Top - grow) * n, (rect.Right + grow + 1) * n,
                    (rect.Bottom + grow + 1) * n};
  Bevel(painter, outer, Dark, Dark, 7 * n, n);
  Bevel(painter, {outer.Left + n, outer.Top + n, outer.Right - n, outer.Bottom - n}, clWhite,
        clWhite, 6 * n, 3 * n);
  Bevel(painter, {outer.Left + 4 * n, outer.Top + 4 * n, outer.Right - 4 * n, outer.Bottom - 4 * n},
        Dark, Dark, 4 * n, n);
}

}  // namespace tw
