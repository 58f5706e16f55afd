#include "app/PointerMarkU.h"

#include <QPainter>
#include <QPainterPath>

#include "palette/qt/CursorTableU.h"

namespace tw {
namespace {

// The program pointer standing in for a desktop shape.
TProgramCursor ProgramShape(Qt::CursorShape Shape) {
  switch (Shape) {
    case Qt::PointingHandCursor:
    case Qt::OpenHandCursor:
    case Qt::ClosedHandCursor: return TProgramCursor::Hand;
    case Qt::ForbiddenCursor: return TProgramCursor::No;
    default: return TProgramCursor::Arrow;
  }
}

// A white arrow with a dark edge, its tip at (1, 1).
QPixmap PlainArrow() {
  QPixmap picture(20, 28);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  QPainterPath arrow;
  arrow.moveTo(1.5, 1.5);
  arrow.lineTo(1.5, 22);
  arrow.lineTo(6.5, 17);
  arrow.lineTo(10.5, 26);
  arrow.lineTo(14, 24.5);
  arrow.lineTo(10, 15.5);
  arrow.lineTo(17, 15.5);
  arrow.closeSubpath();
  painter.setPen(QPen(QColor(20, 20, 20), 1.5));
  painter.setBrush(Qt::white);
  painter.drawPath(arrow);
  return picture;
}

}  // namespace

QPixmap PointerPicture(const QCursor& Cursor, QPoint& HotSpot) {
  if (Cursor.shape() == Qt::BitmapCursor && !Cursor.pixmap().isNull()) {
    HotSpot = Cursor.hotSpot();
    return Cursor.pixmap();
  }
  if (Cursor.shape() != Qt::BitmapCursor) {
    const QCursor program = ProgramCursor(ProgramShape(Cursor.shape()));
    if (program.shape() == Qt::BitmapCursor && !program.pixmap().isNull()) {
      HotSpot = program.hotSpot();
      return program.pixmap();
    }
  }
  HotSpot = QPoint(1, 1);
  return PlainArrow();
}

TPointerMark::TPointerMark(QWidget* Window) : QWidget(Window) {
  setObjectName("PointerMark");
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
}

void TPointerMark::ShowAt(QWidget* Window, const QPoint& At, const QCursor& Cursor) {
  if (parentWidget() != Window) setParent(Window);
  QPoint hotSpot;
  FPicture = PointerPicture(Cursor, hotSpot);
  const QSize size = FPicture.deviceIndependentSize().toSize();
  setGeometry(QRect(At - hotSpot, size));
  raise();
  show();
  update();
}

void TPointerMark::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(QPoint(0, 0), FPicture);
}

}  // namespace tw
