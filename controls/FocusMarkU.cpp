#include "controls/FocusMarkU.h"

#include <QEvent>
#include <QPainter>

namespace tw {

TFocusMark::TFocusMark(QWidget* Dialog) : QWidget(Dialog) {
  setObjectName(QStringLiteral("FocusMark"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  hide();
}

TFocusMark::~TFocusMark() { Watch(false); }

void TFocusMark::SetTarget(QWidget* Control) {
  if (Control == FTarget) {
    Place();
    return;
  }
  Watch(false);
  FTarget = Control;
  Watch(true);
  Place();
}

void TFocusMark::Watch(bool On) {
  // The control and every parent up to the dialog: any of them moving or
  // hiding moves or hides the control on the dialog.
  for (QWidget* w = FTarget.data(); w && w != parentWidget(); w = w->parentWidget()) {
    if (On)
      w->installEventFilter(this);
    else
      w->removeEventFilter(this);
  }
}

void TFocusMark::Place() {
  QWidget* Dialog = parentWidget();
  if (!FTarget || !Dialog || !FTarget->isVisibleTo(Dialog)) {
    hide();
    return;
  }
  const int Grow = RingWidth + Gap;
  const QRect Area(FTarget->mapTo(Dialog, QPoint(0, 0)), FTarget->size());
  setGeometry(Area.adjusted(-Grow, -Grow, Grow, Grow));
  // Only the ring itself covers the dialog, so the control under it keeps
  // painting itself as usual.
  const QRegion Outer(rect());
  setMask(Outer.subtracted(QRegion(rect().adjusted(RingWidth, RingWidth, -RingWidth, -RingWidth))));
  raise();
  show();
  update();
}

bool TFocusMark::eventFilter(QObject* Watched, QEvent* Event) {
  switch (Event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
      Place();
      break;
    default:
      break;
  }
  return QWidget::eventFilter(Watched, Event);
}

void TFocusMark::paintEvent(QPaintEvent*) {
  QPainter Painter(this);
  Painter.fillRect(rect(), FocusRingEdge);
  Painter.fillRect(rect().adjusted(1, 1, -1, -1), FocusRingCore);
  Painter.fillRect(rect().adjusted(RingWidth - 1, RingWidth - 1, 1 - RingWidth, 1 - RingWidth),
                   FocusRingEdge);
}

}  // namespace tw
