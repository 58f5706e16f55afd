// TColoringAutosave: keeps the open picture's stored colouring up to date
// while the child paints (StayColored 2 only), so that a crash, a kill or a
// power cut loses at most the last few seconds of painting.
//
// The main window tells it when a picture opens and closes and when the
// picture changes, and ticks it at the times it asks for; it decides when a
// write is due (TAutosaveSchedule) and has a TColoringWriter copy the
// changed part of the layers and write them in the background. The UI
// thread never waits for a write except in Settle, PictureClosed and Stop,
// which the main window calls before it stores, deletes or leaves a
// picture's colouring itself: a write in the background therefore never
// lands after a deletion, and a write of one picture never lands under
// another picture's names (its names travel with it).
//
// A write that fails (a full disk, a folder that cannot be written) is
// reported once through OnWriteFailed, and again only after a write has
// succeeded in between; the colouring stays in the painter and the write is
// tried again after a while, with whatever was painted since.
//
// No clock is read here: every call that needs the time is given it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/AutosaveScheduleU.h"
#include "app/ColoringStoreU.h"
#include "app/ColoringWriterU.h"

namespace tw {

class TPainterModel;

class TColoringAutosave {
 public:
  explicit TColoringAutosave(const TAutosaveDelays& Delays = {});
  // Waits for a running write; nothing further is written.
  ~TColoringAutosave() = default;
  TColoringAutosave(const TColoringAutosave&) = delete;
  TColoringAutosave& operator=(const TColoringAutosave&) = delete;

  // Called from Tick on the UI thread with the write's message.
  std::function<void(const std::string& Message)> OnWriteFailed;

  // The painter now holds the picture whose colouring belongs in Files,
  // exactly as stored there: nothing is waiting to be written.
  void PictureOpened(const TColoringFiles& Files);
  // No picture is open: waits for a running write, then forgets the
  // picture; nothing more is written until the next PictureOpened.
  void PictureClosed();
  // The open picture changed at Now.
  void Changed(TAutosaveTime Now);

  // Takes the result of a write that ended (reporting a failure) and, when
  // a write is due at Now and StayColored (asked only then) is 2, hands the
  // painter's state to the writer. Stroking: a stroke is under way, so its
  // pixels keep changing. OutlineChanged: the outline differs from the
  // picture's own, so the outline file is written too. Returns when to tick
  // next; none while there is nothing to do until the next change.
  std::optional<TAutosaveTime> Tick(TAutosaveTime Now, TPainterModel& Painter,
                                    const std::function<TStayColored()>& StayColored,
                                    bool OutlineChanged, bool Stroking);
  // When the next tick is wanted, as Tick returns it.
  std::optional<TAutosaveTime> NextTick(TAutosaveTime Now) const;

  // Waits for a running write to end and takes its result (a failure is
  // not reported here: the caller stores the colouring itself next).
  void Settle();
  // Every change since the picture opened is in the files (after Settle:
  // a write still running does not count).
  bool UpToDate() const;
  // The files now hold the painter's state by other means (stored at once,
  // or deleted together with a wash): nothing is waiting to be written.
  void Discard();
  // Waits for a running write and ends the writer: from now on nothing is
  // written. For the program's close.
  void Stop();

  // For tests and measurements: a write runs or its result is not taken.
  bool Writing() const { return FWriter.Busy(); }
  // For tests and measurements: waits until a running write has ended; its
  // result waits for the next Tick.
  void WaitForWrite() { FWriter.Wait(); }

 private:
  void TakeResult(TAutosaveTime Now, bool Report);

  TAutosaveSchedule FSchedule;
  TColoringWriter FWriter;
  bool FOpen = false;
  bool FStopped = false;
  TColoringFiles FFiles;
  // Changes since the picture opened, and how many of them the files hold.
  uint64_t FChanges = 0;
  uint64_t FWritten = 0;
  // The oldest change the running write holds.
  TAutosaveTime FWriteSince{};
  bool FFailureReported = false;
};

}  // namespace tw
