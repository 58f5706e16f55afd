// TfrmQBase: the base of every window of the program. A frameless top-level
// window whose whole surface is nine-slice art; a chosen rectangle acts as
// its title bar (drag to move, double-click to maximise) and, when it is
// resizable, a 4-pixel band along its edges resizes it. Moving and resizing
// are handed to the window system; where it refuses (no window manager, the
// offscreen platform) the window follows the mouse by itself. Runs the
// overridable DeferredInit once, after the window is first shown.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include "controls/QSlice9U.h"

namespace tw {

// What lies under a point of a skinned window.
enum THitTest {
  htClient,   // the window's own surface: no move or resize
  htCaption,  // the title bar: dragging moves the window
  htLeft,
  htRight,
  htTop,
  htTopLeft,
  htTopRight,
  htBottom,
  htBottomLeft,
  htBottomRight,
};

class TfrmQBase : public QWidget, public TSlice9Skin {
  Q_OBJECT

 public:
  // The width of the resize bands along the edges, in pixels.
  static constexpr int ResizeBand = 4;

  explicit TfrmQBase(QWidget* parent = nullptr);

  // The edge bands resize the window. False by default.
  bool Resizable() const { return FResizable; }
  void SetResizable(bool Value);

  // The title bar, in window coordinates; empty by default, so the window
  // cannot be dragged.
  QRect CaptionRect() const { return FCaptionRect; }
  void SetCaptionRect(const QRect& Value) { FCaptionRect = Value; }

  // What lies under Pos (window coordinates): the title bar when Pos is in
  // CaptionRect; else, on a resizable window that is not maximised, the
  // edge or corner whose band(s) Pos lies in (left x < 4, right x >= W - 4,
  // top y < 4, bottom y >= H - 4); else the client area.
  THitTest HitTest(QPoint Pos) const;

  // Maximises the window when it is not maximised, otherwise returns it to
  // its normal size.
  void ToggleMaximize();

  // Whether DeferredInit has run.
  bool DeferredInitDone() const { return FDeferredInitDone; }

  // The resize cursor of a zone; the arrow for the client area and title bar.
  static Qt::CursorShape ZoneCursor(THitTest Zone);

 protected:
  // Runs once, through a queued call posted when the window is first shown,
  // so it runs when the event loop (for a modal dialog, its modal loop)
  // first processes the window's events. Empty here; the main window and
  // dialogs override it for their first layout.
  virtual void DeferredInit() {}
  // A press and release of the left button on the title bar without a
  // move in between (Pos in window coordinates). Empty here.
  virtual void CaptionClicked(QPoint Pos) { (void)Pos; }

  void SliceChanged() override;

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void RunDeferredInit();
  // Starts the window system's move or resize for FDragZone; false when it
  // refuses, and the window then follows the mouse by itself.
  bool StartSystemDrag();
  void DragByHand(QPoint GlobalPos);
  void ShowZoneCursor(THitTest Zone);

  bool FResizable = false;
  QRect FCaptionRect;
  bool FDeferredInitPosted = false;
  bool FDeferredInitDone = false;

  // A press of the left button on the title bar or a resize band: the zone,
  // where the pointer was and the window's geometry then.
  THitTest FDragZone = htClient;
  bool FDragStarted = false;
  bool FDragByHand = false;
  bool FZoneCursorShown = false;
  QPoint FDragStartPos;
  QRect FDragStartGeometry;
};

}  // namespace tw
