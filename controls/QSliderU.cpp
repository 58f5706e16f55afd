#include "controls/QSliderU.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <limits>

#include "pictures/qt/ArtResourceU.h"

namespace tw {

TQSlider::TQSlider(QWidget* parent) : TQHintControl(parent) {}

TQSlider::~TQSlider() = default;

void TQSlider::SetMinValue(int32_t Value) {
  FMinValue = Value;
  update();
}

void TQSlider::SetMaxValue(int32_t Value) {
  FMaxValue = Value;
  update();
}

void TQSlider::SetValue(int32_t Value) {
  if (Value >= FMaxValue)
    FValue = FMaxValue;
  else if (Value <= FMinValue)
    FValue = FMinValue;
  else
    FValue = Value;
  update();
}

void TQSlider::SetPicBackground(const QImage& Value) {
  FPicBackground = Value;
  update();
}

void TQSlider::SetPicThumb(const QImage& Value) {
  FPicThumb = Value;
  update();
}

bool TQSlider::HasTravel() const {
  return FMaxValue > FMinValue && width() - DesignSize(FPicThumb).width() > 0;
}

int TQSlider::ThumbLeft() const {
  if (!HasTravel()) return 0;
  // 64-bit, so neither the range nor the product can overflow; the result
  // lies between 0 and W - tw.
  const int64_t travel = width() - DesignSize(FPicThumb).width();
  const int64_t product = travel * (int64_t(FValue) - FMinValue);
  return Nearest(double(product) / double(int64_t(FMaxValue) - FMinValue));
}

QRect TQSlider::ThumbRect() const {
  const int top = (height() - DesignSize(FPicThumb).height()) / 2;
  return QRect(ThumbLeft(), top, DesignSize(FPicThumb).width(), DesignSize(FPicThumb).height());
}

int32_t TQSlider::ValueAt(int x) const {
  if (!HasTravel()) return FMinValue;
  const double travel = width() - DesignSize(FPicThumb).width();
  const double value = double(x) * double(int64_t(FMaxValue) - FMinValue) / travel + FMinValue;
  // A pointer far outside a wide range could leave the 32-bit range.
  constexpr double lo = std::numeric_limits<int32_t>::min();
  constexpr double hi = std::numeric_limits<int32_t>::max();
  return Nearest(std::clamp(value, lo, hi));
}

bool TQSlider::event(QEvent* event) {
  // A window that loses activation loses the mouse too, so no release may
  // come; the drag ends here rather than following a later hover.
  if (event->type() == QEvent::WindowDeactivate) FDragging = false;
  return TQHintControl::event(event);
}

void TQSlider::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (DesignSize(FPicBackground).width() > 0)
    painter.drawImage((width() - DesignSize(FPicBackground).width()) / 2,
                      (height() - DesignSize(FPicBackground).height()) / 2, FPicBackground);
  if (DesignSize(FPicThumb).width() > 0) painter.drawImage(ThumbRect().topLeft(), FPicThumb);
}

void TQSlider::keyPressEvent(QKeyEvent* event) {
  int direction = 0;
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down: direction = -1; break;
    case Qt::Key_Right:
    case Qt::Key_Up: direction = 1; break;
    default: TQHintControl::keyPressEvent(event); return;
  }
  // An empty range has nowhere to go, but the key still counts as used.
  const int64_t range = int64_t(FMaxValue) - FMinValue;
  if (range > 0) {
    const int64_t step = std::max<int64_t>(1, range / 20);
    SetValue(int32_t(std::clamp<int64_t>(FValue + direction * step, FMinValue, FMaxValue)));
  }
  if (OnChanging) OnChanging(*this);
  if (OnChange) OnChange(*this);
  event->accept();
}

void TQSlider::mousePressEvent(QMouseEvent* event) {
  TQHintControl::mousePressEvent(event);
  if (ThumbRect().contains(EventPosition(event))) FDragging = true;
}

void TQSlider::mouseMoveEvent(QMouseEvent* event) {
  if (FDragging) {
    SetValue(ValueAt(EventPosition(event).x()));
    if (OnChanging) OnChanging(*this);
  }
  TQHintControl::mouseMoveEvent(event);
}

void TQSlider::mouseReleaseEvent(QMouseEvent* event) {
  FDragging = false;
  SetValue(ValueAt(EventPosition(event).x()));
  if (OnChange) OnChange(*this);
  TQHintControl::mouseReleaseEvent(event);
}

}  // namespace tw
