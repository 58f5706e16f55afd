// TDOptions: the options dialog. It sets the music volume, the sound-effect
// volume, whether bubble hints show and the interface language. Every change
// takes effect at once (on the channels, in the language lookup, in its own
// labels) and is written to the settings at once; there is only an OK
// button. The music keeps playing while it is open, so a volume change is
// heard as the slider moves.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "controls/QDialogF.h"

class QComboBox;
class QLabel;

namespace tw {

class TauDSMixerChannel;
class TQImgButton;
class TQSlider;

// A volume slider's position and a channel volume (hundredths of a decibel,
// -10000 silence, 0 full level) correspond by a square-root curve, so the
// slider's middle sounds like about half the loudness. Positions outside
// Min..Max and volumes outside -10000..0 are clamped first; an empty range
// (Max <= Min) means the slider shows Min and gives silence.
int32_t SliderToVolume(int32_t Position, int32_t Min, int32_t Max);
int32_t VolumeToSlider(int32_t Volume, int32_t Min, int32_t Max);

// One selectable interface language.
struct TLanguageEntry {
  std::string Code;         // names its file, e.g. "en_us"
  std::string DisplayName;  // as its own speakers write it
};

// The stored language list entries "code=display name" as entries, in order.
// An entry without "=" shows its code as its name; an empty code is skipped.
std::vector<TLanguageEntry> ParseLanguageEntries(const std::vector<std::string>& Entries);

// The effect channels come in cue order; this is the cue whose channel
// previews a new effect volume (the tool-change sound).
constexpr size_t ToolChangeCue = 8;
constexpr size_t EffectChannelCount = 10;

class TDOptions : public TfrmQDialog {
  Q_OBJECT

 public:
  // The design client size.
  static constexpr int DesignWidth = 443;
  static constexpr int DesignHeight = 303;
  static constexpr int SliderMin = 0;
  static constexpr int SliderMax = 100;
  static constexpr int LanguageItemHeight = 20;

  // Reads the language list and selects the entry of the Language setting,
  // sets the texts and loads the artwork. The program globals (settings and
  // language) must exist.
  explicit TDOptions(QWidget* Owner = nullptr);
  ~TDOptions() override;

  // The channels the sliders act on; neither is owned. The music channel may
  // be null, and so may any effect channel: those are left alone.
  void SetChannels(TauDSMixerChannel* MusicChannel,
                   std::span<TauDSMixerChannel* const> EffectChannels);
  // Places the sliders by the channels' present volumes (the music channel,
  // and the tool-change effect channel); a missing channel is represented by
  // its stored setting instead.
  void ShowChannelVolumes();

  bool HintsOn() const;
  void SetHintsOn(bool Value);

  const std::vector<TLanguageEntry>& Languages() const { return FLanguages; }

  // Sets the title, captions and button text from the current language,
  // shrinking a label's font where the text would not fit its box.
  void SetTexts();

  QLabel* TitleLabel() const { return FTitle; }
  QLabel* MusicLabel() const { return FMusicCaption; }
  QLabel* SfxLabel() const { return FSfxCaption; }
  QLabel* HintsLabel() const { return FHintsCaption; }
  QLabel* LangLabel() const { return FLangCaption; }
  TQSlider* MusicSlider() const { return FMusicVol; }
  TQSlider* SfxSlider() const { return FSfxVol; }
  TQImgButton* HintsCheck() const { return FChkHints; }
  QComboBox* LanguageList() const { return FCboLang; }
  TQImgButton* OkButton() const { return FBtnOK; }

 private:
  void CreateControls();
  void FillLanguages();
  void MusicVolumeChanged();
  void SfxVolumeReleased();
  void HintsClicked();
  void LanguageChosen(int Index);

  TauDSMixerChannel* FMusicChannel = nullptr;
  std::vector<TauDSMixerChannel*> FEffectChannels;
  std::vector<TLanguageEntry> FLanguages;

  QLabel* FTitle = nullptr;
  QLabel* FMusicCaption = nullptr;
  TQSlider* FMusicVol = nullptr;
  QLabel* FSfxCaption = nullptr;
  TQSlider* FSfxVol = nullptr;
  QLabel* FHintsCaption = nullptr;
  TQImgButton* FChkHints = nullptr;
  QLabel* FLangCaption = nullptr;
  QComboBox* FCboLang = nullptr;
  TQImgButton* FBtnOK = nullptr;
};

// Runs the options dialog modally over the main window: the sliders start at
// the channels' present volumes, the check box at HintsOn; afterwards HintsOn
// holds the check box's state. EffectChannels are the ten effect channels in
// cue order.
void OptionsDialogRun(TauDSMixerChannel* MusicChannel,
                      std::span<TauDSMixerChannel* const> EffectChannels, bool& HintsOn);

}  // namespace tw
