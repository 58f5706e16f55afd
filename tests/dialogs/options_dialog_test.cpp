// The options dialog: the volume curve against an exact integer reference,
// the sliders acting on real mixer channels (on the silent sound sink) and
// writing the settings, the hints check box, the live language switch and
// the labels fitting in every shipped language.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <array>
#include <iterator>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/QImgButtonU.h"
#include "controls/QSliderU.h"
#include "dialogs/DlgOptionsF.h"
#include "pictures/QUtilU.h"
#include "settings/ProgramGlobalsU.h"
#include "settings/SettingTestUtil.h"
#include "sound/auDSMixerU.h"
#include "sound/auSoundDeviceU.h"

namespace tw::test {
namespace {

// The widget tests know the tests folder through QtTest's source folder when
// the build does not name it for them.
#ifdef TINTWELL_TEST_DATA
const std::string RepoData = std::string(TINTWELL_TEST_DATA) + "/../data";
#else
const std::string RepoData = std::string(QT_TESTCASE_SOURCEDIR) + "/../data";
#endif
const std::array<const char*, 10> CueNames = {"DropperIn", "DropperOut", "Splash",   "StrokeUp",
                                              "StrokeDown", "GetPaint",  "Wash",     "PageTurn",
                                              "ToolChange", "Undo"};

// round(sqrt(P / Q)) for P >= 0, Q > 0, in exact integers. sqrt(P / Q) is
// never exactly n + 1/2 for integers here, so there is no tie to break.
int64_t RoundSqrtRatio(int64_t P, int64_t Q) {
  int64_t n = 0;
  while ((n + 1) * (n + 1) * Q <= P) ++n;
  // Round up when n + 1/2 < sqrt(P / Q), that is (2n + 1)^2 Q < 4P.
  return (2 * n + 1) * (2 * n + 1) * Q < 4 * P ? n + 1 : n;
}

// p / q rounded to the nearest integer, halves to even (p >= 0, q > 0).
int64_t NearestRatio(int64_t p, int64_t q) {
  int64_t quotient = p / q;
  const int64_t rest = p % q;
  if (2 * rest > q || (2 * rest == q && quotient % 2 != 0)) ++quotient;
  return quotient;
}

int64_t ReferenceVolume(int64_t Position, int64_t Min, int64_t Max) {
  return RoundSqrtRatio((Position - Min) * 100000000, Max - Min) - 10000;
}

int64_t ReferencePosition(int64_t Volume, int64_t Min, int64_t Max) {
  const int64_t Loud = Volume + 10000;
  return Min + NearestRatio((Max - Min) * Loud * Loud, 100000000);
}

TEST(OptionsVolumeCurve, TheWorkedExamples) {
  EXPECT_EQ(SliderToVolume(0, 0, 100), -10000);
  EXPECT_EQ(SliderToVolume(25, 0, 100), -5000);
  // sqrt(0.5) * 10000 = 7071.07.
  EXPECT_EQ(SliderToVolume(50, 0, 100), -2929);
  EXPECT_EQ(SliderToVolume(100, 0, 100), 0);
  EXPECT_EQ(VolumeToSlider(-10000, 0, 100), 0);
  EXPECT_EQ(VolumeToSlider(-5000, 0, 100), 25);
  EXPECT_EQ(VolumeToSlider(-2929, 0, 100), 50);
  EXPECT_EQ(VolumeToSlider(0, 0, 100), 100);
  // 0.9 squared is 0.81.
  EXPECT_EQ(VolumeToSlider(-1000, 0, 100), 81);
}

TEST(OptionsVolumeCurve, FollowsTheExactReferenceBothWays) {
  for (const auto& [Min, Max] : std::vector<std::pair<int32_t, int32_t>>{{0, 100}, {-7, 13}}) {
    for (int32_t v = Min; v <= Max; ++v) {
      EXPECT_EQ(SliderToVolume(v, Min, Max), ReferenceVolume(v, Min, Max)) << v;
      // Every position survives the way to a volume and back.
      EXPECT_EQ(VolumeToSlider(SliderToVolume(v, Min, Max), Min, Max), v) << v;
    }
    for (int32_t V = -10000; V <= 0; ++V) {
      const int32_t Shown = VolumeToSlider(V, Min, Max);
      ASSERT_EQ(Shown, ReferencePosition(V, Min, Max)) << V;
      // A shown position stored and shown again stays where it is.
      ASSERT_EQ(VolumeToSlider(SliderToVolume(Shown, Min, Max), Min, Max), Shown) << V;
    }
  }
}

TEST(OptionsVolumeCurve, ClampsOutOfRangeInput) {
  EXPECT_EQ(VolumeToSlider(-20000, 0, 100), 0);
  EXPECT_EQ(VolumeToSlider(300, 0, 100), 100);
  EXPECT_EQ(VolumeToSlider(INT32_MIN, 0, 100), 0);
  EXPECT_EQ(VolumeToSlider(INT32_MAX, 0, 100), 100);
  EXPECT_EQ(SliderToVolume(-5, 0, 100), -10000);
  EXPECT_EQ(SliderToVolume(150, 0, 100), 0);
  // A range without travel shows its minimum and means silence.
  EXPECT_EQ(SliderToVolume(3, 3, 3), -10000);
  EXPECT_EQ(VolumeToSlider(0, 3, 3), 3);
  // The widest range neither overflows nor leaves its ends.
  EXPECT_EQ(VolumeToSlider(0, INT32_MIN, INT32_MAX), INT32_MAX);
  EXPECT_EQ(VolumeToSlider(-10000, INT32_MIN, INT32_MAX), INT32_MIN);
  EXPECT_EQ(SliderToVolume(INT32_MAX, INT32_MIN, INT32_MAX), 0);
}

TEST(OptionsLanguageEntries, SplitAtTheFirstEqualsSign) {
  const std::vector<TLanguageEntry> Entries =
      ParseLanguageEntries({"en_us=English", "xx=A=B", "bare", "=Nameless", "pt_br=Português"});
  ASSERT_EQ(Entries.size(), 4u);
  EXPECT_EQ(Entries[0].Code, "en_us");
  EXPECT_EQ(Entries[0].DisplayName, "English");
  EXPECT_EQ(Entries[1].DisplayName, "A=B");
  EXPECT_EQ(Entries[2].Code, "bare");
  EXPECT_EQ(Entries[2].DisplayName, "bare");
  EXPECT_EQ(Entries[3].DisplayName, "Português");
}

// The program globals on a temporary store with the shipped defaults and
// languages, English selected, and a mixer on the silent sink with the music
// and the ten effect channels on the shipped sounds.
class OptionsDialog : public SettingsFixture {
 protected:
  void SetUp() override {
    CreateProgramGlobals(DatabasePath(), RepoData + "/default/default.ini", LangFolder());
    Lang().SetLanguage("en_us");
    OnTranslate = [](const std::string& Key) { return Lang().GetText(Key); };
    SetSoundSink({TSoundSinkChoice::Silent, {}});
    FMixer = std::make_unique<TauDSMixer>();
    FMusic = &FMixer->AddChannel();
    FMusic->SetFileName(RepoData + "/sounds/music.mp3");
    FMusic->SetVolume(-1000);
    for (size_t Cue = 0; Cue < CueNames.size(); ++Cue) {
      FEffects[Cue] = &FMixer->AddChannel();
      FEffects[Cue]->SetFileName(RepoData + "/sounds/" + CueNames[Cue] + ".mp3");
    }
  }

