// Comparing rendered widgets with the built-in artwork in device pixels:
// the scale the test runs at (taken from Qt, not from the program) and the
// count of pixels where a grab differs from a picture of the artwork.
#pragma once

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QRect>
#include <cmath>

namespace tw::test {

// The device pixel ratio the tests run at, as Qt reports it: 1 normally, 2
// under QT_SCALE_FACTOR=2.
inline int RunScale() {
  return int(std::lround(QGuiApplication::primaryScreen()->devicePixelRatio()));
}

// How many pixels of Shot (a grab, in device pixels) inside Design (a
// rectangle in design pixels) differ from Art, which must have exactly as
// many pixels as that rectangle has device pixels; pixels that the art
// leaves partly see-through are not compared, as the background shows
// through them. A size mismatch is a failure of its own.
inline int DifferingPixels(const QImage& Shot, const QRect& Design, const QImage& Art) {
  const int scale = int(std::lround(Shot.devicePixelRatio()));
  const QPoint origin = Design.topLeft() * scale;
  if (Art.size() != Design.size() * scale) {
    ADD_FAILURE() << "the art has " << Art.width() << "x" << Art.height()
                  << " pixels for a place of " << Design.width() * scale << "x"
                  << Design.height() * scale;
    return -1;
  }
  const QImage shot = Shot.convertToFormat(QImage::Format_ARGB32);
  const QImage art = Art.convertToFormat(QImage::Format_ARGB32);
  int differing = 0;
  for (int y = 0; y < art.height(); ++y)
    for (int x = 0; x < art.width(); ++x) {
      const QRgb want = art.pixel(x, y);
      if (qAlpha(want) != 255) continue;
      const QPoint at = origin + QPoint(x, y);
      if (!shot.rect().contains(at) || (shot.pixel(at) & RGB_MASK) != (want & RGB_MASK))
        ++differing;
    }
  return differing;
}

}  // namespace tw::test
