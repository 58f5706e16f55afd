// TPointerMark: the picture of the program's own pointer, a small widget on
// top of a window's controls, placed so that the pointer's hot spot is at a
// point of the window. It never takes the mouse, so the controls under it
// are found and reached as if it were not there.
#pragma once

#include <QCursor>
#include <QPixmap>
#include <QWidget>

namespace tw {

// The picture a pointer shows and its hot spot: the pointer's own picture,
// or for the desktop's shapes the program's hand, arrow or not-allowed
// pointer, or a plain arrow drawn here when those are not installed.
QPixmap PointerPicture(const QCursor& Cursor, QPoint& HotSpot);

class TPointerMark final : public QWidget {
  Q_OBJECT

 public:
  explicit TPointerMark(QWidget* Window);

  // Shows Cursor's picture with its hot spot at At (in Window's
  // coordinates), in Window and above all its controls.
  void ShowAt(QWidget* Window, const QPoint& At, const QCursor& Cursor);

 protected:
  void paintEvent(QPaintEvent* Event) override;

 private:
  QPixmap FPicture;
};

}  // namespace tw
