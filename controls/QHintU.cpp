#include "controls/QHintU.h"

namespace tw {

TQHint::TQHint(TQHintControl& Control)
    : FControl(Control), FDelay(CurrentDelayClock().MakeDelay()) {
  FDelay->OnElapsed = [this] { DoShow(); };
}

void TQHint::Restart() { FDelay->Start(DelayMs); }

void TQHint::Hide() {
  FDelay->Stop();
  if (OnHideHint) OnHideHint(FControl);
}

void TQHint::DoShow() {
  if (OnShowHint) OnShowHint(FControl);
  FDelay->Stop();
}

}  // namespace tw
