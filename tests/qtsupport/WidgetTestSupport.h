// Helpers for widget tests: waiting for Qt to deliver posted work such as
// repaints, and reading pixels of grabbed images as TColor.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>
#include <functional>

#include "painter/PaintCommonU.h"

namespace tw::test {

// Runs the event loop until `done` holds or `timeoutMs` passed; returns
// whether it holds. The timeout only bounds a failing test.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QTest::qWait(5);
  }
  return true;
}

// Lets every pending repaint happen.
inline void SettlePaints() {
  for (int i = 0; i < 5; ++i) {
    QCoreApplication::processEvents();
    QTest::qWait(10);
  }
}

inline TColor PixelAt(const QImage& image, int x, int y) {
  const QRgb c = image.pixel(x, y);
  return RGB(uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c)));
}

}  // namespace tw::test
