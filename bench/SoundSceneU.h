// The program's sound set-up, rebuilt for the sound benchmarks without the
// window layer: a mixer with the program's output settings (16-bit stereo at
// 44100 Hz, priority level, speaker configuration 4), the looping music
// channel on music.mp3 and the ten cue channels on the shipped cue files,
// opened in the program's order. Nothing plays until the caller says so;
// the output goes to the sink chosen with SetSoundSink beforehand.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "sound/auDSMixerU.h"

namespace tw::bench {

constexpr int SoundCueCount = 10;

// The cue names in channel order; each names its file "<Name>.mp3".
extern const std::array<const char*, SoundCueCount> SoundCueNames;

// The sounds folder: TINTWELL_SOUNDS_DIR from the environment when set,
// else the source tree's data/sounds. Ends with a separator.
std::string BenchSoundsFolder();

struct TSoundScene {
  // Opens every file; a file that cannot be opened throws (a benchmark of
  // silent channels would measure nothing).
  TSoundScene(const std::string& Folder, int32_t MusicVolume, int32_t CueVolume);

  std::unique_ptr<TauDSMixer> Mixer;
  TauDSMixerChannel* Music = nullptr;
  std::array<TauDSMixerChannel*, SoundCueCount> Cues{};
};

}  // namespace tw::bench
