#include "tools/config/ConsoleU.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

namespace tw {

namespace {

// The terminal state to put back when an interrupt arrives while echo is off.
struct termios GSavedTerminal;
volatile sig_atomic_t GEchoOff = 0;

void RestoreAndRaise(int signalNumber) {
  if (GEchoOff) tcsetattr(STDIN_FILENO, TCSANOW, &GSavedTerminal);
  signal(signalNumber, SIG_DFL);
  raise(signalNumber);
}

// Turns the terminal's echo off for its lifetime; does nothing when the
// terminal state cannot be read.
class TNoEcho {
 public:
  TNoEcho() {
    if (tcgetattr(STDIN_FILENO, &GSavedTerminal) != 0) return;
    struct termios quiet = GSavedTerminal;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    quiet.c_lflag |= ECHONL;
    FOldInt = signal(SIGINT, RestoreAndRaise);
    FOldTerm = signal(SIGTERM, RestoreAndRaise);
    GEchoOff = 1;
    FActive = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
    if (!FActive) Restore();
  }
  ~TNoEcho() {
    if (FActive) Restore();
  }
  TNoEcho(const TNoEcho&) = delete;
  TNoEcho& operator=(const TNoEcho&) = delete;

 private:
  void Restore() {
    tcsetattr(STDIN_FILENO, TCSANOW, &GSavedTerminal);
    GEchoOff = 0;
    signal(SIGINT, FOldInt);
    signal(SIGTERM, FOldTerm);
  }

  bool FActive = false;
  void (*FOldInt)(int) = SIG_DFL;
  void (*FOldTerm)(int) = SIG_DFL;
};

}  // namespace

bool ReadAnswer(TConsole& console, const std::string& prompt, bool secret, std::string& answer) {
  console.Err << prompt << std::flush;
  answer.clear();
  bool got = false;
  if (secret && console.InIsTerminal) {
    const TNoEcho noEcho;
    got = static_cast<bool>(std::getline(console.In, answer));
  } else {
    got = static_cast<bool>(std::getline(console.In, answer));
  }
  if (!answer.empty() && answer.back() == '\r') answer.pop_back();
  return got;
}

}  // namespace tw
