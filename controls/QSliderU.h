// TQSlider: a horizontal slider drawn from a track picture and a thumb
// picture. Dragging the thumb sets the value from the pointer position and
// raises OnChanging at every move; every release sets the value from the
// release position and raises OnChange, so a click on the track jumps there.
//
// With the keyboard focus, Left and Down move the value a step towards
// MinValue, Right and Up towards MaxValue (a twentieth of the range, at least
// 1), raising OnChanging and then OnChange as a click on the track does.
//
// Ranges without travel are safe: when MaxValue <= MinValue or the thumb is
// at least as wide as the control, the thumb sits at the left end
// (ThumbLeft 0) and every pointer position means MinValue (which the Value
// setter then clamps as usual).
#pragma once

#include <QImage>
#include <QRect>
#include <cstdint>

#include "controls/QHintControlU.h"
#include "painter/PaintCommonU.h"

namespace tw {

class TQSlider : public TQHintControl {
  Q_OBJECT

 public:
  explicit TQSlider(QWidget* parent = nullptr);
  ~TQSlider() override;

  // Stored as given; the value is not re-clamped.
  int32_t MinValue() const { return FMinValue; }
  void SetMinValue(int32_t Value);
  int32_t MaxValue() const { return FMaxValue; }
  void SetMaxValue(int32_t Value);

  // Kept within the range: at or above MaxValue gives MaxValue, else at or
  // below MinValue gives MinValue. Fires no event.
  int32_t Value() const { return FValue; }
  void SetValue(int32_t Value);

  // The track, drawn centred, and the thumb; both copied.
  const QImage& PicBackground() const { return FPicBackground; }
  void SetPicBackground(const QImage& Value);
  const QImage& PicThumb() const { return FPicThumb; }
  void SetPicThumb(const QImage& Value);

  // nearest((W - tw) * (Value - MinValue) / (MaxValue - MinValue)).
  int ThumbLeft() const;
  // The thumb's rectangle in control coordinates, vertically centred.
  QRect ThumbRect() const;
  // nearest(x * (MaxValue - MinValue) / (W - tw) + MinValue), unclamped.
  int32_t ValueAt(int x) const;

  bool Dragging() const { return FDragging; }

  TQNotifyEvent OnChanging;
  TQNotifyEvent OnChange;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // Whether the thumb can travel at all (see the header comment).
  bool HasTravel() const;

  int32_t FMinValue = 0;
  int32_t FMaxValue = 0;
  int32_t FValue = 0;
  QImage FPicBackground;
  QImage FPicThumb;
  bool FDragging = false;
};

}  // namespace tw
