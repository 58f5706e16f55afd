#include "dialogs/DlgOptionsF.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QListView>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>
#include <memory>

#include "controls/LabelFitU.h"
#include "controls/ModalRunU.h"
#include "controls/QImgButtonU.h"
#include "controls/QSliderU.h"
#include "dialogs/DlgInfoF.h"
#include "painter/PaintCommonU.h"
#include "pictures/qt/ArtResourceU.h"
#include "settings/ProgramGlobalsU.h"
#include "sound/auDSMixerU.h"

namespace tw {

namespace {

// The dialog's look: its base font is bold and blue at 16 pixels, the title
// navy at 24 pixels.
constexpr int BaseFontPixels = 16;
constexpr int TitleFontPixels = 24;
// A label whose text will not fit is shrunk down to this size at most, so a
// long translation stays readable rather than overflowing its neighbours.
constexpr int SmallestFontPixels = 9;
// The language list's letters fit its 20-pixel items at this size.
constexpr int ListFontPixels = 14;
const QColor Blue(0, 0, 255);
const QColor Navy(0, 0, 128);

QLabel* MakeLabel(QWidget* Parent, const char* Name, QRect Box, Qt::Alignment Align) {
  auto* Label = new QLabel(Parent);
  Label->setObjectName(QString::fromLatin1(Name));
  Label->setGeometry(Box);
  Label->setAlignment(Align);
  Label->setWordWrap(true);
  return Label;
}

// Sets Text on Label at the largest pixel size, from PixelSize down, at which
// it fits the label's box with word wrap; the smallest size when none does.
void SetFittedText(QLabel* Label, const QString& Text, int PixelSize) {
  QFont Font = DialogFont(PixelSize, true);
  // The interface font's lines are much taller than its letters, so what
  // has to stay inside is the ink, not the line boxes.
  Font.setPixelSize(LargestFittingPixelSize(
      Font, PixelSize, SmallestFontPixels, [Label, &Text](const QFont& Candidate) {
        return TextInkFits(Candidate, Label->size(), Label->alignment(), Text);
      }));
  Label->setFont(Font);
  Label->setText(Text);
}

// Gives every entry of the drop-down list the same fixed height.
class TFixedHeightDelegate : public QStyledItemDelegate {
 public:
  TFixedHeightDelegate(int Height, QObject* Parent) : QStyledItemDelegate(Parent), FHeight(Height) {}

  QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    return {QStyledItemDelegate::sizeHint(Option, Index).width(), FHeight};
  }

 private:
  int FHeight;
};

}  // namespace

int32_t SliderToVolume(int32_t Position, int32_t Min, int32_t Max) {
  if (Max <= Min) return SoundVolumeMin;
  const int64_t Clamped = std::clamp<int64_t>(Position, Min, Max);
  const double T = double(Clamped - Min) / double(int64_t(Max) - Min);
  return int32_t(Nearest(std::sqrt(T) * 10000.0)) - 10000;
}

int32_t VolumeToSlider(int32_t Volume, int32_t Min, int32_t Max) {
  if (Max <= Min) return Min;
  const double X = double(std::clamp(Volume, SoundVolumeMin, SoundVolumeMax) + 10000) / 10000.0;
  // Rounded in 64 bits (halves to even, the default rounding mode), so even
  // the widest range cannot overflow; the result lies within Min..Max.
  return int32_t(Min + int64_t(std::nearbyint(double(int64_t(Max) - Min) * X * X)));
}

std::vector<TLanguageEntry> ParseLanguageEntries(const std::vector<std::string>& Entries) {
  std::vector<TLanguageEntry> Result;
  for (const std::string& Entry : Entries) {
    const size_t Equals = Entry.find('=');
    TLanguageEntry Language;
    Language.Code = Entry.substr(0, Equals);
    Language.DisplayName = Equals == std::string::npos ? Language.Code : Entry.substr(Equals + 1);
    if (!Language.Code.empty()) Result.push_back(std::move(Language));
  }
  return Result;
}

TDOptions::TDOptions(QWidget* Owner) : TfrmQDialog(Owner) {
  setObjectName(QStringLiteral("DOptions"));
  setFixedSize(DesignWidth, DesignHeight);
  setFont(DialogFont(BaseFontPixels, true));
  QPalette Colours = palette();
  Colours.setColor(QPalette::WindowText, Blue);
  setPalette(Colours);
  CreateControls();
  FillLanguages();
  SetTexts();
}

