// TFocusMark: the ring a dialog draws around the control that has the
// keyboard focus, so a child who moves with Tab can see where Space and
// Return will act. It lies over the dialog's controls, lets the mouse
// through and follows the control when it or one of its parents moves,
// resizes or hides.
#pragma once

#include <QPointer>
#include <QWidget>

#include <QColor>

namespace tw {

// The focus ring's colours, for every mark of the keyboard's choice: a dark
// edge round a bright core stands out on light and dark art alike.
inline const QColor FocusRingEdge(20, 20, 90);
inline const QColor FocusRingCore(255, 140, 0);

class TFocusMark : public QWidget {
  Q_OBJECT

 public:
  // The ring's width and its gap to the control, in pixels.
  static constexpr int RingWidth = 3;
  static constexpr int Gap = 1;

  // Lives on Dialog, hidden until it has a control to mark.
  explicit TFocusMark(QWidget* Dialog);
  ~TFocusMark() override;

  // Marks Control (a descendant of the dialog); null hides the mark.
  void SetTarget(QWidget* Control);
  QWidget* Target() const { return FTarget.data(); }

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;
  void paintEvent(QPaintEvent* Event) override;

 private:
  void Watch(bool On);
  void Place();

  QPointer<QWidget> FTarget;
};

}  // namespace tw
