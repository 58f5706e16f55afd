#include "app/ApplicationU.h"

#include <QFont>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "palette/qt/CursorTableU.h"
#include "pictures/QFoldersU.h"
#include "pictures/QUtilU.h"
#include "pictures/qt/ArtResourceU.h"
#include "pictures/qt/QtPlatformU.h"
#include "settings/ProgramGlobalsU.h"
#include "settings/SettingU.h"
#include "sound/qt/QtSoundNotifierU.h"

namespace tw {

namespace {

constexpr const char* UnexpectedError = "An unexpected error occurred.";

// Set while DeliverGuarded shows a warning: the box runs its own event loop,
// and a handler that keeps failing there must not open box after box.
bool GShowingWarning = false;

void ReportCurrentException() {
  const std::string Message = ExceptionMessage(std::current_exception());
  if (Message.empty()) return;
  if (GShowingWarning) {
    std::fprintf(stderr, "Tintwell: %s\n", Message.c_str());
    return;
  }
  GShowingWarning = true;
  try {
    ShowWarning(Message);
  } catch (...) {
    // The warning box itself failed; the message still reaches stderr.
    std::fprintf(stderr, "Tintwell: %s\n", Message.c_str());
  }
  GShowingWarning = false;
}

}  // namespace

std::string ExceptionMessage(const std::exception_ptr& Error) {
  if (!Error) return std::string();
  try {
    std::rethrow_exception(Error);
  } catch (const EAbort&) {
    return std::string();
  } catch (const std::exception& E) {
    const std::string Text = E.what();
    return Text.empty() ? UnexpectedError : Text;
  } catch (...) {
    return UnexpectedError;
  }
}

bool DeliverGuarded(const std::function<bool()>& Deliver) {
  try {
    return Deliver();
  } catch (...) {
    ReportCurrentException();
  }
  return false;
}

TQApplication::TQApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TQApplication::notify(QObject* receiver, QEvent* event) {
  // The same as DeliverGuarded, without wrapping every event in a function
  // object.
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ReportCurrentException();
  }
  return false;
}

bool ChooseOffscreenWithoutDisplay() {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
      !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    return false;
  std::fprintf(stderr, "Tintwell: no display found; running on the offscreen platform\n");
  qputenv("QT_QPA_PLATFORM", "offscreen");
  return true;
}

void PrepareProgram(const TProgramSetup& Setup) {
  QApplication::setApplicationName("Tintwell");
  // The shipped files are found relative to the program: "default/",
  // "lang/", "sounds/".
  std::filesystem::current_path(Setup.ProgramFolder.empty() ? ProgramFolder()
                                                            : Setup.ProgramFolder);
  CreateProgramGlobals(
      Setup.DatabasePath.empty() ? TSetting::DefaultDatabasePath() : Setup.DatabasePath,
      Setup.DefaultsFile, Setup.LangFolder);
  if (Setup.PlatformHooks) InstallPlatformHooks();
  QFont Font = QApplication::font();
  Font.setFamily(InterfaceFontFamily());
  QApplication::setFont(Font);
  if (Setup.ProgramCursors) InstallProgramCursors();
}

void FinishProgram() {
  // The main window's language lookup refers to the strings freed next.
  OnTranslate = nullptr;
  FreeProgramGlobals();
}

std::unique_ptr<QWidget> CreateMainWindowReporting(const TMainWindowFactory& CreateMainWindow,
                                                   int& ExitCode) {
  ExitCode = ExitCreationFailed;
  try {
    std::unique_ptr<QWidget> Window = CreateMainWindow ? CreateMainWindow() : nullptr;
    if (Window) ExitCode = 0;
    return Window;
  } catch (...) {
    const std::string Message = ExceptionMessage(std::current_exception());
    if (!Message.empty()) ShowWarning(Message);
  }
  return nullptr;
}

int RunProgram(const TMainWindowFactory& CreateMainWindow, const TProgramSetup& Setup) {
  try {
    PrepareProgram(Setup);
  } catch (...) {
    const std::string Message = ExceptionMessage(std::current_exception());
    if (!Message.empty()) ShowWarning(Message);
    FinishProgram();
    return ExitCreationFailed;
  }
  int ExitCode = ExitCreationFailed;
  {
    // The sound channels the main window makes deliver their notifications
    // through this notifier, so it outlives the window.
    TQtSoundNotifierScope SoundNotifier;
    std::unique_ptr<QWidget> Window = CreateMainWindowReporting(CreateMainWindow, ExitCode);
    if (Window) {
      // The window is destroyed here, before the globals it uses; closing
      // it must only hide it.
      Window->setAttribute(Qt::WA_DeleteOnClose, false);
      if (!Window->isVisible()) Window->show();
      ExitCode = QApplication::exec();
      Window.reset();
    }
  }
  FinishProgram();
  return ExitCode;
}

double FittingScaleFactor(QSize Available, QSize Needed, double Current) {
  if (Available.isEmpty() || Needed.isEmpty() || Current <= 0) return Current;
  const double Fit = std::min(double(Available.width()) / Needed.width(),
                              double(Available.height()) / Needed.height());
  if (Fit >= 1) return Current;
  return std::floor(Current * Fit * 100) / 100;
}

int RunTintwell(int argc, char** argv, const TMainWindowFactory& CreateMainWindow, QSize Needed) {
  ChooseOffscreenWithoutDisplay();
  double Factor = 1;
  double Fitting = 1;
  {
    TQApplication Application(argc, argv);
    bool Set = false;
    Factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&Set);
    if (!Set || Factor <= 0) Factor = 1;
    const QScreen* Screen = QGuiApplication::primaryScreen();
    Fitting = Screen ? FittingScaleFactor(Screen->availableGeometry().size(), Needed, Factor)
                     : Factor;
    if (Fitting == Factor) return RunProgram(CreateMainWindow);
  }
  // The scale is read when the application starts, so it starts again.
  std::fprintf(stderr, "Tintwell: the screen is too small for the window at a scale of %g; using %g\n",
               Factor, Fitting);
  qputenv("QT_SCALE_FACTOR", QByteArray::number(Fitting, 'f', 2));
  TQApplication Application(argc, argv);
  return RunProgram(CreateMainWindow);
}

}  // namespace tw
