// TOwnPointer: the program's own pointer, for platforms where a program
// cannot move the real one (on Wayland QCursor::setPos does nothing). The
// arrow keys then steer this pointer instead: it keeps its own position in
// the program's global coordinates, stays inside the program's windows, and
// is drawn there as the pointer of the widget under it (the current tool's
// colour cursor over the picture, the hand over a button), while the real
// pointer is hidden over the program's windows.
//
// The platform reports no motion for a position it did not move to, so the
// button emulator delivers the hover moves, entries and leaves itself
// (PlatformReportsMoves is false). When the real mouse moves, the own
// pointer jumps to it and is no longer drawn, until the keys steer again.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <memory>

#include "app/SendMouseU.h"

class QWidget;

namespace tw {

class TPointerMark;

class TOwnPointer final : public QObject, public IPointer {
  Q_OBJECT

 public:
  TOwnPointer();
  ~TOwnPointer() override;

  // Where the pointer is; before anything placed it, the middle of the
  // active window.
  QPoint Pos() const override;
  // Moves the pointer to Global, held inside the program's window there (or
  // inside the window it is in now when Global is outside them all), and
  // draws it. A move to where it already is only redraws it, so a changed
  // tool pointer shows at once.
  void SetPos(const QPoint& Global) override;
  bool PlatformReportsMoves() const override { return false; }

  // Whether the pointer is drawn now, and in which window.
  bool Drawn() const;
  QWidget* DrawnIn() const;

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  void Draw();
  void Hide();
  void HideRealPointer(bool Hide);

  mutable QPoint FPos;
  mutable bool FPlaced = false;
  // Drawn until the real mouse moves; steering draws it again.
  bool FSteered = true;
  bool FRealHidden = false;
  QPointer<TPointerMark> FMark;
};

// The pointer the arrow keys steer on this platform: the screen cursor where
// the program can move it, its own pointer where it cannot (Wayland).
std::unique_ptr<IPointer> CreatePlatformPointer();

}  // namespace tw
