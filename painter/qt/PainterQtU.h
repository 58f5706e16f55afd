// TPainter: the painter control on screen. It shows the paint model's colour
// layer at the model's scale, repainting only what changed and only the part
// visible inside the scrolling parent; turns mouse presses, drags and
// releases into tool actions; follows the scaled picture size when AutoSize
// is on; and prints the picture.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "painter/PainterU.h"

class QPrinter;

namespace tw {

class TPainter;

// A mouse event of the control: the button that changed (Qt::NoButton for a
// move), the buttons held afterwards, the keyboard modifiers and the integer
// control position.
using TPainterMouseEvent =
    std::function<void(TPainter& sender, Qt::MouseButton button, Qt::MouseButtons buttons,
                       Qt::KeyboardModifiers modifiers, int x, int y)>;

class TPainter : public QWidget, public TPainterModel {
  Q_OBJECT

 public:
  explicit TPainter(QWidget* parent = nullptr);
  ~TPainter() override;

  // On: the control's size is fixed at ScaledWidth x ScaledHeight whenever a
  // picture is loaded. Off by default, like any control.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);

  // The picture point under a control position: (nearest(x * InverseScale),
  // nearest(y * InverseScale)).
  TPoint ControlToPicture(QPoint pos) const;

  // Prints the picture on the application's current printer (CurrentPrinter).
  void PrintPicture(const QString& title);
  // Prints the picture, fitted into the page less 400 device pixels each way
  // and centred, with a thin black frame. Throws EError when there is no
  // picture or the printer cannot start the job.
  void PrintPicture(QPrinter& printer, const QString& title);

  // Fired before the painter's own handling of the event.
  TPainterMouseEvent OnMouseDown;
  TPainterMouseEvent OnMouseUp;
  TPainterMouseEvent OnMouseMove;

  QSize sizeHint() const override;

 protected:
  void InvalidatePicture(const TRect& pictureRect) override;
  void ScaleChanged() override;
  void SetMouseCapture(bool capture) override;

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

  // The part of the control inside its parent's client area, in control
  // coordinates: the only part ever drawn.
  QRect VisiblePart() const;
  // Draws the control pixels `target`, which lie inside the scaled picture
  // and the visible part.
  virtual void DrawPicturePart(QPainter& painter, const QRect& target);

 private:
  static QPoint EventPosition(const QMouseEvent* event);
  void ApplyAutoSize();

  bool FAutoSize = false;
  // Screen pixels of a smoothed repaint, kept between repaints so a drag
  // does not allocate for every segment.
  std::vector<uint8_t> FStretchBuffer;
};

}  // namespace tw
