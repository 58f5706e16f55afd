#include "controls/QBaseF.h"

#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>

#include "pictures/qt/ArtResourceU.h"

namespace tw {

namespace {

bool TouchesLeft(THitTest Zone) {
  return Zone == htLeft || Zone == htTopLeft || Zone == htBottomLeft;
}
bool TouchesRight(THitTest Zone) {
  return Zone == htRight || Zone == htTopRight || Zone == htBottomRight;
}
bool TouchesTop(THitTest Zone) { return Zone == htTop || Zone == htTopLeft || Zone == htTopRight; }
bool TouchesBottom(THitTest Zone) {
  return Zone == htBottom || Zone == htBottomLeft || Zone == htBottomRight;
}
bool IsResizeZone(THitTest Zone) { return Zone != htClient && Zone != htCaption; }

}  // namespace

TfrmQBase::TfrmQBase(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
  // Moves without a button show the resize cursors over the bands.
  setMouseTracking(true);
  QFont Font(InterfaceFontFamily());
  Font.setPixelSize(11);
  setFont(Font);
}

void TfrmQBase::SetResizable(bool Value) { FResizable = Value; }

THitTest TfrmQBase::HitTest(QPoint Pos) const {
  if (FCaptionRect.contains(Pos)) return htCaption;
  if (!FResizable || isMaximized()) return htClient;
  const bool Left = Pos.x() < ResizeBand;
  const bool Right = Pos.x() >= width() - ResizeBand;
  const bool Top = Pos.y() < ResizeBand;
  const bool Bottom = Pos.y() >= height() - ResizeBand;
  if (Left) return Top ? htTopLeft : Bottom ? htBottomLeft : htLeft;
  if (Right) return Top ? htTopRight : Bottom ? htBottomRight : htRight;
  if (Top) return htTop;
  if (Bottom) return htBottom;
  return htClient;
}

void TfrmQBase::ToggleMaximize() {
  // A hidden window keeps the state and takes it when shown.
  setWindowState((windowState() & ~Qt::WindowMinimized) ^ Qt::WindowMaximized);
}

Qt::CursorShape TfrmQBase::ZoneCursor(THitTest Zone) {
  switch (Zone) {
    case htLeft:
    case htRight:
      return Qt::SizeHorCursor;
    case htTop:
    case htBottom:
      return Qt::SizeVerCursor;
    case htTopLeft:
    case htBottomRight:
      return Qt::SizeFDiagCursor;
    case htTopRight:
    case htBottomLeft:
      return Qt::SizeBDiagCursor;
    case htClient:
    case htCaption:
      break;
  }
  return Qt::ArrowCursor;
}

void TfrmQBase::SliceChanged() { update(); }

void TfrmQBase::paintEvent(QPaintEvent*) {
  // The window's background colour is already filled in, so a window
  // without a picture shows just that.
  QPainter Canvas(this);
  DrawSlice(Canvas, width(), height());
}

void TfrmQBase::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The art depends on the size everywhere, not only in the new strip.
  update();
}

void TfrmQBase::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!FDeferredInitPosted) {
    FDeferredInitPosted = true;
    QMetaObject::invokeMethod(
        this, [this] { RunDeferredInit(); }, Qt::QueuedConnection);
  }
}

void TfrmQBase::RunDeferredInit() {
  if (FDeferredInitDone) return;
  // Marked first, so a DeferredInit that fails is not run a second time.
  FDeferredInitDone = true;
  DeferredInit();
}

void TfrmQBase::mousePressEvent(QMouseEvent* event) {
  const THitTest Zone =
      event->button() == Qt::LeftButton ? HitTest(event->position().toPoint()) : htClient;
  if (Zone == htClient) {
    QWidget::mousePressEvent(event);
    return;
  }
  // The move or resize starts with the first move of the mouse, not here, so
  // a double-click on the title bar still reaches this window.
  FDragZone = Zone;
  FDragStarted = false;
  FDragByHand = false;
  FDragStartPos = event->globalPosition().toPoint();
  FDragStartGeometry = geometry();
  event->accept();
}

