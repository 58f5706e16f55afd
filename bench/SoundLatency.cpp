// The delay from Play on a stopped cue to the cue's first samples at the
// sink, measured on what the sound device actually wrote: the program's
// sound set-up plays into the WAV capture sink, and the capture shows where
// each cue's first samples landed.
//
// The capture sink is paced by a clock: it takes one period of P frames,
// appends it to the file, then sleeps until those frames are due, so frame
// i of the file is due at Origin + i / rate, Origin being the moment the
// clock started. A frame reaches the sink when it is both written and due:
// a mixing thread that woke late writes its period after the period's due
// time, and a device would then play it late. So a cue's first sample
// (the first non-zero frame of the capture after Play) arrives at
//     max(Origin + frame / rate, when its period was written)
// and the delay is that minus the moment of Play, less the silence the cue
// file itself starts with.
//
// Both times come from watching the file grow, every ~0.1 ms from 60 ms
// before each Play to 100 ms after it. The period holding frames
// [nP, (n+1)P) is begun no earlier than Origin + nP / rate, so a look at
// time t that shows frame nP or a later one of that period proves
// Origin <= t - nP / rate; the smallest such bound over the run is taken
// (per stretch between clock restarts, see ShareOrigins). A frame's write
// time is the first look that shows it. Both sit late by however long the
// writes took to be seen, which makes the delay come out long: the error is
// on the cautious side. On a busy machine the watching thread itself can be
// held up; the gap between that look and the one before it is printed, so a
// long arrival can be told apart from a late look. P is the most common
// growth seen.
//
// The music plays too (looping, at volume -10000, so the mixer and the
// music's refill thread do their usual work while the capture stays exactly
// zero outside the cues); the cue plays at full level. Each cue is played
// as the program plays it, Stop then Play, and the time is taken just
// before Stop. Cues take turns, so the first ten plays are each cue's first
// (which also creates its buffer on the device) and the rest are replays.
//
//   tintwell_sound_latency [REPETITIONS [CAPTURE.wav]]   (default 20; the
//   capture goes to a temporary file, removed at the end, unless named)
// The last lines, "latency_median_ms N" and "latency_max_ms N", are for
// bench/run-benchmarks.sh.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "bench/SoundSceneU.h"
#include "sound/auSoundDeviceU.h"

