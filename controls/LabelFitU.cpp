// The search for a fitting font size and the fits the dialogs use.
#include "controls/LabelFitU.h"

#include <QFontMetrics>
#include <QLabel>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "controls/QImgButtonU.h"

namespace tw {

namespace {

// The space kept free on either side of a button's caption, so it never
// touches the artwork's rounded ends, also when drawn 2 pixels to the right
// while down.
constexpr int ButtonCaptionMargin = 6;

}  // namespace

int LargestFittingPixelSize(QFont Font, int MaxPixelSize, int MinPixelSize,
                            const std::function<bool(const QFont&)>& Fits) {
  for (int Size = MaxPixelSize; Size > MinPixelSize; --Size) {
    Font.setPixelSize(Size);
    if (Fits(Font)) return Size;
  }
  return std::min(MaxPixelSize, MinPixelSize);
}

bool TextFits(const QFont& Font, int Flags, const QString& Text, int Width, int Height) {
  if (Text.isEmpty()) return true;
  const QRect Needed = QFontMetrics(Font).boundingRect(QRect(0, 0, Width, Height), Flags, Text);
  return Needed.width() <= Width && Needed.height() <= Height;
}

bool TextInkFits(const QFont& Font, const QSize& Box, Qt::Alignment Align, const QString& Text) {
  const QFontMetrics Metrics(Font);
  const QRect Lines = Metrics.boundingRect(QRect(QPoint(0, 0), Box),
                                           int(Align) | Qt::TextWordWrap, Text);
  if (Lines.left() < 0 || Lines.right() >= Box.width()) return false;
  const int LineCount =
      std::max(1, int(std::lround(double(Lines.height()) / Metrics.lineSpacing())));
  // The ink of all the letters around one baseline: its top is negative.
  const QRect Ink = Metrics.tightBoundingRect(Text);
  const int FirstBaseline = Lines.top() + Metrics.ascent();
  const int InkTop = FirstBaseline + Ink.top();
  const int InkBottom = FirstBaseline + (LineCount - 1) * Metrics.lineSpacing() + Ink.bottom();
  return InkTop >= 0 && InkBottom < Box.height();
}

void FitLabelFont(QLabel* Label, int MaxPixelSize) {
  QFont Font = Label->font();
  int Flags = int(Label->alignment());
  if (Label->wordWrap()) Flags |= Qt::TextWordWrap;
  const QRect Area = Label->contentsRect();
  const QString Text = Label->text();
  Font.setPixelSize(LargestFittingPixelSize(
      Font, MaxPixelSize, MinFittedPixelSize, [&](const QFont& Candidate) {
        return TextFits(Candidate, Flags, Text, Area.width(), Area.height());
      }));
  Label->setFont(Font);
}

bool TextFitsDesign(const QFont& Font, int Flags, const QString& Text, const QRect& Design) {
  const QFontMetrics Metrics(Font);
  const int Room = std::max(Design.height(), Metrics.height());
  const QRect Needed =
      Metrics.boundingRect(QRect(0, 0, Design.width(), QWIDGETSIZE_MAX), Flags, Text);
  return Needed.width() <= Design.width() && Needed.height() <= Room;
}

void FitLabelToDesign(QLabel* Label, const QRect& Design, int MaxPixelSize, int MinPixelSize) {
  QFont Font = Label->font();
  const int Flags = int(Label->alignment()) | (Label->wordWrap() ? int(Qt::TextWordWrap) : 0);
  const QString Text = Label->text();
  Font.setPixelSize(
      LargestFittingPixelSize(Font, MaxPixelSize, MinPixelSize, [&](const QFont& Candidate) {
        return TextFitsDesign(Candidate, Flags, Text, Design);
      }));
  const int Lines = QFontMetrics(Font)
                        .boundingRect(QRect(0, 0, Design.width(), QWIDGETSIZE_MAX), Flags, Text)
                        .height();
  const int Grow = std::max(0, Lines - Design.height());
  Label->setFont(Font);
  Label->setGeometry(Design.adjusted(0, -(Grow / 2), 0, Grow - Grow / 2));
}

void FitButtonFont(TQImgButton* Button, int MaxPixelSize) {
  QFont Font = Button->Font();
  const QString Caption = Button->Caption();
  const int Width = Button->width() - 2 * ButtonCaptionMargin;
  const int Height = Button->height();
  Font.setPixelSize(LargestFittingPixelSize(
      Font, MaxPixelSize, MinFittedPixelSize, [&](const QFont& Candidate) {
        return TextFits(Candidate, Qt::AlignCenter, Caption, Width, Height);
      }));
  Button->SetFont(Font);
}

}  // namespace tw
