// The program's start and its application object: exceptions from event
// handlers become one warning (none for the silent abort) and the program
// goes on; a main window whose creation fails ends the program with
// ExitCreationFailed, quietly or after its message; a good start sets up the
// working folder, globals, font and sound notifier, runs the event loop and
// tears down the window before the globals.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "app/ApplicationU.h"
#include "base/ErrorsU.h"
#include "pictures/PictureTestUtil.h"
#include "pictures/QUtilU.h"
#include "pictures/qt/ArtResourceU.h"
#include "settings/ProgramGlobalsU.h"
#include "sound/auNotifyU.h"
#include "sound/qt/QtSoundNotifierU.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

fs::path RepositoryFolder() { return fs::path(__FILE__).parent_path().parent_path().parent_path(); }

// An object whose handler for user events throws what the test chose.
class TThrowingObject : public QObject {
 public:
  std::function<void()> Throw;
  int Handled = 0;

  bool event(QEvent* Event) override {
    if (Event->type() != QEvent::User) return QObject::event(Event);
    ++Handled;
    if (Throw) Throw();
    return true;
  }
};

bool SendUserEvent(TThrowingObject& Receiver) {
  QEvent Event(QEvent::User);
  return QCoreApplication::sendEvent(&Receiver, &Event);
}

TEST(ApplicationObject, AnErrorFromAnEventHandlerShowsOneWarningAndGoesOn) {
  test::TWarningRecorder Warnings;
  TThrowingObject Receiver;
  Receiver.Throw = [] { throw EError("The picture cannot be read."); };
  EXPECT_FALSE(DeliverGuarded([&] { return SendUserEvent(Receiver); }));
  ASSERT_EQ(Warnings.Messages.size(), 1u);
  EXPECT_EQ(Warnings.Messages[0], "The picture cannot be read.");

  Receiver.Throw = nullptr;
  EXPECT_TRUE(DeliverGuarded([&] { return SendUserEvent(Receiver); }));
  EXPECT_EQ(Receiver.Handled, 2);
  EXPECT_EQ(Warnings.Messages.size(), 1u);
}

TEST(ApplicationObject, TheSilentAbortShowsNothing) {
  test::TWarningRecorder Warnings;
  TThrowingObject Receiver;
  Receiver.Throw = [] { throw EAbort(); };
  EXPECT_FALSE(DeliverGuarded([&] { return SendUserEvent(Receiver); }));
  EXPECT_TRUE(Warnings.Messages.empty());
  EXPECT_EQ(Receiver.Handled, 1);
}

TEST(ApplicationObject, AnyOtherExceptionIsShownToo) {
  test::TWarningRecorder Warnings;
  EXPECT_FALSE(DeliverGuarded([]() -> bool { throw std::out_of_range("index 7 of 3"); }));
  EXPECT_FALSE(DeliverGuarded([]() -> bool { throw 42; }));
  EXPECT_FALSE(DeliverGuarded([]() -> bool { throw std::runtime_error(""); }));
  EXPECT_EQ(Warnings.Messages,
            (std::vector<std::string>{"index 7 of 3", "An unexpected error occurred.",
                                      "An unexpected error occurred."}));
}

TEST(ApplicationObject, ErrorsWhileTheWarningShowsDoNotStackBoxes) {
  test::TWarningRecorder Warnings;
  TWarningFunc Record = OnShowWarning;
  // The box's own event loop delivers an event whose handler fails again.
  OnShowWarning = [&](const std::string& Message) {
    Record(Message);
    DeliverGuarded([]() -> bool { throw EError("second failure"); });
  };
  testing::internal::CaptureStderr();
  DeliverGuarded([]() -> bool { throw EError("first failure"); });
  const std::string Errors = testing::internal::GetCapturedStderr();
  EXPECT_EQ(Warnings.Messages, (std::vector<std::string>{"first failure"}));
  EXPECT_NE(Errors.find("second failure"), std::string::npos);

  // Once the box is gone, the next failure gets its box again.
  OnShowWarning = Record;
  DeliverGuarded([]() -> bool { throw EError("third failure"); });
  EXPECT_EQ(Warnings.Messages.back(), "third failure");
}

