// Helpers for the drawn-control tests: pointer entry and exit as the
// windowing system reports them, solid test pictures, and finding pixels of
// one colour in a grabbed image.
#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QImage>
#include <QPalette>
#include <QRect>
#include <QWidget>

#include "painter/PaintCommonU.h"
#include "qtsupport/WidgetTestSupport.h"

namespace tw::test {

inline void SendEnter(QWidget& widget, QPoint at = QPoint(1, 1)) {
  QEnterEvent event(at, widget.mapTo(widget.window(), at), widget.mapToGlobal(at));
  QCoreApplication::sendEvent(&widget, &event);
}

inline void SendLeave(QWidget& widget) {
  QEvent event(QEvent::Leave);
  QCoreApplication::sendEvent(&widget, &event);
}

inline QImage Solid(int w, int h, TColor color, int alpha = 255) {
  QImage image(w, h, QImage::Format_ARGB32);
  image.fill(QColor(GetRValue(color), GetGValue(color), GetBValue(color), alpha));
  return image;
}

// Shows `window` and makes it the active window; false when the platform
// would not activate it.
inline bool ShowActive(QWidget& window) {
  window.show();
  window.activateWindow();
  QApplication::setActiveWindow(&window);
  return WaitUntil([&] { return window.isActiveWindow(); });
}

// The smallest rectangle holding every pixel of `image` inside `area` that
// differs from `background`; empty when there is none.
inline QRect InkBounds(const QImage& image, TColor background, QRect area = QRect()) {
  if (area.isNull()) area = image.rect();
  QRect bounds;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (PixelAt(image, x, y) != background) bounds |= QRect(x, y, 1, 1);
  return bounds;
}

// A window with a plain background to put controls on.
class TPlainWindow : public QWidget {
 public:
  explicit TPlainWindow(TColor color = clWhite) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window,
                 QColor(GetRValue(color), GetGValue(color), GetBValue(color)));
    setPalette(pal);
    setAutoFillBackground(true);
    resize(160, 100);
  }
};

}  // namespace tw::test
