// TQPanel: a panel drawn from nine-slice art with the same picture and slice
// settings as the skinned windows (the save dialog's group box). Its other
// properties (colour, font, size constraints) are the widget's own; with
// autoFillBackground set it fills its palette's window colour before the art.
#pragma once

#include <QWidget>

#include "controls/QSlice9U.h"

namespace tw {

class TQPanel : public QWidget, public TSlice9Skin {
  Q_OBJECT

 public:
  explicit TQPanel(QWidget* parent = nullptr);

 protected:
  void SliceChanged() override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace tw
