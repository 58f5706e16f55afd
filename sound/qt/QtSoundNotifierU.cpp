// The Qt notifier: a queued call to an object of the creating thread.
#include "sound/qt/QtSoundNotifierU.h"

#include <QMetaObject>
#include <QObject>
#include <utility>

namespace tw {

TQtSoundNotifier::TQtSoundNotifier() : FReceiver(std::make_unique<QObject>()) {}

TQtSoundNotifier::~TQtSoundNotifier() = default;

void TQtSoundNotifier::Post(std::function<void()> Call) {
  QMetaObject::invokeMethod(
      FReceiver.get(), [Call = std::move(Call)] { Call(); }, Qt::QueuedConnection);
}

}  // namespace tw
