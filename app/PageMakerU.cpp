#include "app/PageMakerU.h"

#include <atomic>
#include <mutex>
#include <new>

namespace tw {

// What the worker and the creating thread both touch. The worker holds its
// own reference, so a cancelled page can finish after the maker moved on.
struct TPageMaker::TShared {
  std::mutex Lock;
  std::optional<TResult> Done;
  std::atomic<bool> Cancelled{false};
};

TPageMaker::TPageMaker(TConvert Convert)
    : FConvert(std::move(Convert)), FReceiver(std::make_unique<QObject>()) {}

TPageMaker::~TPageMaker() {
  Cancel();
  Join();
}

bool TPageMaker::Start(const std::string& File) {
  if (FBusy) return false;
  Join();
  FBusy = true;
  auto Shared = std::make_shared<TShared>();
  FShared = Shared;
  QObject* Receiver = FReceiver.get();
  FThread = std::thread([this, Shared, Receiver, File, Convert = FConvert] {
    TResult Result;
    Result.File = File;
    const auto Progress = [Shared, Receiver, this](double Share) {
      if (Shared->Cancelled) return;
      QMetaObject::invokeMethod(
          Receiver,
          [Shared, Share, this] {
            if (!Shared->Cancelled && OnProgress) OnProgress(Share);
          },
          Qt::QueuedConnection);
    };
    try {
      Result.Page = Convert(File, Progress);
    } catch (const ENewPage& Error) {
      Result.Error = Error;
    } catch (const std::bad_alloc&) {
      Result.Error = ENewPage(ENewPage::NoImage, "\"" + File + "\" is too large to convert.");
    } catch (const std::exception& Error) {
      Result.Error = ENewPage(ENewPage::NoImage, Error.what());
    }
    {
      std::lock_guard<std::mutex> Guard(Shared->Lock);
      Shared->Done = std::move(Result);
    }
    if (!Shared->Cancelled)
      QMetaObject::invokeMethod(
          Receiver, [Shared, this] { Deliver(Shared); }, Qt::QueuedConnection);
  });
  return true;
}

void TPageMaker::Cancel() {
  if (FShared) FShared->Cancelled = true;
  FBusy = false;
}

void TPageMaker::WaitAndDeliver() {
  Join();
  if (FShared) Deliver(FShared);
}

void TPageMaker::Join() {
  if (FThread.joinable()) FThread.join();
}

void TPageMaker::Deliver(const std::shared_ptr<TShared>& Shared) {
  // A page already delivered, or one cancelled (perhaps with a newer one
  // under way), is not delivered again.
  if (Shared != FShared || Shared->Cancelled) return;
  std::optional<TResult> Result;
  {
    std::lock_guard<std::mutex> Guard(Shared->Lock);
    Result.swap(Shared->Done);
  }
  if (!Result) return;
  FShared.reset();
  FBusy = false;
  Join();
  if (OnDone) OnDone(*Result);
}

}  // namespace tw
