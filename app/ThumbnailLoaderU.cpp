#include "app/ThumbnailLoaderU.h"

#include <QThread>
#include <algorithm>
#include <utility>

namespace tw {

TThumbnailLoader::TThumbnailLoader()
    : FShared(std::make_shared<TShared>()), FReceiver(std::make_unique<QObject>()) {
  // Two threads at most: the program shares the machine with the child's
  // painting, which must never stutter while the chooser fills its tiles.
  FPool.setMaxThreadCount(std::clamp(QThread::idealThreadCount() - 1, 1, 2));
}

TThumbnailLoader::~TThumbnailLoader() {
  OnReady = nullptr;
  FPool.clear();
  // The workers post to the receiver; it goes only after the last of them.
  FPool.waitForDone();
}

uint64_t TThumbnailLoader::Request(const std::string& Key, const TThumbnailJob& Job, int Priority) {
  return Start(
      Key, [Job] { return LoadThumbnail(Job); }, Priority);
}

uint64_t TThumbnailLoader::RequestFromLayer(const std::string& Key, TRaster24 Layer, int Size,
                                            int Priority) {
  auto Shared = std::make_shared<TRaster24>(std::move(Layer));
  return Start(
      Key, [Shared, Size] { return ScaledThumbnail(*Shared, Size); }, Priority);
}

uint64_t TThumbnailLoader::Start(const std::string& Key, std::function<QImage()> Make,
                                 int Priority) {
  const uint64_t Number = FNextNumber++;
  std::shared_ptr<TShared> Shared = FShared;
  QObject* Receiver = FReceiver.get();
  FPool.start(
      [Shared, Receiver, Key, Number, Make = std::move(Make), this] {
        QImage Image;
        try {
          Image = Make();
        } catch (const std::exception&) {
          // Out of memory or the like: the tile stays a neutral one.
        }
        bool First = false;
        {
          std::lock_guard<std::mutex> Guard(Shared->Lock);
          First = Shared->Done.empty();
          Shared->Done.push_back({Key, Number, std::move(Image)});
        }
        // One delivery call takes every result that is waiting.
        if (First)
          QMetaObject::invokeMethod(
              Receiver, [this] { Deliver(); }, Qt::QueuedConnection);
      },
      Priority);
  return Number;
}

void TThumbnailLoader::CancelWaiting() { FPool.clear(); }

void TThumbnailLoader::WaitAndDeliver() {
  FPool.waitForDone();
  Deliver();
}

void TThumbnailLoader::Deliver() {
  std::deque<TResult> Done;
  {
    std::lock_guard<std::mutex> Guard(FShared->Lock);
    Done.swap(FShared->Done);
  }
  for (const TResult& Result : Done)
    if (OnReady) OnReady(Result);
}

}  // namespace tw
