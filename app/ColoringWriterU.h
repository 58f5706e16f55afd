// TColoringWriter: writes a picture's colouring as its GIF files on a thread
// of its own, so the UI thread never waits for encoding or the disk.
//
// It keeps its own copy of the painter's two layers and writes from that
// copy. The UI thread brings the copy up to date in Start, copying only the
// rectangle that changed since the previous Start (the painter's
// TakeChangedArea), and the thread encodes and writes it; one write at a
// time, and the copy is touched by the UI thread only while no write runs.
// The files a write goes to travel with it, so a write always lands under
// the names of the picture it was copied from.
//
// Every call is made from one thread (the UI thread); only the writing runs
// on the writer's own thread. A failed write is kept as a result with its
// message; nothing is thrown across threads.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "app/ColoringStoreU.h"
#include "painter/PaintCommonU.h"
#include "painter/RasterU.h"

namespace tw {

class TPainterModel;

class TColoringWriter {
 public:
  struct TResult {
    // The value given to the Start whose write ended.
    uint64_t Tag = 0;
    bool Written = false;
    // Why it failed, for the user.
    std::string Error;
  };

  TColoringWriter();
  // Stop.
  ~TColoringWriter();
  TColoringWriter(const TColoringWriter&) = delete;
  TColoringWriter& operator=(const TColoringWriter&) = delete;

  // A write runs (its result is not taken yet or it has not ended).
  bool Busy() const;

  // Only while not Busy: brings the copy up to date with the painter, which
  // changed in Changed since the previous Start (everything after Forget or
  // when the picture's size differs), and starts writing it to Files, the
  // outline file too when WithOutline. Does nothing after Stop or without a
  // picture (returns false).
  bool Start(const TPainterModel& Painter, const TRect& Changed, const TColoringFiles& Files,
             bool WithOutline, uint64_t Tag);
  // The copy no longer follows the painter (it holds another picture): the
  // next Start copies the whole picture. Only while not Busy.
  void Forget();

  // Waits until no write runs.
  void Wait();
  // The result of the write that ended, once; none while it runs or when
  // there was none. Busy ends with this call.
  std::optional<TResult> TakeResult();

  // Waits for a running write to end and ends the thread; later Starts do
  // nothing.
  void Stop();

 private:
  void Run();
  void CopyArea(const TPainterModel& Painter, const TRect& Area, bool WithOutline);

  // The copy: a TRaster24 and a TRaster1, held as bitmaps so the encoder
  // takes them as they are.
  TBitmap FColor{TRaster24()};
  TBitmap FOutline{TRaster1()};
  // The copies follow the painter up to the changed area of the next Start.
  bool FColorValid = false;
  bool FOutlineValid = false;

  mutable std::mutex FLock;
  std::condition_variable FWake;
  // Guarded by FLock: a job handed over and not yet taken by the thread, a
  // write running, the ended write's result, the thread's end.
  bool FJobReady = false;
  bool FRunning = false;
  std::optional<TResult> FResult;
  bool FStopping = false;
  TColoringFiles FFiles;
  bool FWithOutline = false;
  uint64_t FTag = 0;

  bool FStopped = false;
  std::thread FThread;
};

}  // namespace tw
