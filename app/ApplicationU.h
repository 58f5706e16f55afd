// The program's start and its application object.
//
// TQApplication catches every exception an event handler throws: the
// silent abort (EAbort) is dropped, anything else is shown in one warning
// box (ShowWarning) and the program goes on. RunTintwell is the whole
// program around the main window: the platform choice, the application,
// the program folder as the working folder, the program-wide settings and
// languages, the platform hooks, the interface font, the program's own
// pointers, the sound notifier of the main thread, the main window's
// creation, the event loop and the teardown.
//
// The pieces are separate functions so the tests can run them on the test
// program's own application object.
#pragma once

#include <QApplication>
#include <QSize>
#include <exception>
#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace tw {

// The factor to put in QT_SCALE_FACTOR (now Current, 1 when unset) so that
// a screen whose available area is Available logical pixels at Current
// holds Needed: Current when it does already, else smaller, cut to two
// decimals so the result surely fits. A screen too small at a scale of 2
// (a 1280x800 laptop shows 640x400) then shows the window whole at about
// 1.5, sharp with the high-density artwork, instead of with its controls
// piled on each other.
double FittingScaleFactor(QSize Available, QSize Needed, double Current);

// The exit code when the main window could not be created: after its error
// was shown, or quietly after a silent abort (the abort's problem was shown
// already where it was raised). The program did not do its work either way.
constexpr int ExitCreationFailed = 1;

// Runs Deliver and reports what it throws: an EAbort silently, any other
// exception once through ShowWarning with its message (a non-standard one
// as "An unexpected error occurred."). Returns Deliver's answer, or false
// after an exception. An exception thrown while such a warning is still
// showing goes to stderr instead of stacking up a second box.
bool DeliverGuarded(const std::function<bool()>& Deliver);

// The warning text for an exception; empty for EAbort (shown by no one).
std::string ExceptionMessage(const std::exception_ptr& Error);

class TQApplication : public QApplication {
 public:
  TQApplication(int& argc, char** argv);
  // Delivers as DeliverGuarded does, so an exception from an event handler
  // never leaves the event loop.
  bool notify(QObject* receiver, QEvent* event) override;
};

// Creates the main window. May throw: EAbort ends the program quietly, any
// other exception after its message.
using TMainWindowFactory = std::function<std::unique_ptr<QWidget>()>;

// Without any display (no DISPLAY, no WAYLAND_DISPLAY, no platform chosen)
// the program runs invisibly on the offscreen platform instead of aborting:
// sets QT_QPA_PLATFORM and says so on stderr. Call before the application
// object exists. Returns whether it chose offscreen.
bool ChooseOffscreenWithoutDisplay();

// What PrepareProgram sets up; the defaults are the program's own.
struct TProgramSetup {
  // Made the working folder, so "default/", "lang/" and "sounds/" resolve
  // beside the program. Empty: ProgramFolder().
  std::string ProgramFolder;
  // Empty: TSetting::DefaultDatabasePath().
  std::string DatabasePath;
  std::string DefaultsFile = "default/default.ini";
  std::string LangFolder = "lang";
  // The real warning box, document opener and folders (InstallPlatformHooks);
  // tests keep their recorders.
  bool PlatformHooks = true;
  // The program's own hand, arrow and not-allowed pointers from the artwork.
  bool ProgramCursors = true;
};

// After the application object exists: the title "Tintwell", the working
// folder, the program-wide globals (CreateProgramGlobals), the platform
// hooks, the interface font as the application font and the program's
// pointers, in this order. Throws what fails.
void PrepareProgram(const TProgramSetup& Setup);
// Frees what PrepareProgram made that must go before the application:
// the language lookup hook and the program-wide globals. The pointer table
// stays (its pixmaps are never freed at exit).
void FinishProgram();

// Creates the main window with CreateMainWindow. On failure returns null
// and sets ExitCode: EAbort quietly, anything else after ShowWarning.
std::unique_ptr<QWidget> CreateMainWindowReporting(const TMainWindowFactory& CreateMainWindow,
                                                   int& ExitCode);

// The program on an existing application object: PrepareProgram (a failure
// is shown and ends it with ExitCreationFailed), the main thread's sound
// notifier, the main window's creation, showing it (its deferred start then
// maximises it), the event loop until the last window closes, and the
// teardown: the main window is destroyed first, then the sound notifier,
// then the globals. Returns the event loop's exit code, or
// ExitCreationFailed.
int RunProgram(const TMainWindowFactory& CreateMainWindow,
               const TProgramSetup& Setup = TProgramSetup());

// The program's entry: ChooseOffscreenWithoutDisplay, the TQApplication,
// then RunProgram.
int RunTintwell(int argc, char** argv, const TMainWindowFactory& CreateMainWindow,
                QSize Needed = QSize());

}  // namespace tw
