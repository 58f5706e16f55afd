// TQBubbleHint: the speech-bubble hint window. It holds the bubble's texts
// (bold title, subtitle, wrapped information), one picture per direction,
// the margins of the text area, and places itself next to a control so it
// always extends towards the middle of the main window.
//
// The window is a frameless pop-up owned by the main window that never takes
// focus or mouse input, so the control under it keeps its hover. It is a
// tool-tip kind of window: placed exactly where asked without the window
// manager's say, never activated, and on Wayland a pop-up positioned
// relative to the main window. Its
// background is translucent (the art's alpha shows the main window beneath
// where a compositor runs) and, in addition, the window is always shaped by
// a mask cut from the art's alpha at half opacity: without a compositor the
// transparent pixels would otherwise turn black. With a compositor the mask
// only trims the faintest edge pixels of the art.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "controls/QHintU.h"

namespace tw {

// One line of text drawn in the bubble: top left corner in bubble
// coordinates, and whether it is drawn in the bold font.
struct TQBubbleLine {
  QString Text;
  int X = 0;
  int Y = 0;
  bool Bold = false;
};

// Breaks an information text into the pieces drawn on successive lines for
// a text area `Width` pixels wide, `TextWidth` measuring a piece. Lines
// break at CR LF, CR and LF; a line is cut at its last space that leaves a
// piece narrower than Width, dropping the spaces just before the cut and
// exactly one character after the piece; a single word wider than Width is
// a piece of its own.
std::vector<QString> WrapHintText(const QString& Text, int Width,
                                  const std::function<int(const QString&)>& TextWidth);

class TQBubbleHint : public QWidget {
  Q_OBJECT

 public:
  // The bubble is placed against MainWindow and is owned by it; it takes
  // the main window's font and text colour.
  explicit TQBubbleHint(QWidget* MainWindow);
  ~TQBubbleHint() override;

  QWidget* MainWindow() const { return FMainWindow; }

  const QString& TextTitle() const { return FTextTitle; }
  void SetTextTitle(const QString& Value);
  const QString& TextSubtitle() const { return FTextSubtitle; }
  void SetTextSubtitle(const QString& Value);
  const QString& TextInfo() const { return FTextInfo; }
  void SetTextInfo(const QString& Value);

  // The art of each direction (copied). Only the art of the current Dir is
  // drawn, scaled to the bubble.
  const QImage& Picture(TQHintDir Dir) const { return FPictures[Dir]; }
  void SetPicture(TQHintDir Dir, const QImage& Value);
  const QImage& PicUpRight() const { return FPictures[dirUpRight]; }
  void SetPicUpRight(const QImage& Value) { SetPicture(dirUpRight, Value); }
  const QImage& PicUpLeft() const { return FPictures[dirUpLeft]; }
  void SetPicUpLeft(const QImage& Value) { SetPicture(dirUpLeft, Value); }
  const QImage& PicDownRight() const { return FPictures[dirDownRight]; }
  void SetPicDownRight(const QImage& Value) { SetPicture(dirDownRight, Value); }
  const QImage& PicDownLeft() const { return FPictures[dirDownLeft]; }
  void SetPicDownLeft(const QImage& Value) { SetPicture(dirDownLeft, Value); }

  // Sizes the bubble to that direction's art, keeping its left and top.
  TQHintDir Dir() const { return FDir; }
  void SetDir(TQHintDir Value);

  // Distances from the art's edges to the text area, as seen on the
  // dirUpRight art; the other directions mirror them with their art.
  int MarginLeft() const { return FMarginLeft; }
  void SetMarginLeft(int Value);
  int MarginTop() const { return FMarginTop; }
  void SetMarginTop(int Value);
  int MarginBottom() const { return FMarginBottom; }
  void SetMarginBottom(int Value);
  int MarginRight() const { return FMarginRight; }
  void SetMarginRight(int Value);
  // Gap after the title and after the subtitle.
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  // How far the bubble reaches into the control's rectangle.
  int Overlap() const { return FOverlap; }
  void SetOverlap(int Value);

  // Chooses Dir for a control whose bounds are Rect (in the main window's
  // coordinates, right and bottom exclusive as x + width, y + height) and
  // moves the bubble beside it, towards the middle of the main window. The
  // bubble is not kept inside the screen or the main window.
  void PlaceNear(const QRect& Rect);

  // The text area for the current Dir, in bubble coordinates.
  QRect TextArea() const;
  // Every line the bubble draws now, top to bottom.
  std::vector<TQBubbleLine> TextLayout() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ArtChanged();
  QFont TitleFont() const;
  QFont TextFont() const;
  // The information text's font: TextFont, smaller where the text would
  // not fit the text area otherwise.
  QFont InfoFont() const;

  QWidget* FMainWindow;
  QString FTextTitle;
  std::array<QImage, 4> FPictures;
  TQHintDir FDir = dirUpRight;
  int FMarginLeft = 0;
  int FMarginTop = 0;
  int FMarginBottom = 0;
  int FMarginRight = 0;
  QString FTextInfo;
  QString FTextSubtitle;
  int FSpacing = 0;
  int FOverlap = 0;
};

}  // namespace tw
