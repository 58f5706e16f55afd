#include "app/OwnPointerU.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>

#include "app/PointerMarkU.h"

namespace tw {
namespace {

// The program's windows a pointer can be in: shown, not a bubble hint or
// other window that lets the mouse through.
bool PointerWindow(const QWidget* Window) {
  return Window && Window->isWindow() && Window->isVisible() &&
         !Window->testAttribute(Qt::WA_TransparentForMouseEvents) &&
         Window->windowType() != Qt::ToolTip;
}

// The window a point is in: the modal dialog first (it is above the others),
// then the active window, then any other.
QWidget* WindowAt(const QPoint& Global) {
  QWidget* modal = QApplication::activeModalWidget();
  if (PointerWindow(modal) && modal->geometry().contains(Global)) return modal;
  QWidget* active = QApplication::activeWindow();
  if (PointerWindow(active) && active->geometry().contains(Global)) return active;
  for (QWidget* window : QApplication::topLevelWidgets())
    if (PointerWindow(window) && window->geometry().contains(Global)) return window;
  return nullptr;
}

QWidget* AnyWindow() {
  for (QWidget* window : {QApplication::activeModalWidget(), QApplication::activeWindow()})
    if (PointerWindow(window)) return window;
  for (QWidget* window : QApplication::topLevelWidgets())
    if (PointerWindow(window)) return window;
  return nullptr;
}

QPoint Clamped(const QPoint& Point, const QRect& Area) {
  return QPoint(std::clamp(Point.x(), Area.left(), Area.right()),
                std::clamp(Point.y(), Area.top(), Area.bottom()));
}

}  // namespace

TOwnPointer::TOwnPointer() {
  if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

TOwnPointer::~TOwnPointer() {
  HideRealPointer(false);
  delete FMark.data();
}

QPoint TOwnPointer::Pos() const {
  if (!FPlaced) {
    if (QWidget* window = AnyWindow()) {
      FPos = window->geometry().center();
      FPlaced = true;
    }
  }
  return FPos;
}

void TOwnPointer::SetPos(const QPoint& Global) {
  QWidget* window = WindowAt(Global);
  QPoint at = Global;
  if (!window) {
    window = WindowAt(Pos());
    if (!window) window = AnyWindow();
    if (window) at = Clamped(Global, window->geometry());
  }
  if (at != Pos()) FSteered = true;
  FPos = at;
  FPlaced = true;
  Draw();
}

bool TOwnPointer::Drawn() const { return FMark && FMark->isVisible(); }

QWidget* TOwnPointer::DrawnIn() const { return Drawn() ? FMark->parentWidget() : nullptr; }

void TOwnPointer::Draw() {
  QWidget* window = WindowAt(FPos);
  if (!FSteered || !window) {
    Hide();
    return;
  }
  if (!FMark) FMark = new TPointerMark(window);
  // The mark itself lets the mouse through, so the widget found is the one
  // under it.
  QWidget* under = QApplication::widgetAt(FPos);
  if (!under || under->window() != window) under = window;
  FMark->ShowAt(window, window->mapFromGlobal(FPos), under->cursor());
  HideRealPointer(true);
}

void TOwnPointer::Hide() {
  if (FMark) FMark->hide();
  HideRealPointer(false);
}

void TOwnPointer::HideRealPointer(bool Hide) {
  if (Hide == FRealHidden || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    return;
  FRealHidden = Hide;
  if (Hide)
    QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
  else
    QGuiApplication::restoreOverrideCursor();
}

bool TOwnPointer::eventFilter(QObject* Watched, QEvent* Event) {
  // The real mouse moved or was pressed over one of the program's windows:
  // the pointer is where the real one is, and the real one shows.
  const QEvent::Type type = Event->type();
  if ((type == QEvent::MouseMove || type == QEvent::MouseButtonPress) && Event->spontaneous() &&
      Watched->isWidgetType()) {
    FPos = static_cast<QMouseEvent*>(Event)->globalPosition().toPoint();
    FPlaced = true;
    if (FSteered) {
      FSteered = false;
      Hide();
    }
  }
  return false;
}

std::unique_ptr<IPointer> CreatePlatformPointer() {
  if (QGuiApplication::platformName().startsWith("wayland"))
    return std::make_unique<TOwnPointer>();
  return std::make_unique<TCursorPointer>();
}

}  // namespace tw
