#include "app/SendMouseU.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace tw {
namespace {

// Platform motion events of positions the emulator moved to are expected
// this many steps back at most; older ones are forgotten.
constexpr size_t MaxOwnMoves = 32;

// Whether an application-modal dialog keeps the real mouse away from the
// widget: every window outside the modal widget's own family is blocked.
bool BlockedByModal(const QWidget* widget) {
  const QWidget* modal = QApplication::activeModalWidget();
  if (!modal) return false;
  for (const QWidget* w = widget; w; w = w->parentWidget())
    if (w == modal) return false;
  return true;
}

}  // namespace

QPoint TCursorPointer::Pos() const { return QCursor::pos(); }

void TCursorPointer::SetPos(const QPoint& global) { QCursor::setPos(global); }

TMouseButtonEmulator::TMouseButtonEmulator(IPointer& pointer, QObject* parent)
    : QObject(parent), FPointer(pointer) {}

TMouseButtonEmulator::~TMouseButtonEmulator() { SetFiltering(false); }

QWidget* TMouseButtonEmulator::PressedWidget() const { return FDown ? FPressed.data() : nullptr; }

void TMouseButtonEmulator::SetFiltering(bool on) {
  if (on == FFiltering) return;
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return;
  FFiltering = on;
  if (on)
    app->installEventFilter(this);
  else
    app->removeEventFilter(this);
}

void TMouseButtonEmulator::SendMouseButton(bool down) {
  if (down == FDown) return;
  const QPoint global = FPointer.Pos();
  FOwnMoves.clear();
  if (down) {
    QWidget* target = QApplication::widgetAt(global);
    FDown = true;
    FPressed = target && !BlockedByModal(target) ? target : nullptr;
    SetFiltering(true);
    Deliver(QEvent::MouseButtonPress, global);
  } else {
    // The state is cleared before the release goes out: a release that
    // clicks a button may open a modal dialog with its own event loop, which
    // must see the mouse as it is.
    FDown = false;
    SetFiltering(false);
    Deliver(QEvent::MouseButtonRelease, global);
    FPressed = nullptr;
  }
}

void TMouseButtonEmulator::PointerMoved() {
  const QPoint global = FPointer.Pos();
  if (!FDown) {
    if (!FPointer.PlatformReportsMoves()) Hover(global);
    return;
  }
  FOwnMoves.push_back(global);
  if (FOwnMoves.size() > MaxOwnMoves) FOwnMoves.pop_front();
  Deliver(QEvent::MouseMove, global);
}

void TMouseButtonEmulator::Deliver(int type, const QPoint& global) {
  // Held in a local guard: the event may delete the widget.
  const QPointer<QWidget> widget = FPressed;
  if (!widget) return;
  const QPointF at(global);
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  const Qt::MouseButtons buttons =
      type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::MouseButtons(Qt::LeftButton);
  QMouseEvent event(QEvent::Type(type), widget->mapFromGlobal(at),
                    widget->window()->mapFromGlobal(at), at, button, buttons,
                    QGuiApplication::keyboardModifiers());
  QCoreApplication::sendEvent(widget.data(), &event);
}

void TMouseButtonEmulator::Hover(const QPoint& global) {
  QWidget* under = QApplication::widgetAt(global);
  if (under && BlockedByModal(under)) under = nullptr;
  if (under != FHovered) {
    // Leaves from the innermost widget out, entries from the outermost in,
    // skipping the ancestors both share.
    std::vector<QPointer<QWidget>> left, entered;
    for (QWidget* w = FHovered; w; w = w->isWindow() ? nullptr : w->parentWidget())
      left.emplace_back(w);
    for (QWidget* w = under; w; w = w->isWindow() ? nullptr : w->parentWidget())
      entered.emplace_back(w);
    while (!left.empty() && !entered.empty() && left.back() == entered.back()) {
      left.pop_back();
      entered.pop_back();
    }
    FHovered = under;
    for (const QPointer<QWidget>& w : left) {
      if (!w) continue;
      QEvent leave(QEvent::Leave);
      QCoreApplication::sendEvent(w.data(), &leave);
    }
    for (auto w = entered.rbegin(); w != entered.rend(); ++w) {
      if (!*w) continue;
      const QPointF at(global);
      QEnterEvent enter((*w)->mapFromGlobal(at), (*w)->window()->mapFromGlobal(at), at);
      QCoreApplication::sendEvent(w->data(), &enter);
    }
  }
  QWidget* tracking = FHovered;
  while (tracking && !tracking->hasMouseTracking() && !tracking->isWindow())
    tracking = tracking->parentWidget();
  if (!tracking || !tracking->hasMouseTracking()) return;
  const QPointF at(global);
  QMouseEvent move(QEvent::MouseMove, tracking->mapFromGlobal(at),
                   tracking->window()->mapFromGlobal(at), at, Qt::NoButton, Qt::NoButton,
                   QGuiApplication::keyboardModifiers());
  QCoreApplication::sendEvent(tracking, &move);
}

bool TMouseButtonEmulator::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseMove || !event->spontaneous() || !watched->isWidgetType())
    return false;
  const auto* move = static_cast<const QMouseEvent*>(event);
  // A move with a real button held is the real mouse's own drag; moves in
  // other windows (a dialog the press opened) are none of the emulated
  // button's business.
  if (!FDown || !FPressed || move->buttons() != Qt::NoButton ||
      static_cast<QWidget*>(watched)->window() != FPressed->window())
    return false;
  const QPoint global = move->globalPosition().toPoint();
  const auto own = std::find(FOwnMoves.begin(), FOwnMoves.end(), global);
  if (own != FOwnMoves.end())
    FOwnMoves.erase(FOwnMoves.begin(), own + 1);
  else
    Deliver(QEvent::MouseMove, global);
  return true;
}

}  // namespace tw