TEST(ApplicationObject, ExceptionMessages) {
  EXPECT_EQ(ExceptionMessage(nullptr), "");
  EXPECT_EQ(ExceptionMessage(std::make_exception_ptr(EAbort())), "");
  EXPECT_EQ(ExceptionMessage(std::make_exception_ptr(EError("Language not set"))),
            "Language not set");
  EXPECT_EQ(ExceptionMessage(std::make_exception_ptr(3.5)), "An unexpected error occurred.");
}

TEST(MainWindowCreation, ASilentAbortEndsQuietly) {
  test::TWarningRecorder Warnings;
  int ExitCode = -1;
  const auto Window = CreateMainWindowReporting(
      []() -> std::unique_ptr<QWidget> { throw EAbort(); }, ExitCode);
  EXPECT_EQ(Window, nullptr);
  EXPECT_EQ(ExitCode, ExitCreationFailed);
  EXPECT_TRUE(Warnings.Messages.empty());
}

TEST(MainWindowCreation, AnyOtherErrorEndsAfterItsMessage) {
  test::TWarningRecorder Warnings;
  int ExitCode = -1;
  const auto Window = CreateMainWindowReporting(
      []() -> std::unique_ptr<QWidget> {
        throw EError("The built-in picture \"Fill0\" is missing.");
      },
      ExitCode);
  EXPECT_EQ(Window, nullptr);
  EXPECT_EQ(ExitCode, ExitCreationFailed);
  EXPECT_EQ(Warnings.Messages,
            (std::vector<std::string>{"The built-in picture \"Fill0\" is missing."}));
}

TEST(MainWindowCreation, AWindowMadeIsHandedBack) {
  test::TWarningRecorder Warnings;
  int ExitCode = -1;
  auto Window = CreateMainWindowReporting([] { return std::make_unique<QWidget>(); }, ExitCode);
  EXPECT_NE(Window, nullptr);
  EXPECT_EQ(ExitCode, 0);
  EXPECT_EQ(CreateMainWindowReporting(nullptr, ExitCode), nullptr);
  EXPECT_EQ(ExitCode, ExitCreationFailed);
  EXPECT_TRUE(Warnings.Messages.empty());
}

// Restores an environment variable when it goes.
class TEnvironmentVariable {
 public:
  explicit TEnvironmentVariable(const char* Name) : FName(Name) {
    if (const char* Value = std::getenv(Name)) FOld = Value;
  }
  ~TEnvironmentVariable() {
    if (FOld)
      setenv(FName, FOld->c_str(), 1);
    else
      unsetenv(FName);
  }
  void Unset() { unsetenv(FName); }
  void Set(const char* Value) { setenv(FName, Value, 1); }

 private:
  const char* FName;
  std::optional<std::string> FOld;
};

TEST(PlatformChoice, WithoutAnyDisplayTheProgramRunsOffscreen) {
  TEnvironmentVariable Platform("QT_QPA_PLATFORM"), X11("DISPLAY"), Wayland("WAYLAND_DISPLAY");
  Platform.Unset();
  X11.Unset();
  Wayland.Unset();
  testing::internal::CaptureStderr();
  EXPECT_TRUE(ChooseOffscreenWithoutDisplay());
  EXPECT_NE(testing::internal::GetCapturedStderr(), "");
  EXPECT_STREQ(std::getenv("QT_QPA_PLATFORM"), "offscreen");

  Platform.Unset();
  X11.Set(":0");
  EXPECT_FALSE(ChooseOffscreenWithoutDisplay());
  EXPECT_EQ(std::getenv("QT_QPA_PLATFORM"), nullptr);

  X11.Unset();
  Wayland.Set("wayland-0");
  EXPECT_FALSE(ChooseOffscreenWithoutDisplay());
  Wayland.Unset();
  Platform.Set("xcb");
  EXPECT_FALSE(ChooseOffscreenWithoutDisplay());
  EXPECT_STREQ(std::getenv("QT_QPA_PLATFORM"), "xcb");
}

