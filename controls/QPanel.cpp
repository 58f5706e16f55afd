#include "controls/QPanel.h"

#include <QPainter>

namespace tw {

TQPanel::TQPanel(QWidget* parent) : QWidget(parent) {}

void TQPanel::SliceChanged() { update(); }

void TQPanel::paintEvent(QPaintEvent*) {
  QPainter Canvas(this);
  DrawSlice(Canvas, width(), height());
}

}  // namespace tw
