// TThumbnailLoader: makes the picture chooser's thumbnails on threads of
// its own and hands each finished one to the GUI thread, so a chooser
// never waits on decoding. Every request carries a key (the catalog entry)
// and a number that grows with each request; the taker drops a result
// older than the latest request of its key.
//
// Results are delivered through a queued call to the thread that created
// the loader; WaitAndDeliver waits for every request made so far and
// delivers at once, for tests and measurements. The destructor drops what
// has not started and waits for what has, so no result outlives it.
#pragma once

#include <QImage>
#include <QObject>
#include <QThreadPool>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "app/ThumbnailMakerU.h"
#include "painter/RasterU.h"

namespace tw {

class TThumbnailLoader {
 public:
  // A finished request: its key and number, and the thumbnail (null when
  // the picture could not be read).
  struct TResult {
    std::string Key;
    uint64_t Number = 0;
    QImage Image;
  };

  TThumbnailLoader();
  ~TThumbnailLoader();
  TThumbnailLoader(const TThumbnailLoader&) = delete;
  TThumbnailLoader& operator=(const TThumbnailLoader&) = delete;

  // Called on the creating thread for each finished request.
  std::function<void(const TResult&)> OnReady;

  // A thumbnail from the picture files (LoadThumbnail); higher Priority
  // starts earlier. Returns the request's number.
  uint64_t Request(const std::string& Key, const TThumbnailJob& Job, int Priority);
  // A thumbnail from a layer in memory (the open picture as it is now).
  uint64_t RequestFromLayer(const std::string& Key, TRaster24 Layer, int Size, int Priority);
  // Drops the requests that have not started.
  void CancelWaiting();
  // Waits for every request that has not been dropped, then delivers.
  void WaitAndDeliver();

 private:
  struct TShared {
    std::mutex Lock;
    std::deque<TResult> Done;
  };

  uint64_t Start(const std::string& Key, std::function<QImage()> Make, int Priority);
  void Deliver();

  QThreadPool FPool;
  std::shared_ptr<TShared> FShared;
  // Lives on the creating thread; the workers post the delivery to it.
  std::unique_ptr<QObject> FReceiver;
  uint64_t FNextNumber = 1;
};

}  // namespace tw