// A main window that notes what the world looked like while it lived.
class TFakeMainWindow : public QWidget {
 public:
  explicit TFakeMainWindow(bool& GlobalsAtDestruction) : FGlobalsAtDestruction(GlobalsAtDestruction) {
    setAttribute(Qt::WA_DeleteOnClose);
  }
  ~TFakeMainWindow() override { FGlobalsAtDestruction = ProgramGlobalsExist(); }

 private:
  bool& FGlobalsAtDestruction;
};

class ProgramRun : public ::testing::Test {
 protected:
  void SetUp() override {
    FOldFolder = fs::current_path();
    FOldFont = QApplication::font();
    FOldName = QApplication::applicationName();
    Setup.ProgramFolder = Folder.Path();
    Setup.DatabasePath = Folder.File("settings.sqlite3");
    Setup.DefaultsFile = (RepositoryFolder() / "data" / "default" / "default.ini").string();
    Setup.LangFolder = (RepositoryFolder() / "data" / "lang").string();
    Setup.PlatformHooks = false;
    Setup.ProgramCursors = false;
  }
  void TearDown() override {
    fs::current_path(FOldFolder);
    QApplication::setFont(FOldFont);
    QApplication::setApplicationName(FOldName);
    if (ProgramGlobalsExist()) FreeProgramGlobals();
  }

  test::TTempFolder Folder;
  test::TWarningRecorder Warnings;
  TProgramSetup Setup;
  fs::path FOldFolder;
  QFont FOldFont;
  QString FOldName;
};

TEST_F(ProgramRun, AGoodStartRunsTheWindowAndTearsItDownBeforeTheGlobals) {
  bool GlobalsAtDestruction = false;
  bool Created = false;
  bool WasVisible = false;
  QPointer<QWidget> Tracked;
  const int ExitCode = RunProgram(
      [&]() -> std::unique_ptr<QWidget> {
        Created = true;
        // Everything the main window relies on exists before it.
        EXPECT_EQ(fs::current_path(), fs::path(Folder.Path()));
        EXPECT_TRUE(ProgramGlobalsExist());
        EXPECT_EQ(QApplication::applicationName(), "Tintwell");
        EXPECT_EQ(QApplication::font().family(), InterfaceFontFamily());
        EXPECT_NE(dynamic_cast<TQtSoundNotifier*>(&ThreadNotifier()), nullptr);
        auto Window = std::make_unique<TFakeMainWindow>(GlobalsAtDestruction);
        QWidget* Raw = Window.get();
        Tracked = Raw;
        // The child closes the window once the event loop runs.
        QTimer::singleShot(0, Raw, [Raw, &WasVisible] {
          WasVisible = Raw->isVisible();
          Raw->close();
        });
        return Window;
      },
      Setup);
  EXPECT_TRUE(Created);
  EXPECT_EQ(ExitCode, 0);
  EXPECT_TRUE(Warnings.Messages.empty());
  EXPECT_TRUE(WasVisible) << "the window shows itself when the event loop starts";
  EXPECT_TRUE(Tracked.isNull()) << "the teardown destroyed it";
  EXPECT_TRUE(GlobalsAtDestruction) << "the window goes before the globals";
  EXPECT_FALSE(ProgramGlobalsExist());
  EXPECT_EQ(dynamic_cast<TQtSoundNotifier*>(&ThreadNotifier()), nullptr);
  EXPECT_FALSE(OnTranslate);
}

TEST_F(ProgramRun, TheEventLoopsExitCodeIsTheProgramsExitCode) {
  bool GlobalsAtDestruction = false;
  const int ExitCode = RunProgram(
      [&]() -> std::unique_ptr<QWidget> {
        auto Window = std::make_unique<TFakeMainWindow>(GlobalsAtDestruction);
        QTimer::singleShot(0, Window.get(), [] { QCoreApplication::exit(3); });
        return Window;
      },
      Setup);
  EXPECT_EQ(ExitCode, 3);
  EXPECT_TRUE(GlobalsAtDestruction);
}

