// TQHintControl: the base of the program's drawn controls (image button,
// slider, paint grid). It owns the control's hint delay (TQHint) and raises
// the hint events when the control has a hint key: entering restarts the
// delay, leaving and clicking hide. It also turns a press and release of
// the left button over the control into a click. Like every drawn control
// it paints only what it draws, so its parent shows through the rest.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "controls/QHintU.h"

class QMouseEvent;
class QEnterEvent;

namespace tw {

// A mouse event of a drawn control: the button that changed, the buttons
// held afterwards, the keyboard modifiers and the integer control position.
using TQMouseEvent =
    std::function<void(TQHintControl& Sender, Qt::MouseButton Button, Qt::MouseButtons Buttons,
                       Qt::KeyboardModifiers Modifiers, int X, int Y)>;

class TQHintControl : public QWidget {
  Q_OBJECT

  // Declared first: OnShowHint and OnHideHint below refer into it.
  TQHint FHintTimer;

 public:
  explicit TQHintControl(QWidget* parent = nullptr);
  ~TQHintControl() override;

  // The hint key: the language texts "httl", "hsbt" and "hinf" followed by
  // it fill the bubble. A control without one raises no hint events.
  const QString& Hint() const { return FHint; }
  void SetHint(const QString& Value);

  TQHint& HintTimer() { return FHintTimer; }
  const TQHint& HintTimer() const { return FHintTimer; }

  // The control was clicked: hides a pending or showing hint (when the
  // control has a hint key), then raises OnClick. Buttons add to it.
  virtual void Click();

  TQNotifyEvent OnClick;
  // Fired for a press of any button, before the control's own handling.
  TQMouseEvent OnMouseDown;
  // These are the events of HintTimer itself, not copies.
  TQNotifyEvent& OnShowHint;
  TQNotifyEvent& OnHideHint;

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

  // The pixel under the pointer, also when the position has a fraction.
  static QPoint EventPosition(const QMouseEvent* event);

 private:
  QString FHint;
  // The left button went down on the control and is still held: its
  // release over the control is a click.
  bool FClickPending = false;
};

}  // namespace tw
