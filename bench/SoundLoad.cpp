// The CPU cost of the whole sound system while the program sits idle with
// its music on: the program's mixer set-up with the music looping into the
// clock-paced silent sink and the ten cue channels open but not playing.
// It measures the process's CPU time (user + system, getrusage) across a
// stretch of wall time and prints it as a percentage of one core. The music
// plays for a second before the measurement starts, so the one-off work of
// opening the device and priming the music's 4-second buffer is left out;
// everything that recurs (the refill thread decoding every 400 ms, the
// mixing thread's 10-ms periods) is in.
//
//   tintwell_sound_load [SECONDS]     (default 20)
// The last line, "load_percent N", is for bench/run-benchmarks.sh.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <thread>

#include "bench/SoundSceneU.h"
#include "sound/auNotifyU.h"
#include "sound/auSoundDeviceU.h"

namespace {

struct TCpuTime {
  double User = 0;
  double System = 0;
};

TCpuTime ProcessCpuTime() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
  return {seconds(usage.ru_utime), seconds(usage.ru_stime)};
}

int Run(double span) {
  using namespace std::chrono;
  tw::SetSoundSink({tw::TSoundSinkChoice::Silent, {}});
  tw::bench::TSoundScene scene(tw::bench::BenchSoundsFolder(), 0, 0);
  scene.Music->Play();
  std::this_thread::sleep_for(seconds(1));

  const TCpuTime before = ProcessCpuTime();
  const auto wallBefore = steady_clock::now();
  // Sleeping in steps lets the main thread run the channels' notifications
  // as the program's event loop would (a looping channel posts none).
  const auto end = wallBefore + duration_cast<nanoseconds>(duration<double>(span));
  while (steady_clock::now() < end) {
    std::this_thread::sleep_until(std::min(end, steady_clock::now() + milliseconds(500)));
    tw::ThreadNotifyQueue().Pump();
  }
  const double wall = duration<double>(steady_clock::now() - wallBefore).count();
  const TCpuTime after = ProcessCpuTime();
  const double user = after.User - before.User;
  const double system = after.System - before.System;
  const double cpu = user + system;

  if (scene.Music->State() != tw::TauChannelState::Playing) {
    std::fprintf(stderr, "the music stopped playing during the measurement\n");
    return 1;
  }
  for (tw::TauDSMixerChannel* cue : scene.Cues)
    if (cue->State() != tw::TauChannelState::Stopped) {
      std::fprintf(stderr, "a cue channel is not idle\n");
      return 1;
    }
  const double percent = 100 * cpu / wall;
  std::printf("Sound system CPU load: music looping on the silent sink, ten cues idle\n");
  std::printf("music              %u Hz, %u channel(s), %.1f s, looping\n",
              scene.Music->SampleRate(), scene.Music->Channels(), scene.Music->Duration() / 1000.0);
  std::printf("wall time          %.2f s\n", wall);
  std::printf("process CPU time   %.3f s (user %.3f s, system %.3f s)\n", cpu, user, system);
  std::printf("load               %.2f %% of one core\n", percent);
  std::printf("load_percent %.3f\n", percent);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 20;
  if (argc > 1) {
    char* rest = nullptr;
    seconds = std::strtod(argv[1], &rest);
    if (rest == argv[1] || *rest || !(seconds > 0 && seconds <= 3600)) {
      std::fprintf(stderr, "usage: %s [SECONDS]  (0 < SECONDS <= 3600, default 20)\n", argv[0]);
      return 2;
    }
  }
  try {
    return Run(seconds);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tintwell_sound_load: %s\n", e.what());
    return 1;
  }
}
