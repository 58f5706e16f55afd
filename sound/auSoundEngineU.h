// The engine behind one software sound device: it owns the sink and the
// one mixing thread, and holds the device's ring buffers. Every mixing
// period the thread copies each playing ring's next frames out under the
// engine's mutex, advancing its play cursor, then converts, resamples,
// attenuates, pans and sums them outside the mutex and writes the sum to
// the sink, which paces the loop. It writes silence when nothing plays.
// A stepped engine (a test's) has no thread: it mixes a period only when
// Step asks, in the calling thread, and its silent or capture sink does
// not wait for real time.
//
// The engine is shared by the device object and its buffers, so a buffer
// outliving its device stays safe: closing the engine marks every ring
// lost. A sink that reports its device gone does the same and is replaced
// by the silent sink; a later ring creation tries ALSA again when ALSA was
// what the device was created for.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sound/auSoundMixingU.h"
#include "sound/auSoundSinkU.h"

namespace tw {

// One streaming ring buffer as the engine holds it.
//
// Callers never touch the ring the mixer reads. Lock hands out the
// matching range of Staging, a caller-side copy of the ring, and Unlock
// copies the unlocked range into Data under the engine's mutex; the mixer
// copies out of Data under the same mutex. So no caller holds the mutex
// between Lock and Unlock, a Lock without Unlock cannot stall mixing, and
// Lock and Unlock may come from different threads. Outside the locked
// ranges Staging always equals Data, so a Lock shows the ring's contents.
class TSoundRing {
 public:
  TSoundRing(uint32_t Size, const TAudioFormat& Format, uint32_t OutputRate);

  const uint32_t Size;
  const TAudioFormat Format;
  const uint32_t FrameBytes;

  // Caller side only.
  std::vector<uint8_t> Staging;

  // Guarded by the engine's mutex.
  std::vector<uint8_t> Data;
  bool Playing = false;
  bool Restart = true;  // the mixer starts the stream afresh at the cursor
  int32_t Volume = 0;
  int32_t Pan = 0;
  // Written under the engine's mutex, read anywhere.
  std::atomic<uint32_t> Cursor{0};
  std::atomic<bool> Lost{false};

  // The mixing thread's own state for this ring (set up before the ring
  // is published to it).
  TSincResampler Resampler;
  std::vector<uint8_t> Raw;
  std::vector<float> Samples;
  std::vector<float> Converted;
  uint32_t RawFrames = 0;
  TChannelGains Gains;
};

class TSoundEngine {
 public:
  TSoundEngine(const TSoundSinkChoice& Choice, const std::string& DeviceId);
  ~TSoundEngine();
  TSoundEngine(const TSoundEngine&) = delete;
  TSoundEngine& operator=(const TSoundEngine&) = delete;

  // Opens the sink for the default primary format and starts mixing.
  // Fails with NoDriver when an explicitly chosen ALSA device or capture
  // file cannot be opened.
  int32_t Open();
  // Stops mixing, closes the sink (a capture file gets its final sizes)
  // and marks every ring lost. Idempotent.
  void Close();

  TAudioFormat PrimaryFormat();
  // Reopens the sink for Format (already validated); the sink may adjust it.
  void SetPrimaryFormat(const TAudioFormat& Format);

  // Registers a new ring for mixing. After a device loss this first tries
  // to bring ALSA back.
  void AddRing(const std::shared_ptr<TSoundRing>& Ring);
  void RemoveRing(const TSoundRing* Ring);
  uint32_t OutputRate();

  // Behaves as if the sink had reported its device gone.
  void SimulateLoss();
  // On a stepped engine, mixes whole periods until at least Frames frames
  // went to the sink; returns how many did. 0 on any other engine.
  uint32_t Step(uint32_t Frames);

  std::mutex Mutex;

 private:
  enum class TSinkKind { Alsa, Silent, Capture };
  void StartMixing();
  void StopMixing();
  // Opens the sink the device was created for; null when it cannot be had.
  std::unique_ptr<TSoundSink> OpenChosenSink(const TAudioFormat& Format, TSinkKind* Kind);
  void LoseRingsLocked();
  void LoseDeviceLocked();
  void Run();
  // One mixing period, from gathering the rings to writing the sink;
  // returns its length in frames.
  uint32_t MixPeriod();
  // Copies each playing ring's frames for one period; under the mutex.
  void GatherLocked(uint32_t Period, uint32_t OutputRate,
                    std::vector<std::shared_ptr<TSoundRing>>& Active);

  const TSoundSinkChoice FChoice;
  const std::string FAlsaName;
  std::thread FThread;
  std::atomic<bool> FStopping{false};
  bool FClosed = false;

  // The sink is the mixing thread's while it runs; swaps are handed over
  // through the fields below, under the mutex.
  std::unique_ptr<TSoundSink> FSink;
  TSinkKind FSinkKind = TSinkKind::Silent;
  TAudioFormat FFormat;
  std::vector<std::shared_ptr<TSoundRing>> FRings;
  // The mixing period's working buffers.
  std::vector<std::shared_ptr<TSoundRing>> FActive;
  std::vector<float> FSum;
  std::vector<uint8_t> FOutput;
  bool FLossPending = false;
  bool FFellBack = false;  // silent since a loss; ALSA is worth retrying
  bool FRetrying = false;
  std::unique_ptr<TSoundSink> FPendingSink;
};

}  // namespace tw