TDOptions::~TDOptions() = default;

void TDOptions::CreateControls() {
  const Qt::Alignment Right = Qt::AlignRight | Qt::AlignVCenter;
  FTitle = MakeLabel(this, "txtTitle", {16, 12, 411, 33}, Qt::AlignHCenter | Qt::AlignVCenter);
  QPalette TitleColours = FTitle->palette();
  TitleColours.setColor(QPalette::WindowText, Navy);
  FTitle->setPalette(TitleColours);
  FMusicCaption = MakeLabel(this, "txtMusic", {16, 60, 185, 23}, Right);
  FSfxCaption = MakeLabel(this, "txtSfx", {16, 92, 185, 23}, Right);
  FHintsCaption = MakeLabel(this, "txtHints", {16, 124, 185, 23}, Right);
  FLangCaption = MakeLabel(this, "txtLang", {16, 156, 185, 23}, Right);

  const QImage Track = PngResource(QStringLiteral("volTrack"));
  const QImage Thumb = PngResource(QStringLiteral("volThumb"));
  const auto MakeSlider = [&](const char* Name, QRect Box) {
    auto* Slider = new TQSlider(this);
    Slider->setObjectName(QString::fromLatin1(Name));
    Slider->setGeometry(Box);
    Slider->SetMinValue(SliderMin);
    Slider->SetMaxValue(SliderMax);
    Slider->SetPicBackground(Track);
    Slider->SetPicThumb(Thumb);
    return Slider;
  };
  FMusicVol = MakeSlider("musicVol", {216, 62, 126, 18});
  FSfxVol = MakeSlider("sfxVol", {216, 94, 126, 18});
  // The music is heard while the thumb moves; the effects only on release,
  // with one preview sound rather than a burst of them.
  FMusicVol->OnChanging = [this](TQHintControl&) { MusicVolumeChanged(); };
  FMusicVol->OnChange = [this](TQHintControl&) { MusicVolumeChanged(); };
  FSfxVol->OnChange = [this](TQHintControl&) { SfxVolumeReleased(); };

  FChkHints = new TQImgButton(this);
  FChkHints->setObjectName(QStringLiteral("chkHints"));
  FChkHints->setGeometry(216, 120, 28, 28);
  FChkHints->LoadPngPictures(QStringLiteral("chk"));
  FChkHints->OnClick = [this](TQHintControl&) { HintsClicked(); };

  FCboLang = new QComboBox(this);
  FCboLang->setObjectName(QStringLiteral("cboLang"));
  FCboLang->setGeometry(216, 153, 177, 28);
  FCboLang->setFont(DialogFont(ListFontPixels, true));
  // A plain list view, so the popup is a list under the box (not a menu
  // over it) whose items take the delegate's height.
  FCboLang->setView(new QListView(FCboLang));
  FCboLang->setItemDelegate(new TFixedHeightDelegate(LanguageItemHeight, FCboLang));
  FCboLang->setStyleSheet(QStringLiteral(
      "QComboBox { background: white; color: rgb(0,0,255); border: 2px solid rgb(0,0,128);"
      " border-radius: 5px; padding: 0px 4px; }"
      "QComboBox QAbstractItemView { background: white; color: rgb(0,0,255);"
      " border: 2px solid rgb(0,0,128); outline: 0px;"
      " selection-background-color: rgb(255,224,112); selection-color: rgb(0,0,128); }"));
  connect(FCboLang, &QComboBox::currentIndexChanged, this,
          [this](int Index) { LanguageChosen(Index); });

  // The green art is drawn for the wider buttons of the other dialogs; it
  // is narrowed in its middle so both rounded ends show.
  FBtnOK = CreateDialogButton(this, QStringLiteral("btnOK"), QStringLiteral("btnGreen"),
                              QRect(308, 253, 120, 36), QString(), mrOk);
  FBtnOK->SetFont(DialogFont(BaseFontPixels, true));
}

void TDOptions::FillLanguages() {
  std::vector<std::string> Entries;
  QCSetting().ReadLanguages(Entries);
  FLanguages = ParseLanguageEntries(Entries);
  const std::string Current = QCSetting().ReadLanguage();
  // Filling is not a choice of the user: nothing may be written here.
  const QSignalBlocker Quiet(FCboLang);
  FCboLang->clear();
  int Selected = -1;
  for (size_t Index = 0; Index < FLanguages.size(); ++Index) {
    FCboLang->addItem(QString::fromStdString(FLanguages[Index].DisplayName));
    if (Selected < 0 && FLanguages[Index].Code == Current) Selected = int(Index);
  }
  FCboLang->setCurrentIndex(Selected);
}

