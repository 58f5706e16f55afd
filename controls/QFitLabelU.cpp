#include "controls/QFitLabelU.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "controls/LabelFitU.h"

namespace tw {

namespace {

// The baseline that centres the band from the ascenders' top to the
// descenders' bottom on a box Height pixels high. The band is measured on
// the letters themselves: the interface font's ascent and descent leave
// room for stacked accents and would push the line off centre.
int CentredBaseline(const QFontMetrics& Metrics, int Height) {
  const int Above = -Metrics.tightBoundingRect(QStringLiteral("bdfhkl")).top();
  const int Below = Metrics.tightBoundingRect(QStringLiteral("gjpqy")).bottom() + 1;
  return (Height - Above - Below + 1) / 2 + Above;
}

// Whether Text's ink, on Baseline, stays inside a box of Width x Height
// with a pixel to spare above and below (the box's edge rows are where a
// plate's outline begins to blend in).
bool InkFits(const QFontMetrics& Metrics, const QString& Text, int Baseline, int Width,
             int Height) {
  if (Metrics.horizontalAdvance(Text) > Width) return false;
  const QRect Ink = Metrics.tightBoundingRect(Text);
  return Baseline + Ink.top() >= 1 && Baseline + Ink.bottom() < Height - 1;
}

}  // namespace

TQFitLabel::TQFitLabel(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

void TQFitLabel::SetMinPixelSize(int Value) {
  FMinPixelSize = std::max(1, Value);
  update();
}

QString TQFitLabel::ShownText() const { return Fit().Text; }

QFont TQFitLabel::ShownFont() const { return Fit().Font; }

TQFitLabel::TFitted TQFitLabel::Fit() const {
  const QRect Box = contentsRect();
  TFitted Result{font(), text(), 0};
  // A font set in points has no pixel size to step down from.
  int Size = Result.Font.pixelSize() > 0 ? Result.Font.pixelSize()
                                         : QFontMetrics(Result.Font).height();
  const int Smallest = std::min(Size, FMinPixelSize);
  const QString Text = text();
  Size = LargestFittingPixelSize(Result.Font, Size, Smallest, [&](const QFont& Candidate) {
    const QFontMetrics Metrics(Candidate);
    return InkFits(Metrics, Text, CentredBaseline(Metrics, Box.height()), Box.width(),
                   Box.height());
  });
  Result.Font.setPixelSize(Size);
  const QFontMetrics Metrics(Result.Font);
  Result.Baseline = CentredBaseline(Metrics, Box.height());
  if (Size <= Smallest) Result.Text = Metrics.elidedText(Text, Qt::ElideRight, Box.width());
  return Result;
}

void TQFitLabel::paintEvent(QPaintEvent*) {
  if (text().isEmpty()) return;
  const TFitted Shown = Fit();
  const QRect Box = contentsRect();
  QPainter Painter(this);
  Painter.setFont(Shown.Font);
  Painter.setPen(palette().color(QPalette::WindowText));
  const int Width = QFontMetrics(Shown.Font).horizontalAdvance(Shown.Text);
  int Left = Box.left();
  if (alignment() & Qt::AlignHCenter) Left += std::max(0, (Box.width() - Width) / 2);
  if (alignment() & Qt::AlignRight) Left += std::max(0, Box.width() - Width);
  Painter.drawText(QPoint(Left, Box.top() + Shown.Baseline), Shown.Text);
}

}  // namespace tw
