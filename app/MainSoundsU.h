// TMainSounds: the main window's sound. It owns the mixer with the
// program's output settings (16-bit stereo at 44100 Hz, priority level,
// speaker configuration 4), the looping music channel and the ten sound cue
// channels, plays the cues (never before the window has started) and fades
// the music in and out with the application's activation.
//
// Sound never stops the program: a sound file that is missing or cannot be
// decoded, or a sound device that fails, leaves the channel concerned
// silent and everything else working. Such problems are written to stderr,
// at most one line for the files at creation and one line for the first
// failure while playing; the channels themselves stay in place, so the
// options dialog always gets all eleven.
//
// The output goes wherever the sound device sends it: the sink chosen with
// SetSoundSink, else the TINTWELL_SOUND environment variable, else ALSA with
// a quiet fall-back to silence (sound/auSoundDeviceU.h). Create it in the
// thread that runs the event loop, after that thread's notifier is set.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace tw {

class TauDSMixer;
class TauDSMixerChannel;

// The sound cues, numbered in the order of their channels.
enum TSoundCue : int {
  cueDropperIn = 0,  // the dropper takes paint
  cueDropperOut,     // the dropper squeezes its paint into a mix well
  cueSplash,         // the fill tool filled an area
  cueStrokeUp,       // a stroke started on the picture
  cueStrokeDown,     // loaded with the others; nothing plays it
  cueGetPaint,       // the paint colour was set
  cueWash,           // the tap washed the picture or emptied a mix well
  cuePageTurn,       // another picture or palette
  cueToolChange,     // the tool was set
  cueUndo,           // an undo step
};
constexpr int SoundCueCount = 10;

// "DropperIn", "DropperOut", ... "Undo": the cue's name, which also names
// its file "<SoundsFolder><Name>.mp3". Empty for a number outside 0..9.
std::string SoundCueName(int Cue);
// The number of a cue name (exact spelling), -1 when there is none.
int SoundCueByName(const std::string& Name);

// Volumes are hundredths of a decibel; stored values outside -10000..0 are
// clamped into it.
int32_t ClampVolume(int32_t Volume);

// Where the sound settings come from; read anew at each use.
struct TSoundSettings {
  std::function<int32_t()> MusicVolume;
  std::function<int32_t()> SfxVolume;
};
// The program's settings ("MusicVolume", "SfxVolume" of QCSetting()).
TSoundSettings ProgramSoundSettings();

class TMainSounds {
 public:
  static constexpr uint32_t MusicFadeTime = 3000;  // milliseconds

  // Creates the mixer and the channels: the music channel with
  // "<SoundsFolder>music.mp3", looping, at MusicVolume; then the ten cue
  // channels in cue order with "<SoundsFolder><Cue>.mp3" at SfxVolume
  // (SfxVolume is read once, before the cue channels). SoundsFolder is
  // relative to the working folder (the program folder) or absolute and
  // ends with a separator. Nothing plays yet.
  explicit TMainSounds(TSoundSettings Settings = ProgramSoundSettings(),
                       const std::string& SoundsFolder = "sounds/");
  // Frees the ten cue channels, then the mixer with the music channel.
  ~TMainSounds();
  TMainSounds(const TMainSounds&) = delete;
  TMainSounds& operator=(const TMainSounds&) = delete;

  // Cues play only while this is set (the main window sets it at the end
  // of its deferred start). False after creation.
  void SetStarted(bool Value) { FStarted = Value; }
  bool Started() const { return FStarted; }

  // When started: Stop (which rewinds) and then Play on the cue's channel,
  // so a cue still sounding starts again from its beginning. A number
  // outside 0..9 or an unknown name plays nothing.
  void PlayCue(int Cue);
  void PlayCue(const std::string& Name);

  // When started: Play the music (it keeps playing if it does), set its
  // volume to (3 * (V + 10000)) div 4 - 10000 for the setting MusicVolume V
  // (clamped) and fade to V over 3000 ms: the music comes back from a
  // quarter of the way toward silence.
  void MusicFadeIn();
  // Fades the music to silence (-10000) over 3000 ms; it keeps running.
  void MusicFadeOut();
  // For the save and print dialogs: the music pauses and resumes where it
  // was. PlayMusic does nothing before the start.
  void PauseMusic();
  void PlayMusic();

  TauDSMixer& Mixer() { return *FMixer; }
  TauDSMixerChannel& MusicChannel() { return *FMusic; }
  // The ten cue channels in cue order, for the options dialog.
  std::span<TauDSMixerChannel* const> EffectChannels() const { return FEffects; }
  TauDSMixerChannel& EffectChannel(int Cue) const { return *FEffects.at(size_t(Cue)); }

  // Test hook: called with the cue number for every cue played while
  // started, whether or not its channel could make a sound.
  std::function<void(int Cue)> OnCuePlayed;

 private:
  // Runs a channel operation; a failure is reported once and swallowed.
  template <class TOperation>
  void Guarded(const char* What, TOperation&& Operation);

  TSoundSettings FSettings;
  std::unique_ptr<TauDSMixer> FMixer;
  TauDSMixerChannel* FMusic = nullptr;
  std::array<TauDSMixerChannel*, SoundCueCount> FEffects{};
  bool FStarted = false;
  bool FPlaybackFailureReported = false;
};

}  // namespace tw
