// Decoding speed of the audio file reader: the shipped music decoded from
// start to end in the blocks a sound channel asks for (400 ms of audio per
// Read, the refill thread's interval), on one core. The counter TimesRealTime
// is the audio's duration divided by the CPU time it took, so 500 means one
// second of CPU decodes 500 seconds of music.
//
//   tintwell_sound_bench [Google Benchmark flags...]
// The sounds folder is the source tree's data/sounds, or the folder named by
// the environment variable TINTWELL_SOUNDS_DIR (ending with a separator).
#include <benchmark/benchmark.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "bench/SoundSceneU.h"
#include "sound/auAudioFileReadU.h"

namespace {

using tw::TauAudioFileReader;

// The bytes of one channel block: 400 ms of the file's own PCM, whole frames.
int64_t BlockBytes(const tw::TAudioFormat& format) {
  const int64_t bytes = int64_t(format.AvgBytesPerSec) * 400 / 1000;
  return bytes - bytes % format.BlockAlign;
}

// Reads from the current position to the end; returns the sample frames read.
int64_t DecodeToEnd(TauAudioFileReader& reader, std::vector<uint8_t>& block) {
  int64_t bytes = 0;
  for (;;) {
    const int64_t read = reader.Read(block.data(), int64_t(block.size()));
    if (read <= 0) break;
    bytes += read;
    benchmark::DoNotOptimize(block.data());
  }
  return bytes / reader.Format().BlockAlign;
}

// Every pass must deliver exactly the frames the reader announced, or the
// speed would be of some other amount of work.
bool CheckFrames(benchmark::State& state, const TauAudioFileReader& reader, int64_t frames) {
  if (frames == reader.SampleCount()) return true;
  state.SkipWithError(("decoded " + std::to_string(frames) + " frames, the file has " +
                       std::to_string(reader.SampleCount()))
                          .c_str());
  return false;
}

void ReportSpeed(benchmark::State& state, const TauAudioFileReader& reader) {
  const double seconds = double(reader.Duration()) / tw::AudioTimeUnitsPerSecond;
  state.counters["TimesRealTime"] =
      benchmark::Counter(seconds * double(state.iterations()), benchmark::Counter::kIsRate);
  state.SetBytesProcessed(state.iterations() * reader.SampleCount() * reader.Format().BlockAlign);
}

// The file opened once; each iteration rewinds and decodes it all, as a
// looping music channel does.
void DecodeMusic(benchmark::State& state) {
  std::unique_ptr<TauAudioFileReader> reader;
  try {
    reader = std::make_unique<TauAudioFileReader>(tw::bench::BenchSoundsFolder() + "music.mp3");
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return;
  }
  std::vector<uint8_t> block(size_t(BlockBytes(reader->Format())));
  for (auto _ : state) {
    reader->Seek(0);
    const int64_t frames = DecodeToEnd(*reader, block);
    if (!CheckFrames(state, *reader, frames)) return;
  }
  ReportSpeed(state, *reader);
}

// The same with the file opened anew every time: what the first play of
// the music costs, including the reader's scan for the exact duration.
void OpenAndDecodeMusic(benchmark::State& state) {
  const std::string name = tw::bench::BenchSoundsFolder() + "music.mp3";
  std::unique_ptr<TauAudioFileReader> reader;
  std::vector<uint8_t> block;
  try {
    for (auto _ : state) {
      reader = std::make_unique<TauAudioFileReader>(name);
      block.resize(size_t(BlockBytes(reader->Format())));
      const int64_t frames = DecodeToEnd(*reader, block);
      if (!CheckFrames(state, *reader, frames)) return;
    }
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return;
  }
  if (reader) ReportSpeed(state, *reader);
}

}  // namespace

BENCHMARK(DecodeMusic)->Name("SoundDecode/music.mp3/Read400ms")->Unit(benchmark::kMillisecond);
BENCHMARK(OpenAndDecodeMusic)
    ->Name("SoundDecode/music.mp3/OpenAndRead400ms")
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
