// TPageMaker: turns a dropped image file into a colouring page on a thread
// of its own, so the window stays drawn (and can show how far it got) while
// a large photo is converted. One page at a time.
//
// Progress and the result are delivered through queued calls to the thread
// that created the maker; WaitAndDeliver waits for the page and delivers at
// once, for tests and measurements. Cancel drops the result of the page
// under way; the destructor cancels and waits, so no call outlives it.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "app/NewPageU.h"
#include "painter/RasterU.h"

namespace tw {

class TPageMaker {
 public:
  // The conversion run on the thread: ConvertToPage unless a test sets
  // another.
  using TConvert =
      std::function<TRaster24(const std::string& File, const std::function<void(double)>& Progress)>;

  // A finished page, or why there is none.
  struct TResult {
    std::string File;
    TRaster24 Page;
    std::optional<ENewPage> Error;
  };

  explicit TPageMaker(TConvert Convert = ConvertToPage);
  ~TPageMaker();
  TPageMaker(const TPageMaker&) = delete;
  TPageMaker& operator=(const TPageMaker&) = delete;

  // Called on the creating thread: the share done (0 to 1), and the end.
  std::function<void(double)> OnProgress;
  std::function<void(TResult&)> OnDone;

  // The conversion pages are made with from now on (tests and benchmarks).
  void SetConvert(TConvert Convert) { FConvert = std::move(Convert); }
  // Starts a page from File; false while one is under way.
  bool Start(const std::string& File);
  // Whether a page is under way (started, not yet delivered or cancelled).
  bool Busy() const { return FBusy; }
  // The page under way is forgotten: OnDone is not called for it.
  void Cancel();
  // Waits for the page under way, then delivers it.
  void WaitAndDeliver();

 private:
  struct TShared;

  void Join();
  void Deliver(const std::shared_ptr<TShared>& Shared);

  TConvert FConvert;
  std::thread FThread;
  std::shared_ptr<TShared> FShared;
  // Lives on the creating thread; the worker posts to it.
  std::unique_ptr<QObject> FReceiver;
  bool FBusy = false;
};

}  // namespace tw
