// Applies the random test's events to a running main window the way the
// mouse and the keyboard reach it: QTest presses, moves and releases on the
// control under the event, key events to the window, and the screen
// pointer moved for the space bar to press where it points. Each event is
// delivered as the program's application object delivers it (an exception
// from a handler becomes a warning box), and whatever the event queued (a
// close, repaints, dialogs to be freed) is delivered before Apply returns,
// and a page being made from a dropped file is waited for and opened;
// nothing waits on the clock.
#pragma once

#include <string>

#include "app/random_program_events.h"

namespace tw {
class TFMain;
}

namespace tw::test {

class TProgramReplayer {
 public:
  // DropFolder holds the files of DropFiles.
  TProgramReplayer(TFMain& Window, std::string DropFolder = std::string())
      : FWindow(Window), FDropFolder(std::move(DropFolder)) {}

  void Apply(const TProgramEvent& Event);

 private:
  void Deliver(const TProgramEvent& Event);

  void Drop(const std::string& File);

  TFMain& FWindow;
  std::string FDropFolder;
};

// Delivers what the events left queued, without waiting for anything.
void DeliverQueuedEvents();

}  // namespace tw::test
