// The main window's dialogs and its end: the save and print shortcuts, the
// parental password loop (also under a system policy), the information
// dialog, and the close sequence answered No and Yes with the settings and
// files it leaves.
#include <QCloseEvent>

#include "app/main_window_test_support.h"
#include "controls/QBubbleHintU.h"
#include "palette/PaletteU.h"
#include "controls/PaintGridU.h"
#include "settings/PasswordHashU.h"
#include "settings/PolicyTestUtil.h"
#include "sound/auDSMixerU.h"

namespace tw::test {
namespace {

class MainWindowClose : public MainWindowFixture {
 protected:
  TFMain& StartWith(const std::string& MainLines = "") {
    AddPicture("a.twf", "Apple");
    AddPicture("b.twf", "Bear");
    WriteDefaults({"a.twf", "b.twf"}, MainLines);
    return Start();
  }
};

TEST_F(MainWindowClose, CtrlSSavesWhileCtrlShiftSAndSAloneDoNothing) {
  StartWith();
  Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  Key(Qt::Key_S);
  EXPECT_EQ(FAnswerer->Count("Save"), 0);
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(FAnswerer->Seen, std::vector<std::string>{"Save"});
  Key(Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(FAnswerer->Count("Print"), 1);
  Press("btnSave");
  EXPECT_EQ(FAnswerer->Count("Save"), 2);
}

TEST_F(MainWindowClose, ThreeWrongPasswordsThenCancelAskFourTimesAndSaveNothing) {
  StartWith("ParentPassword=Secret\nPasswordSave=true");
  FAnswerer->Inputs = {"secret", "Secre", "wrong"};
  Press("btnSave");
  EXPECT_EQ(FAnswerer->Seen, std::vector<std::string>(4, "Input"));
  // The password is read anew for each try: now the right one opens the
  // dialog.
  FAnswerer->Inputs = {"Secret"};
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(FAnswerer->Count("Input"), 5);
  EXPECT_EQ(FAnswerer->Count("Save"), 1);
  // Printing is not gated.
  Press("btnPrint");
  EXPECT_EQ(FAnswerer->Count("Input"), 5);
  EXPECT_EQ(FAnswerer->Count("Print"), 1);
}

// A system policy for the whole computer decides the locks and the
// password, whatever the user's own settings say.
TEST_F(MainWindowClose, ASystemPolicyLocksSavingWhateverTheUsersSettingsSay) {
  if (!RunningAsRoot()) GTEST_SKIP() << "only root can make a policy file that is trusted";
  if (std::filesystem::exists("/etc/xdg/Tintwell/policy.ini"))
    GTEST_SKIP() << "this computer has a system policy";
  const TPolicyFolder policy;
  policy.Write("ParentPassword=" + HashPassword("Owl-42") + "\nPasswordSave=true\n");
  StartWith("ParentPassword=kid\nPasswordSave=false\nPasswordPrint=true");
  FAnswerer->Inputs = {"kid"};
  Press("btnSave");
  EXPECT_EQ(FAnswerer->Seen, std::vector<std::string>(2, "Input"));
  FAnswerer->Inputs = {"Owl-42"};
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(FAnswerer->Count("Save"), 1);
  // The policy leaves printing open, though the user's settings lock it.
  Press("btnPrint");
  EXPECT_EQ(FAnswerer->Count("Input"), 3);
  EXPECT_EQ(FAnswerer->Count("Print"), 1);
}

TEST_F(MainWindowClose, TheMusicPausesWhileTheSaveDialogIsOpenAndPlaysAfterwards) {
  TFMain& w = StartWith();
  TauDSMixerChannel& music = w.Sounds().MusicChannel();
  ASSERT_EQ(music.State(), TauChannelState::Playing);
  TauChannelState during = TauChannelState::Stopped;
  FAnswerer->OnDialog = [&](const std::string&) { during = music.State(); };
  Press("btnSave");
  ASSERT_EQ(FAnswerer->Count("Save"), 1);
  EXPECT_EQ(during, TauChannelState::Paused);
  EXPECT_EQ(music.State(), TauChannelState::Playing);
}

TEST_F(MainWindowClose, InfoShowsTitleDescriptionAndAuthorOrTheAnonymousText) {
  AddPicture("a.twf", "Apple", TwoAreaPicture(), "");
  WriteDefaults({"a.twf"});
  Start();
  Key(Qt::Key_F2);
  ASSERT_EQ(FAnswerer->InfoTexts.size(), 1u);
  EXPECT_EQ(FAnswerer->InfoTexts[0],
            (std::vector<std::string>{"Apple", "Apple story", Lang().GetText("msgAnon")}));
}

TEST_F(MainWindowClose, AnsweringNoLeavesEverythingUntouched) {
  TFMain& w = StartWith();
  ClickPicture(20, 20);
  FAnswerer->CloseYes = false;
  EXPECT_FALSE(w.close());
  EXPECT_EQ(FAnswerer->Seen, std::vector<std::string>{"Close"});
  EXPECT_TRUE(w.isVisible());
  EXPECT_TRUE(std::filesystem::is_empty(SaveFolder()));
  EXPECT_EQ(QCSetting().ReadCurrentPicture(), "");
  std::vector<std::string> mixed;
  QCSetting().ReadMixedColors(mixed);
  EXPECT_TRUE(mixed.empty());
}

TEST_F(MainWindowClose, AnsweringYesStoresStateAndSaysGoodbye) {
  TFMain& w = StartWith();
  Press("btnNextPic");
  ClickPicture(20, 20);
  Press("btnDropper");
  ClickWell(w.PaintTray(), 2);
  ClickWell(w.MixTray(), 1);
  Cues.clear();
  EXPECT_TRUE(w.close());
  EXPECT_EQ(FAnswerer->Count("Close"), 1);
  ASSERT_EQ(FAnswerer->InfoTexts.size(), 1u);
  EXPECT_EQ(FAnswerer->InfoTexts[0][0], Lang().GetText("DExitTitle"));
  EXPECT_TRUE(std::filesystem::exists(Kept("b.twf").ColorFile));
  EXPECT_EQ(QCSetting().ReadCurrentPicture(), "b.twf");
  std::vector<std::string> mixed;
  QCSetting().ReadMixedColors(mixed);
  std::vector<std::string> expected(12, "536870911");
  expected[1] = std::to_string(Red);
  EXPECT_EQ(mixed, expected);
  EXPECT_TRUE(Cues.empty());
  // At the next start the same picture opens and the empty wells stay empty.
  FWindow.reset();
  TFMain& again = Start();
  EXPECT_EQ(again.CurrentPicture(), 1);
  EXPECT_EQ(again.MixTray().GetColor(1), Red);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(again.MixTray().GetColor(i), i == 1 ? Red : clNone);
  EXPECT_EQ(PixelOf(20, 20), Yellow);
}

TEST_F(MainWindowClose, TheCloseButtonAsksOnItsPress) {
  TFMain& w = StartWith();
  FAnswerer->CloseYes = false;
  Press("btnClose");
  EXPECT_TRUE(WaitUntil([this] { return FAnswerer->Count("Close") == 1; }));
  EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindowClose, OutOfRangeSettingsAreClamped) {
  TFMain& w = StartWith("StayColored=7\nMaxHistory=-3");
  EXPECT_EQ(w.Painter().MaxHistory, 0);
  // StayColored above 2 counts as 2: the colouring is stored on leaving.
  ClickPicture(20, 20);
  Press("btnNextPic");
  EXPECT_TRUE(std::filesystem::exists(Kept("a.twf").ColorFile));
}

TEST_F(MainWindowClose, NoEnabledPaletteLeavesTheTrayEmptyAndSteppingHarmless) {
  AddPicture("a.twf", "Apple");
  WriteDefaults({"a.twf"});
  // Both palettes disabled in the store before the start.
  CreateProgramGlobals(FFolder.File("settings.sqlite3"), FFolder.File("default.ini"),
                       RepoData + "/lang");
  Setting().WriteBool("Enabled", false, "Palettes\\Palette0");
  Setting().WriteBool("Enabled", false, "Palettes\\Palette1");
  TFMain& w = Start();
  EXPECT_EQ(w.Palettes().Count(), 0);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(w.PaintTray().GetColor(i), clNone);
  Press("btnNextPal");
  Key(Qt::Key_Period);
  ClickWell(w.PaintTray(), 3);
  EXPECT_EQ(w.Painter().PaintColor(), 1u);
}

TEST_F(MainWindowClose, BubbleHintsShowTheTextsOfTheControlsKey) {
  TFMain& w = StartWith();
  ASSERT_TRUE(w.isActiveWindow());
  Button("btnUndo").HintTimer().DoShow();
  EXPECT_TRUE(w.HintBubble().isVisible());
  EXPECT_EQ(w.HintBubble().TextTitle().toStdString(), Lang().GetText("httlUndo"));
  EXPECT_EQ(w.HintBubble().TextSubtitle().toStdString(), Lang().GetText("hsbtUndo"));
  EXPECT_EQ(w.HintBubble().TextInfo().toStdString(), Lang().GetText("hinfUndo"));
  // Leaving hides it; a dialog command hides it first.
  Button("btnUndo").HintTimer().Hide();
  EXPECT_FALSE(w.HintBubble().isVisible());
  w.PaintTray().HintTimer().DoShow();
  const QRect shown = w.HintBubble().geometry();
  // The paint tray's bounds lose 48 pixels at the top and the bottom.
  w.HintBubble().PlaceNear(w.PaintTray().geometry().adjusted(0, 48, 0, -48));
  EXPECT_EQ(w.HintBubble().geometry(), shown);
  Key(Qt::Key_F2);
  EXPECT_EQ(FAnswerer->Count("Info"), 1);
  EXPECT_FALSE(w.HintBubble().isVisible());
}

TEST_F(MainWindowClose, WithHintsOffNoBubbleShows) {
  TFMain& w = StartWith("Hints=false");
  Button("btnUndo").HintTimer().DoShow();
  EXPECT_FALSE(w.HintBubble().isVisible());
}

TEST_F(MainWindowClose, TheFarewellLinksToTheInstalledHelpPage) {
  StartWith();
  // The program's folder (its working folder) holds the help page.
  const std::filesystem::path program = FFolder.File("program");
  std::filesystem::create_directories(program / "help");
  WriteTextFile((program / "help" / "index.html").string(), "<html></html>");
  std::filesystem::current_path(program);
  std::vector<std::string> opened;
  const TOpenDocumentFunc oldOpen = OnOpenDocument;
  OnOpenDocument = [&opened](const std::string& Target) {
    opened.push_back(Target);
    return true;
  };
  FAnswerer->AnswerWith = [](QWidget* Dialog) {
    auto* info = qobject_cast<TDInfo*>(Dialog);
    if (!info) return false;
    QTest::mouseClick(info->txtSubtitle, Qt::LeftButton);
    info->SetModalResult(mrOk);
    return true;
  };
  EXPECT_TRUE(FWindow->close());
  OnOpenDocument = oldOpen;
  EXPECT_EQ(FAnswerer->Count("Keys"), 1);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_TRUE(std::filesystem::equivalent(opened[0], program / "help" / "index.html"));
}

TEST_F(MainWindowClose, WithoutAHelpPageTheFarewellLinksNowhere) {
  StartWith();
  std::filesystem::current_path(FFolder.File("catalog"));
  std::vector<std::string> opened;
  const TOpenDocumentFunc oldOpen = OnOpenDocument;
  OnOpenDocument = [&opened](const std::string& Target) {
    opened.push_back(Target);
    return true;
  };
  std::string subtitle = "unseen";
  FAnswerer->AnswerWith = [&subtitle](QWidget* Dialog) {
    auto* info = qobject_cast<TDInfo*>(Dialog);
    if (!info) return false;
    subtitle = info->txtSubtitle->text().toStdString();
    QTest::mouseClick(info->txtSubtitle, Qt::LeftButton);
    info->SetModalResult(mrOk);
    return true;
  };
  EXPECT_TRUE(FWindow->close());
  OnOpenDocument = oldOpen;
  EXPECT_EQ(subtitle, "");
  EXPECT_TRUE(opened.empty());
}

}  // namespace
}  // namespace tw::test
