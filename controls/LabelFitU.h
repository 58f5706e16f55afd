// Fitting a text to the box it is drawn in. A label or caption keeps its
// design font size while its text fits and shrinks one pixel at a time,
// down to a smallest readable size, where a long text (a German or Russian
// prompt, a long picture description, a deep folder) would overflow. Every
// control and dialog that shrinks a text searches its size here; they
// differ only in what has to stay inside the box: the line boxes, or only
// the ink where the interface font's lines are much taller than its
// letters (room for stacked accents).
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>

class QLabel;

namespace tw {

class TQImgButton;

// The smallest pixel size a fitted text shrinks to; below it the text would
// be too small to read, so a text that still does not fit is cut off.
constexpr int MinFittedPixelSize = 9;

// The largest pixel size from MaxPixelSize down to MinPixelSize at which
// Fits holds for Font at that size. MinPixelSize itself is taken without
// asking, as the last resort; a MaxPixelSize at or below it is kept.
int LargestFittingPixelSize(QFont Font, int MaxPixelSize, int MinPixelSize,
                            const std::function<bool(const QFont&)>& Fits);

// Whether Text, drawn with Font and Flags (alignment, Qt::TextWordWrap),
// fits a Width x Height rectangle, line boxes included.
bool TextFits(const QFont& Font, int Flags, const QString& Text, int Width, int Height);
// Whether Text, laid out word-wrapped with Align, keeps its letters' ink
// inside a box of that size.
bool TextInkFits(const QFont& Font, const QSize& Box, Qt::Alignment Align, const QString& Text);

// Whether Text, drawn with Font and Flags, fits Design's width in at most
// the lines Design's height holds, one at least.
bool TextFitsDesign(const QFont& Font, int Flags, const QString& Text, const QRect& Design);

// Gives Label the largest font, at most MaxPixelSize pixels, at which its
// text, line boxes included, fits its current size with its alignment and
// word wrap.
void FitLabelFont(QLabel* Label, int MaxPixelSize);
// As FitLabelFont for a label whose Design rectangle is lower than one line
// of the interface font: the text has to fit Design (TextFitsDesign), and
// the label grows around Design, evenly up and down, to hold its lines.
void FitLabelToDesign(QLabel* Label, const QRect& Design, int MaxPixelSize,
                      int MinPixelSize = MinFittedPixelSize);
// Gives Button the largest font, at most MaxPixelSize pixels, at which its
// caption fits on the button with a margin on either side, also when it is
// drawn shifted while down.
void FitButtonFont(TQImgButton* Button, int MaxPixelSize);

}  // namespace tw
