// The random-input test's bench: the main window's fixture with a small
// catalog (four generated pictures of a few closed areas each, one with
// grey and almost-white line art, sizes differing), StayColored 2 so every
// change of picture stores the colouring, and no bubble hints (they follow
// a timer, which would make a replay depend on the clock). Replay runs a
// sequence of events on a fresh window in a child process, checking after
// every event (also that Qt warned of nothing); ReportFailure shortens a
// failing sequence and describes it.
#pragma once

#include <string>
#include <vector>

#include "app/main_window_test_support.h"
#include "app/random_program_checks.h"
#include "app/random_program_child.h"
#include "app/random_program_events.h"

namespace tw::test {

// A white picture with a black frame and a grid of black lines: Columns x
// Rows closed areas.
TRaster24 GridPicture(int Width, int Height, int Columns, int Rows);
// Nested frames, the inner ones grey and dark grey (line art too, as every
// pixel that is not pure white), one with a gap the paint leaks through,
// and an almost-white spot inside, which is line art as well.
TRaster24 RingsPicture(int Width, int Height);

class RandomProgramFixture : public MainWindowFixture {
 protected:
  // The run's limits. A replay that does not end within ChildTimeLimit is
  // a hang; the limit only bounds a run that went wrong.
  static constexpr int ChildTimeLimit = 120;

  // The catalog, and the defaults with MaxHistory.
  void Prepare(int MaxHistory);

  // The points the generated events aim at: the largest picture and a
  // margin around it.
  TPictureArea Area() const;

  // Events on a fresh window (new settings store, empty save folder), in a
  // child process.
  TChildOutcome Replay(const std::vector<TProgramEvent>& Events);

  // The shortest sequence that fails as Outcome did, described with the
  // failure, for the test's failure message.
  std::string ReportFailure(const std::string& Title, const std::vector<TProgramEvent>& Events,
                            const TChildOutcome& Outcome);

 private:
  // The child's side of Replay.
  void RunEvents(const std::vector<TProgramEvent>& Events, TChildReport& Report);
  void ClearStoreAndSaveFolder();

  std::vector<TCatalogPicture> FPictures;
  int FMaxHistory = 10;
  std::string FDropFolder;
  TRaster24 FDrawing;
};

}  // namespace tw::test