void TDOptions::SetTexts() {
  SetFittedText(FTitle, Text(QStringLiteral("Title")), TitleFontPixels);
  SetFittedText(FMusicCaption, Text(QStringLiteral("Music")), BaseFontPixels);
  SetFittedText(FSfxCaption, Text(QStringLiteral("Sfx")), BaseFontPixels);
  SetFittedText(FHintsCaption, Text(QStringLiteral("Hints")), BaseFontPixels);
  SetFittedText(FLangCaption, Text(QStringLiteral("Lang")), BaseFontPixels);
  FBtnOK->SetFont(DialogFont(BaseFontPixels, true));
  FBtnOK->SetCaption(Text(QStringLiteral("OK")));
  FitButtonFont(FBtnOK, BaseFontPixels);
  setWindowTitle(FTitle->text());
}

void TDOptions::SetChannels(TauDSMixerChannel* MusicChannel,
                            std::span<TauDSMixerChannel* const> EffectChannels) {
  FMusicChannel = MusicChannel;
  FEffectChannels.assign(EffectChannels.begin(), EffectChannels.end());
}

void TDOptions::ShowChannelVolumes() {
  const int32_t Music = FMusicChannel ? FMusicChannel->Volume() : QCSetting().ReadMusicVolume();
  TauDSMixerChannel* Preview =
      ToolChangeCue < FEffectChannels.size() ? FEffectChannels[ToolChangeCue] : nullptr;
  const int32_t Sfx = Preview ? Preview->Volume() : QCSetting().ReadSfxVolume();
  FMusicVol->SetValue(VolumeToSlider(Music, SliderMin, SliderMax));
  FSfxVol->SetValue(VolumeToSlider(Sfx, SliderMin, SliderMax));
}

bool TDOptions::HintsOn() const { return FChkHints->Down(); }

void TDOptions::SetHintsOn(bool Value) { FChkHints->SetDown(Value); }

void TDOptions::MusicVolumeChanged() {
  const int32_t Volume = SliderToVolume(FMusicVol->Value(), SliderMin, SliderMax);
  if (FMusicChannel) FMusicChannel->SetVolume(Volume);
  QCSetting().WriteMusicVolume(Volume);
}

void TDOptions::SfxVolumeReleased() {
  const int32_t Volume = SliderToVolume(FSfxVol->Value(), SliderMin, SliderMax);
  for (TauDSMixerChannel* Channel : FEffectChannels)
    if (Channel) Channel->SetVolume(Volume);
  // Stored before the preview plays, so a sound that fails to play cannot
  // cost the setting.
  QCSetting().WriteSfxVolume(Volume);
  // A cue whose sound file could not be opened stays silent, as it does in
  // the main window.
  if (ToolChangeCue < FEffectChannels.size() && FEffectChannels[ToolChangeCue] &&
      !FEffectChannels[ToolChangeCue]->FileName().empty()) {
    TauDSMixerChannel& Preview = *FEffectChannels[ToolChangeCue];
    Preview.Stop();
    Preview.Play();
  }
}

void TDOptions::HintsClicked() {
  FChkHints->SetDown(!FChkHints->Down());
  QCSetting().WriteHints(FChkHints->Down());
}

void TDOptions::LanguageChosen(int Index) {
  if (Index < 0 || size_t(Index) >= FLanguages.size()) return;
  QCSetting().WriteLanguage(FLanguages[size_t(Index)].Code);
  // Read back, so the language in use is exactly the one stored.
  Lang().SetLanguage(QCSetting().ReadLanguage());
  SetTexts();
}

void OptionsDialogRun(TauDSMixerChannel* MusicChannel,
                      std::span<TauDSMixerChannel* const> EffectChannels, bool& HintsOn) {
  auto Dialog = std::make_unique<TDOptions>(MainForm());
  Dialog->SetChannels(MusicChannel, EffectChannels);
  Dialog->ShowChannelVolumes();
  Dialog->SetHintsOn(HintsOn);
  RunModalAndFree<TDOptions>(std::move(Dialog),
                             [&HintsOn](TDOptions& Ended) { HintsOn = Ended.HintsOn(); });
}

}  // namespace tw
