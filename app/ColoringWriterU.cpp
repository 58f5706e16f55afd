#include "app/ColoringWriterU.h"

#include <cstring>
#include <exception>

#include "base/ErrorsU.h"
#include "painter/PainterU.h"

namespace tw {

TColoringWriter::TColoringWriter() : FThread([this] { Run(); }) {}

TColoringWriter::~TColoringWriter() { Stop(); }

bool TColoringWriter::Busy() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FJobReady || FRunning || FResult.has_value();
}

bool TColoringWriter::Start(const TPainterModel& Painter, const TRect& Changed,
                            const TColoringFiles& Files, bool WithOutline, uint64_t Tag) {
  if (FStopped || !Painter.HasPicture() || Busy()) return false;
  // No write runs, so the thread does not read the copy now; the lock below
  // hands the updated copy over.
  CopyArea(Painter, Changed, WithOutline);
  {
    std::lock_guard<std::mutex> guard(FLock);
    FFiles = Files;
    FWithOutline = WithOutline;
    FTag = Tag;
    FJobReady = true;
  }
  FWake.notify_all();
  return true;
}

void TColoringWriter::CopyArea(const TPainterModel& Painter, const TRect& Area, bool WithOutline) {
  const TRaster24& color = Painter.ColorLayer();
  const TRaster1& outline = Painter.OutlineLayer();
  auto& copyColor = std::get<TRaster24>(FColor);
  auto& copyOutline = std::get<TRaster1>(FOutline);
  const TRect r = IntersectRect(Area, Painter.PictureBounds());
  // CopyFrom keeps the block when the size is the same.
  if (!FColorValid || copyColor.Width() != color.Width() || copyColor.Height() != color.Height()) {
    copyColor.CopyFrom(color);
    FColorValid = true;
  } else {
    for (int y = r.Top; y < r.Bottom; ++y)
      std::memcpy(copyColor.Row(y) + 3 * size_t(r.Left), color.Row(y) + 3 * size_t(r.Left),
                  3 * size_t(r.Width()));
  }
  // Most colourings never change the outline: its copy is kept only while
  // it is written, and made whole again when it is needed.
  if (!WithOutline) {
    FOutlineValid = false;
  } else if (!FOutlineValid || copyOutline.Width() != outline.Width() ||
             copyOutline.Height() != outline.Height()) {
    copyOutline.CopyFrom(outline);
    FOutlineValid = true;
  } else {
    for (int y = r.Top; y < r.Bottom; ++y)
      std::memcpy(copyOutline.Row(y) + r.Left, outline.Row(y) + r.Left, size_t(r.Width()));
  }
}

void TColoringWriter::Forget() {
  FColorValid = false;
  FOutlineValid = false;
}

void TColoringWriter::Wait() {
  std::unique_lock<std::mutex> guard(FLock);
  FWake.wait(guard, [this] { return !FJobReady && !FRunning; });
}

std::optional<TColoringWriter::TResult> TColoringWriter::TakeResult() {
  std::lock_guard<std::mutex> guard(FLock);
  std::optional<TResult> result;
  result.swap(FResult);
  return result;
}

void TColoringWriter::Stop() {
  if (FStopped) return;
  FStopped = true;
  {
    std::lock_guard<std::mutex> guard(FLock);
    FStopping = true;
  }
  FWake.notify_all();
  FThread.join();
}

void TColoringWriter::Run() {
  std::unique_lock<std::mutex> guard(FLock);
  for (;;) {
    // A job handed over before the stop is still written: it is a state the
    // child made, and the close waits for it.
    FWake.wait(guard, [this] { return FJobReady || FStopping; });
    if (!FJobReady) return;
    FJobReady = false;
    FRunning = true;
    const TColoringFiles files = FFiles;
    const bool withOutline = FWithOutline;
    TResult result;
    result.Tag = FTag;
    guard.unlock();
    try {
      WriteColoring(FColor, withOutline ? &FOutline : nullptr, files);
      result.Written = true;
    } catch (const std::exception& error) {
      result.Error = error.what();
    } catch (...) {
      result.Error = "The colouring could not be written.";
    }
    guard.lock();
    FRunning = false;
    FResult = std::move(result);
    FWake.notify_all();
  }
}

}  // namespace tw
