// The main window with its settings or colourings in trouble: the parent's
// locks hold while they cannot be read, a damaged settings file is named in
// the window in the child's language, the close always ends even when
// nothing can be stored, and a full colourings folder never keeps the child
// on a picture or loses a colouring while the program runs.
#include <sys/wait.h>
#include <unistd.h>

#include <QThreadPool>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/main_window_test_support.h"
#include "painter/image/ImageFileU.h"
#include "settings/ParentControlsU.h"
#include "support/HeldStore.h"
#include "support/PrivateMounts.h"

namespace tw::test {
namespace {

namespace fs = std::filesystem;

class MainWindowTroubledStore : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    // A held store fails a call after this wait instead of five seconds.
    TSetting::SetBusyTimeout(20);
    AddPicture("a.twf", "Apple");
    AddPicture("b.twf", "Bee");
  }
  void TearDown() override {
    MainWindowFixture::TearDown();
    TSetting::SetBusyTimeout(5000);
  }

  std::string StorePath() const { return FFolder.File("settings.sqlite3"); }
  static std::string ReadText(const std::string& Path) {
    std::ifstream in(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Fills the file system that holds Path to the last byte.
  static void FillUp(const std::string& Path) {
    std::ofstream out(Path, std::ios::binary);
    const std::string block(1024, 'x');
    while (out.write(block.data(), std::streamsize(block.size())) && out.flush()) {
    }
  }

  // How many information dialogs showed exactly this text.
  int Shown(const std::string& Text) const {
    int n = 0;
    for (const auto& texts : FAnswerer->InfoTexts) n += texts.size() > 1 && texts[1] == Text;
    return n;
  }
};

TEST_F(MainWindowTroubledStore, LocksThatCannotBeReadHoldUntilTheyCanBeReadAgain) {
  WriteDefaults({"a.twf"});
  // The parent locked saving and printing behind a password earlier.
  CreateProgramGlobals(StorePath(), FFolder.File("default.ini"), RepoData + "/lang");
  TParentControls(Setting()).SetPassword("Owl-3");
  Setting().WriteBool("PasswordSave", true, "Main");
  Setting().WriteBool("PasswordPrint", true, "Main");
  FreeProgramGlobals();

  auto held = std::make_unique<THeldStore>(StorePath(), "BEGIN EXCLUSIVE");
  Start();
  EXPECT_EQ(Shown(Lang().GetText("msgSettingsInMemory")), 1);
  Key(Qt::Key_S, Qt::ControlModifier);
  Press("btnSave");
  Key(Qt::Key_P, Qt::ControlModifier);
  Press("btnPrint");
  EXPECT_EQ(FAnswerer->Count("Save"), 0);
  EXPECT_EQ(FAnswerer->Count("Print"), 0);
  EXPECT_EQ(FAnswerer->Count("Input"), 0) << "no password opens a lock that cannot be read";
  EXPECT_EQ(Shown(Lang().GetText("msgLocksUnreadable")), 4);

  // Read anew at each attempt: once the file can be read, the gate asks.
  held.reset();
  FAnswerer->Inputs = {"wrong", "Owl-3"};
  Press("btnSave");
  EXPECT_EQ(FAnswerer->Count("Input"), 2);
  EXPECT_EQ(FAnswerer->Count("Save"), 1);
  CloseWindow(true);
  // Nothing of this run replaced the parent's settings.
  TSetting store(StorePath(), ProductKey, "");
  EXPECT_TRUE(store.ReadBool("PasswordSave", false, "Main"));
  EXPECT_TRUE(TParentControls(store).Check("Owl-3"));
}

TEST_F(MainWindowTroubledStore, ADamagedSettingsFileIsNamedInTheWindowInTheChildsLanguage) {
  WriteDefaults({"a.twf"}, "Language=de_de");
  WriteTextFile(StorePath(), "these are not settings but a shopping list");
  Start();
  const std::string aside = Setting().Notice().AsidePath;
  ASSERT_FALSE(aside.empty());
  EXPECT_EQ(ReadText(aside), "these are not settings but a shopping list");
  EXPECT_EQ(Lang().Language(), "de_de");
  const std::string message = Lang().GetTextFmt("msgSettingsDamaged", {aside});
  EXPECT_NE(message.find("Einstellungsdatei"), std::string::npos) << message;
  EXPECT_EQ(Shown(message), 1);
  EXPECT_TRUE(FWarnings.Messages.empty() ||
              FWarnings.Messages[0].find(aside) != std::string::npos);
}

TEST_F(MainWindowTroubledStore, TheCloseEndsWithOneMessageWhenNoSettingCanBeStored) {
  WriteDefaults({"a.twf", "b.twf"});
  Start();
  Press("btnNextPic");
  // Deleted while the program runs: the store cannot write any more.
  fs::remove(StorePath());
  FAnswerer->CloseYes = true;
  FWindow->close();
  EXPECT_FALSE(FWindow->isVisible()) << "the close went through";
  int notKept = 0;
  for (const auto& texts : FAnswerer->InfoTexts)
    if (texts[0] == Lang().GetText("capSettings")) {
      ++notKept;
      EXPECT_NE(texts[1].find("CurrentPicture"), std::string::npos) << texts[1];
    }
  EXPECT_EQ(notKept, 1);
  EXPECT_EQ(FAnswerer->Count("Info:" + Lang().GetText("DExitTitle")), 1);
  EXPECT_TRUE(FWarnings.Messages.empty()) << FWarnings.Messages[0];
}

TEST_F(MainWindowTroubledStore, AFullColouringsFolderLetsTheChildMoveOnAndKeepsEveryColouring) {
  WriteDefaults({"a.twf", "b.twf"});
  const std::string Folder = ColoringFolder().substr(0, ColoringFolder().size() - 1);
  fs::create_directories(Folder);
  const std::string Filler = Folder + "/filler";
  // The child has this thread alone; idle pool workers of earlier windows
  // must not hold a lock it needs.
  QThreadPool::globalInstance()->waitForDone();
  // The child reports lines "name=value" for the parent to check.
  const auto report = RunWithPrivateMounts(
      [&] {
        MountTinyTmpfs(Folder, 64 * 1024);
        FillUp(Filler);
      },
      [&] {
        std::ostringstream lines;
        const auto pixel = [&](int X, int Y) { return std::to_string(PixelOf(X, Y)); };
        TFMain& w = Start();
        ClickPicture(20, 20);
        Press("btnNextPic");
        ClickPicture(120, 20);
        Press("btnPrevPic");
        lines << "back on=" << w.CurrentPicture() << "\na left=" << pixel(20, 20) << "\n";
        Press("btnNextPic");
        lines << "b right=" << pixel(120, 20) << "\nb left=" << pixel(20, 20) << "\n";
        lines << "not kept=" << Shown(Lang().GetTextFmt("msgColoringNotKept", {"Apple"})) << ","
              << Shown(Lang().GetTextFmt("msgColoringNotKept", {"Bee"})) << "\n";
        // Room again: the next page turn writes what was kept.
        fs::remove(Filler);
        Press("btnPrevPic");
        lines << "a written=" << fs::exists(Kept("a.twf").ColorFile) << "\n";
        lines << "a file left="
              << std::to_string(ReadImageFile(Kept("a.twf").ColorFile).Pixel(20, 20)) << "\n";
        // Full again: the close names what could not be kept.
        FillUp(Filler);
        ClickPicture(120, 60);
        CloseWindow(true);
        lines << "lost=" << Shown(Lang().GetTextFmt("msgColoringsLost", {"Apple"})) << "\n";
        lines << "warnings=" << FWarnings.Messages.size() << "\n";
        return lines.str();
      });
  if (!report) GTEST_SKIP() << "no private mount namespace here (needs root or user namespaces)";
  const std::string yellow = std::to_string(Yellow), white = std::to_string(clWhite);
  EXPECT_NE(report->find("back on=0\n"), std::string::npos) << *report;
  EXPECT_NE(report->find("a left=" + yellow + "\n"), std::string::npos) << *report;
  EXPECT_NE(report->find("b right=" + yellow + "\nb left=" + white + "\n"), std::string::npos)
      << *report;
  EXPECT_NE(report->find("not kept=1,1\n"), std::string::npos) << "one message per picture\n"
                                                               << *report;
  EXPECT_NE(report->find("a written=1\na file left=" + yellow + "\n"), std::string::npos)
      << *report;
  EXPECT_NE(report->find("lost=1\n"), std::string::npos) << *report;
  EXPECT_NE(report->find("warnings=0\n"), std::string::npos) << *report;
}

TEST_F(MainWindowTroubledStore, LeftoversOfKilledWritesGoAtStartAndNothingElse) {
  WriteDefaults({"a.twf"});
  // A process that has ended: its temporary files are leftovers.
  const pid_t Gone = fork();
  if (Gone == 0) _exit(0);
  ASSERT_GT(Gone, 0);
  waitpid(Gone, nullptr, 0);
  const std::string Leftover = ".tw" + std::to_string(Gone) + "-3.tmp";
  // This process still runs: its files may be a write under way.
  const std::string Running = ".tw" + std::to_string(getpid()) + "-1.tmp";
  fs::create_directories(ColoringFolder());
  for (const std::string& Folder : {SaveFolder(), ColoringFolder()})
    for (const std::string& Name : {Leftover, Running, std::string("notes.tmp"), std::string(".tw-1.tmp")})
      WriteTextFile(Folder + Name, "x");
  Start();
  for (const std::string& Folder : {SaveFolder(), ColoringFolder()}) {
    EXPECT_FALSE(fs::exists(Folder + Leftover)) << Folder;
    for (const std::string& Name : {Running, std::string("notes.tmp"), std::string(".tw-1.tmp")})
      EXPECT_TRUE(fs::exists(Folder + Name)) << Folder << Name;
  }
}

}  // namespace
}  // namespace tw::test
