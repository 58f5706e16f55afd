#include "app/MainSoundsU.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "settings/ProgramGlobalsU.h"
#include "sound/auDSMixerU.h"

namespace tw {

namespace {

constexpr std::array<const char*, SoundCueCount> CueNames = {
    "DropperIn", "DropperOut", "Splash",   "StrokeUp",   "StrokeDown",
    "GetPaint",  "Wash",       "PageTurn", "ToolChange", "Undo",
};

// Opens a channel's file; a file that cannot be used leaves the channel
// without one (silent) and adds its problem to Problems.
void OpenQuietly(TauDSMixerChannel& Channel, const std::string& FileName,
                 std::string& Problems) {
  try {
    Channel.SetFileName(FileName);
  } catch (const std::exception& Error) {
    Problems += (Problems.empty() ? "" : "; ") + FileName + ": " + Error.what();
  }
}

}  // namespace

std::string SoundCueName(int Cue) {
  if (Cue < 0 || Cue >= SoundCueCount) return std::string();
  return CueNames[size_t(Cue)];
}

int SoundCueByName(const std::string& Name) {
  for (int Cue = 0; Cue < SoundCueCount; ++Cue)
    if (Name == CueNames[size_t(Cue)]) return Cue;
  return -1;
}

int32_t ClampVolume(int32_t Volume) { return std::clamp<int32_t>(Volume, -10000, 0); }

TSoundSettings ProgramSoundSettings() {
  return {[] { return QCSetting().ReadMusicVolume(); }, [] { return QCSetting().ReadSfxVolume(); }};
}

TMainSounds::TMainSounds(TSoundSettings Settings, const std::string& SoundsFolder)
    : FSettings(std::move(Settings)), FMixer(std::make_unique<TauDSMixer>()) {
  FMixer->SetBitsPerSample(bs16Bit);
  FMixer->SetStereo(true);
  FMixer->SetFrequency(44100);
  FMixer->SetLevel(lPriority);
  FMixer->SetSpeakerConfig(4);

  std::string Problems;
  // SetFileName resets Loop and Volume, so they are set after it.
  FMusic = &FMixer->AddChannel();
  OpenQuietly(*FMusic, SoundsFolder + "music.mp3", Problems);
  FMusic->SetLoop(true);
  FMusic->SetVolume(ClampVolume(FSettings.MusicVolume ? FSettings.MusicVolume() : 0));

  const int32_t SfxVolume = ClampVolume(FSettings.SfxVolume ? FSettings.SfxVolume() : 0);
  for (int Cue = 0; Cue < SoundCueCount; ++Cue) {
    TauDSMixerChannel& Channel = FMixer->AddChannel();
    FEffects[size_t(Cue)] = &Channel;
    OpenQuietly(Channel, SoundsFolder + CueNames[size_t(Cue)] + ".mp3", Problems);
    Channel.SetVolume(SfxVolume);
  }
  if (!Problems.empty())
    std::fprintf(stderr, "Tintwell: these sounds stay silent: %s\n", Problems.c_str());
}

TMainSounds::~TMainSounds() {
  for (TauDSMixerChannel*& Channel : FEffects) {
    if (Channel) FMixer->RemoveChannel(*Channel);
    Channel = nullptr;
  }
}

template <class TOperation>
void TMainSounds::Guarded(const char* What, TOperation&& Operation) {
  try {
    Operation();
  } catch (const std::exception& Error) {
    // The channel has no file or the device failed: the sound is lost, the
    // program goes on.
    if (!FPlaybackFailureReported)
      std::fprintf(stderr, "Tintwell: %s failed, the sound stays silent: %s\n", What,
                   Error.what());
    FPlaybackFailureReported = true;
  }
}

void TMainSounds::PlayCue(int Cue) {
  if (!FStarted || Cue < 0 || Cue >= SoundCueCount) return;
  TauDSMixerChannel& Channel = *FEffects[size_t(Cue)];
  if (!Channel.FileName().empty()) {
    Guarded("Playing a sound", [&Channel] {
      Channel.Stop();
      Channel.Play();
    });
  }
  if (OnCuePlayed) OnCuePlayed(Cue);
}

void TMainSounds::PlayCue(const std::string& Name) { PlayCue(SoundCueByName(Name)); }

void TMainSounds::MusicFadeIn() {
  if (!FStarted || FMusic->FileName().empty()) return;
  const int32_t Target = ClampVolume(FSettings.MusicVolume ? FSettings.MusicVolume() : 0);
  Guarded("Playing the music", [this, Target] {
    FMusic->Play();
    FMusic->SetVolume((3 * (Target + 10000)) / 4 - 10000);
    FMusic->FadeTo(MusicFadeTime, Target);
  });
}

void TMainSounds::MusicFadeOut() {
  if (FMusic->FileName().empty()) return;
  Guarded("Fading the music", [this] { FMusic->FadeTo(MusicFadeTime, -10000); });
}

void TMainSounds::PauseMusic() {
  // A channel that never played would open the device just to pause.
  if (FMusic->State() != TauChannelState::Playing) return;
  Guarded("Pausing the music", [this] { FMusic->Pause(); });
}

void TMainSounds::PlayMusic() {
  if (!FStarted || FMusic->FileName().empty()) return;
  Guarded("Playing the music", [this] { FMusic->Play(); });
}

}  // namespace tw