void TfrmQBase::mouseMoveEvent(QMouseEvent* event) {
  // The release can go to the window system after it took over a drag.
  if (FDragZone != htClient && !(event->buttons() & Qt::LeftButton)) {
    FDragZone = htClient;
    FDragStarted = false;
    FDragByHand = false;
  }
  if (FDragZone != htClient) {
    if (!FDragStarted) {
      FDragStarted = true;
      if (StartSystemDrag()) {
        // The window system has the mouse now and does the rest.
        FDragZone = htClient;
        event->accept();
        return;
      }
      FDragByHand = true;
    }
    if (FDragByHand) DragByHand(event->globalPosition().toPoint());
    event->accept();
    return;
  }
  ShowZoneCursor(HitTest(event->position().toPoint()));
  QWidget::mouseMoveEvent(event);
}

void TfrmQBase::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && FDragZone != htClient) {
    const bool Clicked = FDragZone == htCaption && !FDragStarted;
    FDragZone = htClient;
    FDragStarted = false;
    FDragByHand = false;
    event->accept();
    if (Clicked) CaptionClicked(event->position().toPoint());
    return;
  }
  QWidget::mouseReleaseEvent(event);
}

void TfrmQBase::mouseDoubleClickEvent(QMouseEvent* event) {
  // A double-click on a maximised window's title bar returns it to its
  // normal size, as the window system's own title bars do; a minimised
  // window is left alone.
  if (event->button() == Qt::LeftButton && FCaptionRect.contains(event->position().toPoint()) &&
      !(windowState() & Qt::WindowMinimized)) {
    FDragZone = htClient;
    ToggleMaximize();
    event->accept();
    return;
  }
  QWidget::mouseDoubleClickEvent(event);
}

bool TfrmQBase::StartSystemDrag() {
  QWindow* Handle = windowHandle();
  if (!Handle) return false;
  if (FDragZone == htCaption) return Handle->startSystemMove();
  Qt::Edges Edges;
  if (TouchesLeft(FDragZone)) Edges |= Qt::LeftEdge;
  if (TouchesRight(FDragZone)) Edges |= Qt::RightEdge;
  if (TouchesTop(FDragZone)) Edges |= Qt::TopEdge;
  if (TouchesBottom(FDragZone)) Edges |= Qt::BottomEdge;
  return Handle->startSystemResize(Edges);
}

void TfrmQBase::DragByHand(QPoint GlobalPos) {
  const QPoint Delta = GlobalPos - FDragStartPos;
  const QRect& Start = FDragStartGeometry;
  if (FDragZone == htCaption) {
    // A maximised window stays where it is, as it does under a window
    // manager that does not let it be dragged.
    if (!isMaximized()) move(Start.topLeft() + Delta);
    return;
  }
  // The moving edges follow the mouse while the size stays within the
  // window's minimum and maximum; the opposite edges stay put.
  const QSize Min = minimumSize().expandedTo(QSize(1, 1));
  const QSize Max = maximumSize().expandedTo(Min);
  int Left = Start.x();
  int Top = Start.y();
  int Right = Start.x() + Start.width();
  int Bottom = Start.y() + Start.height();
  if (TouchesLeft(FDragZone)) {
    Left = std::clamp(Left + Delta.x(), Right - Max.width(), Right - Min.width());
  }
  if (TouchesRight(FDragZone)) {
    Right = std::clamp(Right + Delta.x(), Left + Min.width(), Left + Max.width());
  }
  if (TouchesTop(FDragZone)) {
    Top = std::clamp(Top + Delta.y(), Bottom - Max.height(), Bottom - Min.height());
  }
  if (TouchesBottom(FDragZone)) {
    Bottom = std::clamp(Bottom + Delta.y(), Top + Min.height(), Top + Max.height());
  }
  setGeometry(Left, Top, Right - Left, Bottom - Top);
}

void TfrmQBase::ShowZoneCursor(THitTest Zone) {
  // The cursor goes on the native window rather than on this widget: a
  // widget's cursor is inherited by its children, and the pointer can pass
  // from a band straight onto a child without this window seeing it leave.
  QWindow* Handle = windowHandle();
  if (!Handle) return;
  if (IsResizeZone(Zone)) {
    Handle->setCursor(ZoneCursor(Zone));
    FZoneCursorShown = true;
  } else if (FZoneCursorShown) {
    Handle->setCursor(cursor());
    FZoneCursorShown = false;
  }
}

}  // namespace tw
