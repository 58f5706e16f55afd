// Helpers for widget tests: letting Qt deliver posted work such as
// repaints, and reading pixels of grabbed images as TColor.
#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QEvent>
#include <functional>

#include "painter/PaintCommonU.h"

namespace tw::test {

// Lets Qt deliver the work posted so far and whatever that posts in turn
// (queued calls, deferred deletes, window state changes, repaints) until
// `done` holds; returns whether it does. No timer gets a chance to run and
// nothing waits on the clock: `rounds` only bounds a failing test.
inline bool WaitUntil(const std::function<bool()>& done, int rounds = 200) {
  for (int i = 0; i < rounds && !done(); ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  return done();
}

// Lets every pending repaint happen.
inline void SettlePaints() {
  for (int i = 0; i < 5; ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

inline TColor PixelAt(const QImage& image, int x, int y) {
  const QRgb c = image.pixel(x, y);
  return RGB(uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c)));
}

}  // namespace tw::test
