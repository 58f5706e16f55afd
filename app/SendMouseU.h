// The emulated left mouse button: the space bar presses and releases it, the
// arrow keys move the pointer while it is held.
//
// Design. A program cannot press the real button of a Linux desktop (X11 has
// no portable way without an extension, Wayland none at all), so the
// emulator feeds the equivalent events to the widget under the pointer
// itself, as ordinary QMouseEvents sent through the application:
// - Press: the widget under the pointer (QApplication::widgetAt) gets a
//   left-button press at the pointer's position mapped into it. Qt's usual
//   delivery applies: a widget that ignores the press passes it to its
//   parent, a disabled widget never sees it, and widgetAt looks through
//   windows that are transparent for the mouse (the bubble hint) where the
//   platform reports window shapes (X11). A widget of a window blocked by
//   an application-modal dialog gets nothing, as with the real button.
// - While held: the real button makes Qt send every move, with the left
//   button in buttons(), to the widget that took the press (the implicit
//   grab). The emulator does the same: after each steering step it sends a
//   move with Qt::LeftButton held to the pressed widget, so the painter
//   paints a stroke and a slider thumb follows.
// - Release: the pressed widget gets the left-button release at the
//   pointer's position, wherever the pointer is now; a button clicks only
//   when the release is still over it, as with the real button.
// - Quick presses stay plain presses (no double-click event is made up):
//   Qt turns an unhandled double-click into a press anyway, and the
//   program's buttons count every press.
//
// Moving the pointer with QCursor::setPos makes the platform report motion
// events without any button. While the emulated button is held, an
// application event filter takes every such buttonless motion event away
// from the widgets of the pressed widget's window (so hover handling there
// cannot steal or end the drag, and no widget sees a buttonless move in the
// middle of a drag; other windows, such as a dialog the press opened, keep
// their moves). An
// echo of a position the emulator moved to itself is dropped, since that
// move was already delivered; any other one (the real mouse was moved while
// Space is held) is delivered to the pressed widget as a move with the
// button held, exactly like dragging the real mouse with the button down.
//
// The pointer itself is reached through IPointer: the real one is the
// screen cursor; where the platform cannot move it, the program's own
// pointer (OwnPointerU); tests may use a stand-in whose position the
// emulator then treats as the pointer's. A pointer whose moves the platform
// does not report gets the hover from the emulator: after each steering step
// with the button up, the widgets the pointer left get a Leave, those it
// entered an Enter, and the widget under it that tracks the mouse a move
// without buttons, as the platform gives them for the real pointer.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <deque>

class QWidget;

namespace tw {

// The mouse pointer's position in global (screen) coordinates.
class IPointer {
 public:
  virtual ~IPointer() = default;
  virtual QPoint Pos() const = 0;
  virtual void SetPos(const QPoint& global) = 0;
  // Whether the platform reports moving this pointer with motion, entry and
  // leave events, as it does for the screen cursor.
  virtual bool PlatformReportsMoves() const { return true; }
};

// The screen cursor: QCursor::pos / QCursor::setPos.
class TCursorPointer final : public IPointer {
 public:
  QPoint Pos() const override;
  void SetPos(const QPoint& global) override;
};

class TMouseButtonEmulator : public QObject {
  Q_OBJECT

 public:
  explicit TMouseButtonEmulator(IPointer& pointer, QObject* parent = nullptr);
  ~TMouseButtonEmulator() override;

  // down: a left-button press to the widget under the pointer; otherwise
  // the release to the widget that took the press. A second press without a
  // release, or a release without a press, does nothing.
  void SendMouseButton(bool down);
  // The pointer was moved (by steering): while the button is held, the
  // pressed widget gets a move with the button held at the new position.
  void PointerMoved();

  bool ButtonDown() const { return FDown; }
  // The widget that took the press; null when the button is up or that
  // widget is gone.
  QWidget* PressedWidget() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Sends a mouse event of the left button to the pressed widget at a
  // global position.
  void Deliver(int type, const QPoint& global);
  void SetFiltering(bool on);
  // Hover for a pointer the platform does not report: Enter, Leave and a
  // buttonless move, as the widget under the pointer changes.
  void Hover(const QPoint& global);

  QPointer<QWidget> FHovered;

  IPointer& FPointer;
  bool FDown = false;
  bool FFiltering = false;
  QPointer<QWidget> FPressed;
  // Positions the emulator moved to and delivered, whose motion events from
  // the platform may still arrive; bounded, since some platforms never
  // report them.
  std::deque<QPoint> FOwnMoves;
};

}  // namespace tw