  void TearDown() override {
    FMixer.reset();
    SetSoundSink({TSoundSinkChoice::Auto, {}});
    OnTranslate = nullptr;
    FreeProgramGlobals();
  }

  virtual std::string LangFolder() { return RepoData + "/lang"; }

  std::unique_ptr<TDOptions> MakeDialog() {
    auto Dialog = std::make_unique<TDOptions>();
    Dialog->SetChannels(FMusic, FEffects);
    Dialog->ShowChannelVolumes();
    return Dialog;
  }

  void SetEffectVolumes(int32_t Volume) {
    for (TauDSMixerChannel* Channel : FEffects) Channel->SetVolume(Volume);
  }

  std::unique_ptr<TauDSMixer> FMixer;
  TauDSMixerChannel* FMusic = nullptr;
  std::array<TauDSMixerChannel*, 10> FEffects{};
};

// Presses the slider's thumb, which starts a drag.
void PressThumb(TQSlider& Slider) {
  QTest::mousePress(&Slider, Qt::LeftButton, {}, Slider.ThumbRect().center());
  ASSERT_TRUE(Slider.Dragging());
}

// A press and release at x on the slider: the release sets the value.
void ClickAt(TQSlider& Slider, int X) {
  QTest::mousePress(&Slider, Qt::LeftButton, {}, QPoint(X, 9));
  QTest::mouseRelease(&Slider, Qt::LeftButton, {}, QPoint(X, 9));
}

TDOptions* FindShownDialog() {
  for (QWidget* Widget : QApplication::topLevelWidgets()) {
    auto* Dialog = qobject_cast<TDOptions*>(Widget);
    if (Dialog && Dialog->isVisible()) return Dialog;
  }
  return nullptr;
}

TEST_F(OptionsDialog, PlacesTheControlsAndShowsTheEnglishTexts) {
  const auto Dialog = MakeDialog();
  EXPECT_EQ(Dialog->objectName(), "DOptions");
  EXPECT_EQ(Dialog->size(), QSize(443, 303));
  EXPECT_EQ(Dialog->TitleLabel()->geometry(), QRect(16, 12, 411, 33));
  EXPECT_EQ(Dialog->MusicLabel()->geometry(), QRect(16, 60, 185, 23));
  EXPECT_EQ(Dialog->MusicSlider()->geometry(), QRect(216, 62, 126, 18));
  EXPECT_EQ(Dialog->SfxLabel()->geometry(), QRect(16, 92, 185, 23));
  EXPECT_EQ(Dialog->SfxSlider()->geometry(), QRect(216, 94, 126, 18));
  EXPECT_EQ(Dialog->HintsLabel()->geometry(), QRect(16, 124, 185, 23));
  EXPECT_EQ(Dialog->HintsCheck()->geometry(), QRect(216, 120, 28, 28));
  EXPECT_EQ(Dialog->LangLabel()->geometry(), QRect(16, 156, 185, 23));
  EXPECT_EQ(Dialog->LanguageList()->geometry(), QRect(216, 153, 177, 28));
  EXPECT_EQ(Dialog->OkButton()->geometry(), QRect(308, 253, 120, 36));

  EXPECT_EQ(Dialog->TitleLabel()->text(), "Options");
  EXPECT_EQ(Dialog->MusicLabel()->text(), "Music:");
  EXPECT_EQ(Dialog->SfxLabel()->text(), "Sound effects:");
  EXPECT_EQ(Dialog->HintsLabel()->text(), "Show hints:");
  EXPECT_EQ(Dialog->LangLabel()->text(), "Language:");
  EXPECT_EQ(Dialog->OkButton()->Caption(), "OK");
  EXPECT_EQ(Dialog->OkButton()->ModalResult(), mrOk);
  EXPECT_TRUE(Dialog->MusicLabel()->alignment() & Qt::AlignRight);
  EXPECT_TRUE(Dialog->TitleLabel()->alignment() & Qt::AlignHCenter);
  EXPECT_EQ(Dialog->TitleLabel()->font().pixelSize(), 24);
  EXPECT_EQ(Dialog->MusicLabel()->font().pixelSize(), 16);
  EXPECT_TRUE(Dialog->MusicLabel()->font().bold());
}

TEST_F(OptionsDialog, ListsTheLanguagesInStoredOrderAndSelectsTheSetting) {
  const auto Dialog = MakeDialog();
  QComboBox* List = Dialog->LanguageList();
  std::vector<std::string> Stored;
  QCSetting().ReadLanguages(Stored);
  ASSERT_EQ(List->count(), int(Stored.size()));
  ASSERT_GE(List->count(), 2);
  for (int Index = 0; Index < List->count(); ++Index) {
    const std::string& Entry = Stored[size_t(Index)];
    EXPECT_EQ(List->itemText(Index).toStdString(), Entry.substr(Entry.find('=') + 1));
  }
  EXPECT_EQ(List->currentText(), "English");
  EXPECT_EQ(List->view()->sizeHintForRow(0), 20);
}

TEST_F(OptionsDialog, ALanguageNotInTheListLeavesNoSelection) {
  QCSetting().WriteLanguage("xx_xx");
  const auto Dialog = MakeDialog();
  EXPECT_EQ(Dialog->LanguageList()->currentIndex(), -1);
  // Showing the list writes nothing.
  EXPECT_EQ(QCSetting().ReadLanguage(), "xx_xx");
}

TEST_F(OptionsDialog, TheDefaultMusicVolumeShowsAt81) {
  QCSetting().WriteMusicVolume(-4321);
  const auto Dialog = MakeDialog();
  // The sliders start from the channels, not from the stored values.
  EXPECT_EQ(Dialog->MusicSlider()->Value(), 81);
  EXPECT_EQ(Dialog->SfxSlider()->Value(), 100);
}

TEST_F(OptionsDialog, OutOfRangeVolumesAreClampedBeforeTheyShow) {
  FMusic->SetVolume(-25000);
  FEffects[ToolChangeCue]->SetVolume(900);
  const auto Dialog = MakeDialog();
  EXPECT_EQ(Dialog->MusicSlider()->Value(), 0);
  EXPECT_EQ(Dialog->SfxSlider()->Value(), 100);

  // Without channels the stored settings stand in, clamped the same way.
  QCSetting().WriteMusicVolume(5000);
  QCSetting().WriteSfxVolume(-99999);
  TDOptions Bare;
  Bare.ShowChannelVolumes();
  EXPECT_EQ(Bare.MusicSlider()->Value(), 100);
  EXPECT_EQ(Bare.SfxSlider()->Value(), 0);
}

TEST_F(OptionsDialog, DraggingTheMusicSliderSetsAndStoresTheVolumeAtEveryMove) {
  FMusic->SetVolume(-10000);
  SetEffectVolumes(-300);
  const auto Dialog = MakeDialog();
  TQSlider& Slider = *Dialog->MusicSlider();
  ASSERT_EQ(Slider.Value(), 0);
  PressThumb(Slider);
  // 126 pixels, a 14-pixel thumb: position = x * 100 / 112.
  const std::vector<std::pair<int, int32_t>> Moves = {{56, -2929}, {28, -5000}, {112, 0},
                                                      {-40, -10000}};
  for (const auto& [X, Volume] : Moves) {
    QTest::mouseMove(&Slider, QPoint(X, 9));
    EXPECT_EQ(FMusic->Volume(), Volume) << X;
    EXPECT_EQ(QCSetting().ReadMusicVolume(), Volume) << X;
  }
  // Released at 84: position 75, sqrt(0.75) * 10000 = 8660.25.
  QTest::mouseRelease(&Slider, Qt::LeftButton, {}, QPoint(84, 9));
  EXPECT_EQ(FMusic->Volume(), -1340);
  EXPECT_EQ(QCSetting().ReadMusicVolume(), -1340);
  // The effects are left alone.
  for (TauDSMixerChannel* Channel : FEffects) EXPECT_EQ(Channel->Volume(), -300);
  EXPECT_EQ(FEffects[ToolChangeCue]->State(), TauChannelState::Stopped);
}

TEST_F(OptionsDialog, ReleasingTheEffectSliderSetsAllTenAndPlaysThePreview) {
  SetEffectVolumes(0);
  QCSetting().WriteSfxVolume(-777);
  const auto Dialog = MakeDialog();
  TQSlider& Slider = *Dialog->SfxSlider();
  ASSERT_EQ(Slider.Value(), 100);
  PressThumb(Slider);
  QTest::mouseMove(&Slider, QPoint(56, 9));
  QTest::mouseMove(&Slider, QPoint(30, 9));
  // Dragging moves the thumb but changes, stores and plays nothing.
  EXPECT_EQ(Slider.Value(), 27);
  for (TauDSMixerChannel* Channel : FEffects) {
    EXPECT_EQ(Channel->Volume(), 0);
    EXPECT_EQ(Channel->State(), TauChannelState::Stopped);
  }
  EXPECT_EQ(QCSetting().ReadSfxVolume(), -777);

  QTest::mouseRelease(&Slider, Qt::LeftButton, {}, QPoint(56, 9));
  for (TauDSMixerChannel* Channel : FEffects) EXPECT_EQ(Channel->Volume(), -2929);
  EXPECT_EQ(QCSetting().ReadSfxVolume(), -2929);
  for (size_t Cue = 0; Cue < FEffects.size(); ++Cue) {
    EXPECT_EQ(FEffects[Cue]->State(), Cue == ToolChangeCue ? TauChannelState::Playing
                                                           : TauChannelState::Stopped)
        << CueNames[Cue];
  }
  // The music is not touched.
  EXPECT_EQ(FMusic->Volume(), -1000);
}

TEST_F(OptionsDialog, SliderEndsStoreSilenceAndFullLevel) {
  const auto Dialog = MakeDialog();
  TQSlider& Music = *Dialog->MusicSlider();
  TQSlider& Sfx = *Dialog->SfxSlider();
  // A release anywhere on (or past) the track jumps there.
  ClickAt(Music, 0);
  ClickAt(Sfx, -30);
  EXPECT_EQ(QCSetting().ReadMusicVolume(), -10000);
  EXPECT_EQ(QCSetting().ReadSfxVolume(), -10000);
  EXPECT_EQ(FMusic->Volume(), -10000);
  ClickAt(Music, 125);
  ClickAt(Sfx, 112);
  EXPECT_EQ(QCSetting().ReadMusicVolume(), 0);
  EXPECT_EQ(QCSetting().ReadSfxVolume(), 0);
  EXPECT_EQ(FEffects[0]->Volume(), 0);
}

TEST_F(OptionsDialog, TheHintsBoxTogglesAndStoresAtEachClick) {
  const auto Dialog = MakeDialog();
  Dialog->SetHintsOn(true);
  TQImgButton& Check = *Dialog->HintsCheck();
  EXPECT_TRUE(Check.Down());
  QTest::mouseClick(&Check, Qt::LeftButton, {}, QPoint(14, 14));
  EXPECT_FALSE(Dialog->HintsOn());
  EXPECT_FALSE(Check.Down());
  EXPECT_FALSE(QCSetting().ReadHints());
  QTest::mouseClick(&Check, Qt::LeftButton, {}, QPoint(14, 14));
  EXPECT_TRUE(Dialog->HintsOn());
  EXPECT_TRUE(QCSetting().ReadHints());
}

TEST_F(OptionsDialog, ChoosingALanguageRelabelsAtOnceAndStoresIt) {
  const auto Dialog = MakeDialog();
  QComboBox* List = Dialog->LanguageList();
  const int Russian = List->findText("Русский");
  ASSERT_GE(Russian, 0);
  List->setCurrentIndex(Russian);
  EXPECT_EQ(QCSetting().ReadLanguage(), "ru_ru");
  EXPECT_EQ(Lang().Language(), "ru_ru");
  EXPECT_EQ(Dialog->TitleLabel()->text(), "Настройки");
  EXPECT_EQ(Dialog->MusicLabel()->text(), "Музыка:");
  EXPECT_EQ(Dialog->SfxLabel()->text(), "Звуки:");
  EXPECT_EQ(Dialog->HintsLabel()->text(), "Подсказки:");
  EXPECT_EQ(Dialog->LangLabel()->text(), "Язык:");
  EXPECT_EQ(Dialog->OkButton()->Caption(), "ОК");

  List->setCurrentIndex(List->findText("Deutsch"));
  EXPECT_EQ(QCSetting().ReadLanguage(), "de_de");
  EXPECT_EQ(Dialog->TitleLabel()->text(), "Einstellungen");
}

// Draws Text as a label of size Box would (Flags: its alignment and word
// wrap) into a larger clear picture and tells whether any of its ink falls
// outside the box; also that there is ink at all.
bool InkStaysInside(const QFont& Font, QSize Box, int Flags, const QString& Text) {
  constexpr int Margin = 40;
  QImage Image(Box + QSize(2 * Margin, 2 * Margin), QImage::Format_ARGB32);
  Image.fill(Qt::transparent);
  {
    QPainter Painter(&Image);
    Painter.setFont(Font);
    Painter.setPen(Qt::black);
    Painter.drawText(QRect(QPoint(Margin, Margin), Box), Flags, Text);
  }
  const QRect Inside(QPoint(Margin, Margin), Box);
  bool AnyInk = false;
  for (int y = 0; y < Image.height(); ++y) {
    for (int x = 0; x < Image.width(); ++x) {
      if (qAlpha(Image.pixel(x, y)) == 0) continue;
      if (!Inside.contains(x, y)) return false;
      AnyInk = true;
    }
  }
  return AnyInk;
}

bool LabelFits(const QLabel& Label) {
  return InkStaysInside(Label.font(), Label.size(), int(Label.alignment()) | Qt::TextWordWrap,
                        Label.text());
}

TEST_F(OptionsDialog, EveryShippedLanguageFitsItsLabels) {
  const auto Dialog = MakeDialog();
  QComboBox* List = Dialog->LanguageList();
  ASSERT_EQ(size_t(List->count()), Dialog->Languages().size());
  for (int Index = 0; Index < List->count(); ++Index) {
    List->setCurrentIndex(Index);
    const std::string Code = Dialog->Languages()[size_t(Index)].Code;
    ASSERT_EQ(Lang().Language(), Code);
    for (QLabel* Label : {Dialog->TitleLabel(), Dialog->MusicLabel(), Dialog->SfxLabel(),
                          Dialog->HintsLabel(), Dialog->LangLabel()}) {
      EXPECT_FALSE(Label->text().startsWith("Text: ")) << Code << " " << Label->text().toStdString();
      EXPECT_TRUE(LabelFits(*Label)) << Code << " " << Label->objectName().toStdString();
      EXPECT_GE(Label->font().pixelSize(), 12) << Code;
    }
    const TQImgButton& Ok = *Dialog->OkButton();
    EXPECT_LE(QFontMetrics(Ok.Font()).horizontalAdvance(Ok.Caption()), Ok.width() - 8) << Code;
    // Each language's name fits a 20-pixel item of the list, and the box
    // beside its arrow (18), padding (4 + 4) and border (2 + 2).
    EXPECT_TRUE(InkStaysInside(List->font(), QSize(List->width() - 30, 20), Qt::AlignVCenter,
                               List->itemText(Index)))
        << Code;
  }
}

TEST_F(OptionsDialog, RunStartsFromTheChannelsAndHandsBackTheHintsState) {
  FMusic->SetVolume(-5000);
  SetEffectVolumes(-2929);
  bool Seen = false;
  QTimer::singleShot(0, [&] {
    TDOptions* Dialog = FindShownDialog();
    if (!Dialog) {
      ADD_FAILURE() << "the options dialog is not shown";
      QApplication::closeAllWindows();
      return;
    }
    EXPECT_EQ(QApplication::activeModalWidget(), Dialog);
    Seen = true;
    EXPECT_EQ(Dialog->MusicSlider()->Value(), 25);
    EXPECT_EQ(Dialog->SfxSlider()->Value(), 50);
    EXPECT_TRUE(Dialog->HintsOn());
    QTest::mouseClick(Dialog->HintsCheck(), Qt::LeftButton, {}, QPoint(14, 14));
    QTest::mouseClick(Dialog->OkButton(), Qt::LeftButton, {}, QPoint(60, 18));
  });
  bool HintsOn = true;
  OptionsDialogRun(FMusic, FEffects, HintsOn);
  EXPECT_TRUE(Seen);
  EXPECT_FALSE(HintsOn);
  EXPECT_FALSE(QCSetting().ReadHints());
}

// A language folder of the test's own, with one language whose captions are
// far too long for their boxes.
class OptionsDialogLongTexts : public OptionsDialog {
 protected:
  std::string LangFolder() override {
    WriteTextFile(FFolder.File("tintwell_en_us.ini"),
                  "[Text]\nDOptionsTitle=Options\n"
                  "DOptionsSfx=Die Lautstärke aller Geräusche beim Malen:\n"
                  "DOptionsMusic=Musik\n");
    return FFolder.Path();
  }
};

TEST_F(OptionsDialogLongTexts, ALongCaptionIsShrunkToFitItsBox) {
  const auto Dialog = MakeDialog();
  QLabel* Sfx = Dialog->SfxLabel();
  EXPECT_EQ(Sfx->text(), "Die Lautstärke aller Geräusche beim Malen:");
  EXPECT_LT(Sfx->font().pixelSize(), 16);
  EXPECT_TRUE(LabelFits(*Sfx));
  // A short caption keeps the dialog's size; a missing text shows its key.
  EXPECT_EQ(Dialog->MusicLabel()->font().pixelSize(), 16);
  EXPECT_EQ(Dialog->HintsLabel()->text(), "Text: DOptionsHints");
}

// Sends a key where the platform sends it: to the focused control, else to
// the dialog.
void DialogKey(QWidget& Dialog, int Key) {
  QWidget* To = Dialog.focusWidget() ? Dialog.focusWidget() : &Dialog;
  QTest::keyClick(To, Qt::Key(Key));
}

TEST_F(OptionsDialog, TheKeyboardReachesEveryControlAndEscapeCloses) {
  const auto Dialog = MakeDialog();
  const bool HintsBefore = Dialog->HintsOn();
  const int32_t MusicBefore = FMusic->Volume();
  QWidget* const Reachable[] = {Dialog->MusicSlider(), Dialog->SfxSlider(), Dialog->HintsCheck(),
                                Dialog->LanguageList(), Dialog->OkButton()};
  QTimer::singleShot(0, [&] {
    std::vector<QWidget*> Seen;
    for (size_t i = 0; i < std::size(Reachable); ++i) {
      DialogKey(*Dialog, Qt::Key_Tab);
      Seen.push_back(Dialog->focusWidget());
    }
    for (QWidget* Control : Reachable)
      EXPECT_NE(std::find(Seen.begin(), Seen.end(), Control), Seen.end())
          << Control->objectName().toStdString();
    while (Dialog->focusWidget() != Dialog->HintsCheck()) DialogKey(*Dialog, Qt::Key_Tab);
    DialogKey(*Dialog, Qt::Key_Space);
    while (Dialog->focusWidget() != Dialog->MusicSlider()) DialogKey(*Dialog, Qt::Key_Tab);
    DialogKey(*Dialog, Qt::Key_Right);
    DialogKey(*Dialog, Qt::Key_Escape);
  });
  EXPECT_EQ(Dialog->ShowModal(), mrCancel);
  EXPECT_EQ(Dialog->HintsOn(), !HintsBefore);
  EXPECT_GT(FMusic->Volume(), MusicBefore);
}

}  // namespace
}  // namespace tw::test