namespace {

using Clock = std::chrono::steady_clock;
using tw::EError;

constexpr size_t WavHeaderBytes = 44;

uint32_t GetLE(const uint8_t* at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | at[i];
  return value;
}

struct TWavShape {
  uint32_t Rate = 0;
  uint32_t Channels = 0;
};

// The capture sink writes a plain 44-byte header of 16-bit PCM.
TWavShape ParseHeader(const uint8_t* header) {
  if (std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0 ||
      std::memcmp(header + 36, "data", 4) != 0 || GetLE(header + 20, 2) != 1 ||
      GetLE(header + 34, 2) != 16)
    throw EError("the capture is not a 16-bit PCM WAV file");
  TWavShape shape{GetLE(header + 24, 4), GetLE(header + 22, 2)};
  if (shape.Rate == 0 || shape.Channels == 0) throw EError("the capture's header is empty");
  return shape;
}

std::vector<uint8_t> ReadFile(const std::string& name) {
  std::ifstream file(name, std::ios::binary);
  if (!file) throw EError("cannot read " + name);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

// One look at the capture file that found it grown.
struct TSighting {
  Clock::time_point Time;
  Clock::time_point LookBefore;  // the previous look, which saw fewer frames
  int64_t Frames = 0;
};

// Watches the capture file grow.
class TCaptureWatch {
 public:
  explicit TCaptureWatch(std::string fileName) : FFileName(std::move(fileName)) {}

  TWavShape Shape() {
    std::vector<uint8_t> bytes = ReadFile(FFileName);
    if (bytes.size() < WavHeaderBytes) throw EError("the capture has no header yet");
    FShape = ParseHeader(bytes.data());
    return FShape;
  }

  // Looks at the file every ~0.1 ms for Window and appends to Sightings the
  // first look at every new size.
  void Watch(Clock::duration window, std::vector<TSighting>& sightings) {
    const int64_t frameBytes = FShape.Channels * 2;
    const Clock::time_point end = Clock::now() + window;
    int64_t last = sightings.empty() ? -1 : sightings.back().Frames;
    while (Clock::now() < end) {
      struct stat info {};
      if (stat(FFileName.c_str(), &info) != 0) throw EError("the capture file went away");
      const Clock::time_point seen = Clock::now();
      const int64_t frames = (int64_t(info.st_size) - int64_t(WavHeaderBytes)) / frameBytes;
      if (frames != last) {
        sightings.push_back({seen, FLastLook, frames});
        last = frames;
      }
      FLastLook = seen;
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
  }

 private:
  std::string FFileName;
  TWavShape FShape;
  // Kept across windows, so a write made between two of them (while Play
  // ran) is not taken for one seen at once.
  Clock::time_point FLastLook = Clock::now();
};

// The period and the tightest bound on the clock's origin; throws when the
// file did not grow often enough. The period is the most common growth: an
// append can be seen half done, since the C library may split it in two
// writes, so the smallest growth says nothing.
void Align(const std::vector<TSighting>& sightings, uint32_t rate, int64_t& period,
           Clock::time_point& origin) {
  std::map<int64_t, int> growths;
  for (size_t i = 1; i < sightings.size(); ++i) {
    const int64_t growth = sightings[i].Frames - sightings[i - 1].Frames;
    if (growth > 0) ++growths[growth];
  }
  period = 0;
  int count = 0;
  for (const auto& [growth, times] : growths)
    if (times > count) {
      period = growth;
      count = times;
    }
  if (count < 3)
    throw EError("the capture file did not grow while watched: is the device running?");
  // F frames on file means the period holding frame F - 1 was begun.
  origin = Clock::time_point::max();
  for (const TSighting& s : sightings) {
    if (s.Frames <= 0) continue;
    const int64_t begun = (s.Frames - 1) / period * period;
    const std::chrono::duration<double> ahead(double(begun) / rate);
    origin = std::min(origin, s.Time - std::chrono::duration_cast<Clock::duration>(ahead));
  }
}

// How long a cue file starts silent: the time of its first non-zero sample.
double LeadingSilence(const std::string& fileName) {
  tw::TauAudioFileReader reader(fileName);
  const tw::TAudioFormat& format = reader.Format();
  std::vector<uint8_t> block(format.BlockAlign * 4096u);
  const uint8_t silence = format.BitsPerSample == 8 ? 128 : 0;
  int64_t offset = 0;
  for (;;) {
    const int64_t read = reader.Read(block.data(), int64_t(block.size()));
    if (read <= 0) throw EError(fileName + " is silent throughout");
    for (int64_t i = 0; i < read; ++i)
      if (block[size_t(i)] != silence) {
        const int64_t frame = (offset + i) / format.BlockAlign;
        return double(frame) / format.SampleRate;
      }
    offset += read;
  }
}

struct TPlay {
  int Cue = 0;
  bool First = false;
  Clock::time_point Time;
  double CallMs = 0;
  std::vector<TSighting> Sightings;
  int64_t Period = 0;
  Clock::time_point OwnOrigin;  // the bound from this play's sightings alone
  Clock::time_point Origin;     // the tightest bound of its group
};

// A single play's bound is loose by as much as the mixing thread ran late
// through its whole window, which on a busy machine can be milliseconds;
// the clock's origin itself only moves when the clock restarts after
// falling 200 ms behind, and then by at least that much. So plays are
// grouped until a bound jumps by 100 ms, and each group shares its tightest
// bound. Returns the number of restarts seen.
int ShareOrigins(std::vector<TPlay>& plays) {
  using namespace std::chrono;
  int restarts = 0;
  size_t begin = 0;
  while (begin < plays.size()) {
    Clock::time_point best = plays[begin].OwnOrigin;
    size_t end = begin + 1;
    while (end < plays.size() && plays[end].OwnOrigin - best < milliseconds(100) &&
           best - plays[end].OwnOrigin < milliseconds(100)) {
      best = std::min(best, plays[end].OwnOrigin);
      ++end;
    }
    for (size_t i = begin; i < end; ++i) plays[i].Origin = best;
    restarts += begin > 0;
    begin = end;
  }
  return restarts;
}

struct TResult {
  double DueMs = 0;      // from Play to the first frame's due time
  double ArrivalMs = 0;  // from Play to when that frame was both due and written
  double LookGapMs = 0;  // since the look before the one that saw it written
  std::string Error;
};

// Finds the cue's first frame in the capture and turns it into the delay.
TResult Measure(const std::vector<uint8_t>& wav, const TWavShape& shape, const TPlay& play,
                double leadSeconds) {
  using namespace std::chrono;
  const size_t frameBytes = shape.Channels * 2;
  const int64_t frames = int64_t((wav.size() - WavHeaderBytes) / frameBytes);
  const double playFrame = duration<double>(play.Time - play.Origin).count() * shape.Rate;
  const auto silent = [&](int64_t frame) {
    const uint8_t* at = wav.data() + WavHeaderBytes + size_t(frame) * frameBytes;
    return std::all_of(at, at + frameBytes, [](uint8_t b) { return b == 0; });
  };
  // The period due just before Play may still take the cue when the mixing
  // thread woke late; sound any earlier is something else (a previous cue
  // still sounding) or a wrong alignment.
  const int64_t from = std::max<int64_t>(0, int64_t(playFrame) - 2 * play.Period);
  const int64_t limit = std::min<int64_t>(frames, int64_t(playFrame) + shape.Rate);
  int64_t first = from;
  while (first < limit && silent(first)) ++first;
  if (first == limit) return {0, 0, 0, "the cue never reached the capture"};
  if (double(first) < playFrame - double(play.Period))
    return {0, 0, 0, "sound in the capture before Play"};
  const auto written = std::find_if(play.Sightings.begin(), play.Sightings.end(),
                                    [first](const TSighting& s) { return s.Frames > first; });
  if (written == play.Sightings.end())
    return {0, 0, 0, "the cue's first samples were not written within 100 ms of Play"};
  const double lead = leadSeconds * 1000;
  const double due = (double(first) - playFrame) / shape.Rate * 1000 - lead;
  const double seen = duration<double, std::milli>(written->Time - play.Time).count() - lead;
  const double gap = duration<double, std::milli>(written->Time - written->LookBefore).count();
  return {due, std::max(due, seen), gap, {}};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int Run(int repetitions, const std::string& captureFile) {
  using namespace std::chrono;
  const std::string folder = tw::bench::BenchSoundsFolder();
  std::vector<double> leads;
  for (const char* name : tw::bench::SoundCueNames)
    leads.push_back(LeadingSilence(folder + name + ".mp3"));

  tw::SetSoundSink({tw::TSoundSinkChoice::Capture, captureFile});
  std::vector<TPlay> plays;
  TWavShape shape;
  {
    tw::bench::TSoundScene scene(folder, tw::SoundVolumeMin, 0);
    scene.Music->Play();
    std::this_thread::sleep_for(milliseconds(500));
    TCaptureWatch watch(captureFile);
    shape = watch.Shape();
    for (int r = 0; r < repetitions; ++r) {
      TPlay play;
      play.Cue = r % tw::bench::SoundCueCount;
      play.First = r < tw::bench::SoundCueCount;
      tw::TauDSMixerChannel& cue = *scene.Cues[size_t(play.Cue)];
      watch.Watch(milliseconds(60), play.Sightings);
      play.Time = Clock::now();
      cue.Stop();
      cue.Play();
      play.CallMs = duration<double, std::milli>(Clock::now() - play.Time).count();
      watch.Watch(milliseconds(100), play.Sightings);
      Align(play.Sightings, shape.Rate, play.Period, play.OwnOrigin);
      plays.push_back(std::move(play));
      // The cue must be over before the next one, so their samples never meet.
      std::this_thread::sleep_for(milliseconds(cue.Duration() + 200));
    }
    // The scene closes the device here, and the capture gets its final sizes.
  }

  const int restarts = ShareOrigins(plays);
  const std::vector<uint8_t> wav = ReadFile(captureFile);
  if (wav.size() < WavHeaderBytes) throw EError("the capture has no header");
  if (ParseHeader(wav.data()).Rate != shape.Rate) throw EError("the capture changed its format");

  std::printf("Delay from Play on a stopped cue to its first samples at the sink\n");
  std::printf(
      "(capture sink at %u Hz, period %lld frames; Due: to the first frame's due time,\n"
      " Arrival: to when it was both due and written, the figure used, as seen by a look\n"
      " at the file that came Look gap after the one before it)\n",
      shape.Rate, static_cast<long long>(plays.empty() ? 0 : plays.front().Period));
  std::printf("%-4s %-11s %-7s %-15s %-14s %-10s %-10s %s\n", "#", "Cue", "Play", "Stop+Play call",
              "Cue file lead", "Due", "Arrival", "Look gap");
  std::vector<double> all;
  std::vector<double> replays;
  int failures = 0;
  Clock::duration loosest{};
  for (size_t i = 0; i < plays.size(); ++i) {
    const TPlay& p = plays[i];
    loosest = std::max(loosest, p.OwnOrigin - p.Origin);
    const TResult result = Measure(wav, shape, p, leads[size_t(p.Cue)]);
    char delay[96];
    if (result.Error.empty()) {
      std::snprintf(delay, sizeof delay, "%7.2f ms %7.2f ms %7.2f ms", result.DueMs,
                    result.ArrivalMs, result.LookGapMs);
      all.push_back(result.ArrivalMs);
      if (!p.First) replays.push_back(result.ArrivalMs);
    } else {
      std::snprintf(delay, sizeof delay, "ERROR %s", result.Error.c_str());
      ++failures;
    }
    std::printf("%-4zu %-11s %-7s %8.2f ms     %8.2f ms    %s\n", i + 1,
                tw::bench::SoundCueNames[size_t(p.Cue)], p.First ? "first" : "replay", p.CallMs,
                leads[size_t(p.Cue)] * 1000, delay);
  }
  std::printf(
      "clock origin: the loosest single play's bound was %.3f ms above the shared one; "
      "%d clock restart(s)\n",
      duration<double, std::milli>(loosest).count(), restarts);
  if (all.empty()) {
    std::fprintf(stderr, "no cue could be measured\n");
    return 1;
  }
  std::printf("all plays:    median %.2f ms, max %.2f ms (%zu plays)\n", Median(all),
              *std::max_element(all.begin(), all.end()), all.size());
  if (!replays.empty())
    std::printf("replays only: median %.2f ms, max %.2f ms (%zu plays)\n", Median(replays),
                *std::max_element(replays.begin(), replays.end()), replays.size());
  std::printf("latency_median_ms %.3f\n", Median(all));
  std::printf("latency_max_ms %.3f\n", *std::max_element(all.begin(), all.end()));
  return failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  int repetitions = 20;
  if (argc > 1) {
    char* rest = nullptr;
    const long value = std::strtol(argv[1], &rest, 10);
    if (rest == argv[1] || *rest || value < 1 || value > 1000) {
      std::fprintf(stderr, "usage: %s [REPETITIONS [CAPTURE.wav]]  (1..1000, default 20)\n",
                   argv[0]);
      return 2;
    }
    repetitions = int(value);
  }
  const bool keep = argc > 2;
  std::string capture;
  int code = 1;
  try {
    capture = keep ? argv[2]
                   : (std::filesystem::temp_directory_path() /
                      ("tintwell-sound-latency-" + std::to_string(getpid()) + ".wav"))
                         .string();
    code = Run(repetitions, capture);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tintwell_sound_latency: %s\n", e.what());
  }
  std::error_code ignored;
  if (!keep && !capture.empty()) std::filesystem::remove(capture, ignored);
  return code;
}
