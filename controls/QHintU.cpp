#include "controls/QHintU.h"

namespace tw {

TQHint::TQHint(TQHintControl& Control) : FControl(Control) {
  FTimer.setSingleShot(true);
  FTimer.setTimerType(Qt::PreciseTimer);
  FTimer.setInterval(DelayMs);
  QObject::connect(&FTimer, &QTimer::timeout, [this] { DoShow(); });
}

void TQHint::Restart() {
  FTimer.stop();
  FTimer.start();
}

void TQHint::Hide() {
  FTimer.stop();
  if (OnHideHint) OnHideHint(FControl);
}

void TQHint::DoShow() {
  if (OnShowHint) OnShowHint(FControl);
  FTimer.stop();
}

}  // namespace tw
