#include "app/SamplePictureU.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <cmath>
#include <cstring>

namespace tw {

TRaster24 MakeSamplePicture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB888);
  image.fill(Qt::white);
  {
    // No antialiasing: line art is pure black on pure white.
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 3));
    p.drawRect(2, 2, width - 5, height - 5);
    // House.
    p.drawRect(80, 330, 200, 150);
    p.drawPolygon(QPolygon({QPoint(60, 330), QPoint(180, 220), QPoint(300, 330)}));
    p.drawRect(160, 400, 40, 80);
    p.drawRect(100, 360, 40, 30);
    p.drawLine(120, 360, 120, 390);
    // Sun with rays.
    p.drawEllipse(QPoint(760, 110), 55, 55);
    p.setPen(QPen(Qt::black, 2));
    for (int i = 0; i < 8; ++i) {
      const QPointF dir(std::cos(i * 3.14159265 / 4), std::sin(i * 3.14159265 / 4));
      p.drawLine(QPointF(760, 110) + dir * 70, QPointF(760, 110) + dir * 100);
    }
    // Tree.
    p.setPen(QPen(Qt::black, 3));
    p.drawRect(375, 400, 30, 90);
    p.drawEllipse(QPoint(390, 340), 70, 65);
    // Overlapping circles.
    p.drawEllipse(QPoint(560, 250), 60, 60);
    p.drawEllipse(QPoint(620, 250), 60, 60);
    p.drawEllipse(QPoint(590, 300), 60, 60);
    // A one-pixel and a three-pixel line across the ground.
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(20, 560, width - 20, 560);
    p.setPen(QPen(Qt::black, 3));
    p.drawLine(20, 600, width - 20, 600);
  }
  // A square outline whose top edge ends one pixel before the right edge
  // begins, one row lower: they touch only at a corner.
  const QRgb black = qRgb(0, 0, 0);
  for (int i = 0; i < 80; ++i) {
    image.setPixel(700 + i, 420, black);
    image.setPixel(780, 421 + i, black);
    image.setPixel(700, 420 + i, black);
    image.setPixel(700 + i, 500, black);
  }
  TRaster24 picture(width, height);
  for (int y = 0; y < height; ++y)
    std::memcpy(picture.Row(y), image.constScanLine(y), size_t(width) * 3);
  return picture;
}

}  // namespace tw
