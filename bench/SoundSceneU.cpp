#include "bench/SoundSceneU.h"

#include <cstdlib>

namespace tw::bench {

const std::array<const char*, SoundCueCount> SoundCueNames = {
    "DropperIn", "DropperOut", "Splash",   "StrokeUp",   "StrokeDown",
    "GetPaint",  "Wash",       "PageTurn", "ToolChange", "Undo",
};

std::string BenchSoundsFolder() {
  const char* Folder = std::getenv("TINTWELL_SOUNDS_DIR");
  return Folder && *Folder ? Folder : TINTWELL_SOUNDS_DIR;
}

TSoundScene::TSoundScene(const std::string& Folder, int32_t MusicVolume, int32_t CueVolume)
    : Mixer(std::make_unique<TauDSMixer>()) {
  Mixer->SetBitsPerSample(bs16Bit);
  Mixer->SetStereo(true);
  Mixer->SetFrequency(44100);
  Mixer->SetLevel(lPriority);
  Mixer->SetSpeakerConfig(4);
  // SetFileName resets Loop and Volume, so they come after it.
  Music = &Mixer->AddChannel();
  Music->SetFileName(Folder + "music.mp3");
  Music->SetLoop(true);
  Music->SetVolume(MusicVolume);
  for (int Cue = 0; Cue < SoundCueCount; ++Cue) {
    TauDSMixerChannel& Channel = Mixer->AddChannel();
    Cues[size_t(Cue)] = &Channel;
    Channel.SetFileName(Folder + SoundCueNames[size_t(Cue)] + ".mp3");
    Channel.SetVolume(CueVolume);
  }
}

}  // namespace tw::bench
