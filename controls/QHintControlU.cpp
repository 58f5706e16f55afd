#include "controls/QHintControlU.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPointer>
#include <cmath>

namespace tw {

TQHintControl::TQHintControl(QWidget* parent)
    : QWidget(parent),
      FHintTimer(*this),
      OnShowHint(FHintTimer.OnShowHint),
      OnHideHint(FHintTimer.OnHideHint) {}

TQHintControl::~TQHintControl() = default;

void TQHintControl::SetHint(const QString& Value) {
  FHint = Value;
  // A wait begun under the old key must not end in a show request for a
  // control that no longer has a hint.
  if (FHint.isEmpty()) FHintTimer.Cancel();
}

void TQHintControl::Click() {
  if (!FHint.isEmpty()) FHintTimer.Hide();
  if (OnClick) OnClick(*this);
}

void TQHintControl::enterEvent(QEnterEvent* event) {
  if (!FHint.isEmpty()) FHintTimer.Restart();
  QWidget::enterEvent(event);
}

void TQHintControl::leaveEvent(QEvent* event) {
  if (!FHint.isEmpty()) FHintTimer.Hide();
  QWidget::leaveEvent(event);
}

QPoint TQHintControl::EventPosition(const QMouseEvent* event) {
  const QPointF p = event->position();
  return QPoint(int(std::floor(p.x())), int(std::floor(p.y())));
}

void TQHintControl::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) FClickPending = true;
  if (OnMouseDown) {
    const QPoint p = EventPosition(event);
    OnMouseDown(*this, event->button(), event->buttons(), event->modifiers(), p.x(), p.y());
  }
}

void TQHintControl::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const bool clicked = FClickPending && rect().contains(EventPosition(event));
  FClickPending = false;
  if (clicked) Click();
}

}  // namespace tw
