#include "app/PageProgressU.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "pictures/qt/ArtResourceU.h"

namespace tw {

namespace {

const QColor Veil(253, 245, 232, 200);
const QColor PlateFace(255, 255, 255);
const QColor PlateEdge(196, 186, 168);
const QColor BarTrack(238, 232, 220);
const QColor BarFill(46, 160, 67);
const QColor TextColor(60, 50, 40);

constexpr int PlateWidth = 360;
constexpr int PlateHeight = 120;
constexpr int BarHeight = 18;
constexpr int Margin = 24;

}  // namespace

TPageProgress::TPageProgress(QWidget* Parent) : QWidget(Parent) {
  setObjectName("pageProgress");
  hide();
}

void TPageProgress::Reset() {
  FShare = 0;
  update();
}

void TPageProgress::Open(const QString& Text) {
  FText = Text;
  if (parentWidget()) setGeometry(parentWidget()->rect());
  raise();
  show();
  update();
}

void TPageProgress::SetShare(double Share) {
  const double Clamped = std::clamp(Share, 0.0, 1.0);
  if (Clamped <= FShare) return;
  FShare = Clamped;
  update(BarRect());
}

QRect TPageProgress::PlateRect() const {
  const int Width = std::min(PlateWidth, std::max(0, width() - 2 * Margin));
  return QRect((width() - Width) / 2, (height() - PlateHeight) / 2, Width, PlateHeight);
}

QRect TPageProgress::BarRect() const {
  const QRect Plate = PlateRect();
  return QRect(Plate.left() + Margin, Plate.bottom() - Margin - BarHeight + 1,
               std::max(0, Plate.width() - 2 * Margin), BarHeight);
}

void TPageProgress::paintEvent(QPaintEvent*) {
  QPainter Canvas(this);
  Canvas.fillRect(rect(), Veil);
  Canvas.setRenderHint(QPainter::Antialiasing);
  const QRect Plate = PlateRect();
  Canvas.setPen(QPen(PlateEdge, 2));
  Canvas.setBrush(PlateFace);
  Canvas.drawRoundedRect(QRectF(Plate).adjusted(1, 1, -1, -1), 14, 14);

  QFont Font(InterfaceFontFamily());
  Font.setPixelSize(16);
  Font.setBold(true);
  Canvas.setFont(Font);
  Canvas.setPen(TextColor);
  const QRect TextBox(Plate.left() + Margin, Plate.top() + 12, Plate.width() - 2 * Margin,
                      BarRect().top() - Plate.top() - 12);
  Canvas.drawText(TextBox, Qt::AlignCenter | Qt::TextWordWrap, FText);

  const QRect Bar = BarRect();
  Canvas.setPen(Qt::NoPen);
  Canvas.setBrush(BarTrack);
  Canvas.drawRoundedRect(QRectF(Bar), BarHeight / 2.0, BarHeight / 2.0);
  if (FShare > 0) {
    QRectF Done(Bar);
    Done.setWidth(std::max(double(BarHeight), Bar.width() * FShare));
    Canvas.setBrush(BarFill);
    Canvas.drawRoundedRect(Done, BarHeight / 2.0, BarHeight / 2.0);
  }
}

}  // namespace tw