TEST_F(ProgramRun, ACreationAbortEndsTheProgramQuietly) {
  const int ExitCode =
      RunProgram([]() -> std::unique_ptr<QWidget> { throw EAbort(); }, Setup);
  EXPECT_EQ(ExitCode, ExitCreationFailed);
  EXPECT_TRUE(Warnings.Messages.empty());
  EXPECT_FALSE(ProgramGlobalsExist());
}

TEST_F(ProgramRun, ACreationErrorEndsTheProgramAfterItsMessage) {
  const int ExitCode = RunProgram(
      []() -> std::unique_ptr<QWidget> { throw EError("A palette name is used twice."); },
      Setup);
  EXPECT_EQ(ExitCode, ExitCreationFailed);
  EXPECT_EQ(Warnings.Messages, (std::vector<std::string>{"A palette name is used twice."}));
  EXPECT_FALSE(ProgramGlobalsExist());
}

TEST_F(ProgramRun, AStartThatCannotReachTheProgramFolderEndsWithAMessage) {
  Setup.ProgramFolder = Folder.File("no-such-folder");
  bool Created = false;
  const int ExitCode = RunProgram(
      [&]() -> std::unique_ptr<QWidget> {
        Created = true;
        return std::make_unique<QWidget>();
      },
      Setup);
  EXPECT_EQ(ExitCode, ExitCreationFailed);
  EXPECT_FALSE(Created);
  EXPECT_EQ(Warnings.Messages.size(), 1u);
  EXPECT_FALSE(ProgramGlobalsExist());
}

}  // namespace
}  // namespace tw

namespace tw {
namespace {

// The window's least size in logical pixels on a screen of Physical pixels
// at a scale factor: whether it fits.
bool Fits(QSize Physical, double Factor, QSize Needed) {
  return Physical.width() / Factor >= Needed.width() && Physical.height() / Factor >= Needed.height();
}

TEST(ScreenFit, AScreenTooSmallAtItsScaleGetsTheLargestTwoDecimalScaleThatFits) {
  const QSize Needed(788, 540);
  struct TCase {
    QSize Physical;
    double Current;
  };
  for (const TCase& Case : {TCase{{1280, 800}, 2}, TCase{{1366, 768}, 1.5}, TCase{{1024, 500}, 1},
                            TCase{{2560, 1440}, 3}, TCase{{800, 500}, 1}}) {
    const QSize Available(int(Case.Physical.width() / Case.Current),
                          int(Case.Physical.height() / Case.Current));
    ASSERT_FALSE(Fits(Case.Physical, Case.Current, Needed));
    const double Factor = FittingScaleFactor(Available, Needed, Case.Current);
    EXPECT_LT(Factor, Case.Current);
    EXPECT_TRUE(Fits(Case.Physical, Factor, Needed)) << Factor;
    // Not smaller than needed: a hundredth more no longer fits.
    EXPECT_FALSE(Fits(Case.Physical, Factor + 0.011, Needed)) << Factor;
    EXPECT_DOUBLE_EQ(Factor * 100, std::round(Factor * 100));
  }
}

TEST(ScreenFit, AScreenThatHoldsTheWindowKeepsItsScale) {
  const QSize Needed(788, 540);
  EXPECT_EQ(FittingScaleFactor(QSize(1920, 1080), Needed, 1), 1);
  EXPECT_EQ(FittingScaleFactor(QSize(960, 540), Needed, 2), 2);
  EXPECT_EQ(FittingScaleFactor(QSize(788, 540), Needed, 1.25), 1.25);
  // Nothing known of the screen or the window: nothing changes.
  EXPECT_EQ(FittingScaleFactor(QSize(), Needed, 2), 2);
  EXPECT_EQ(FittingScaleFactor(QSize(640, 400), QSize(), 2), 2);
}

}  // namespace
}  // namespace tw
