// The whole program under random input: seeded sequences of real mouse and
// keyboard actions over every control and key of the main window, with the
// program checked after every event (no crash, no warning box, no
// unexpected dialog, the line art intact, the settings readable, the stored
// colourings whole and each picture coming back as it was left). A failing
// seed is shortened to the fewest events that still fail the same way.
#include <iostream>
#include <sstream>

#include "app/random_program_fixture.h"

namespace tw::test {
namespace {

// The number after "Name=" in a run's summary; -1 when it is not there.
int SummaryCount(const std::string& Summary, const std::string& Name) {
  std::istringstream words(Summary);
  std::string word;
  while (words >> word)
    if (word.rfind(Name + "=", 0) == 0) return std::stoi(word.substr(Name.size() + 1));
  return -1;
}

using RandomProgramRegression = RandomProgramFixture;

// The first crash a new user met: fill, undo, fill, fill.
TEST_F(RandomProgramRegression, FillUndoFillFillKeepsTheProgramWhole) {
  Prepare(10);
  const std::vector<TProgramEvent> events = {
      {TEventKind::PainterPress, 20, 20},     {TEventKind::PainterRelease, 20, 20},
      {TEventKind::KeyClick, KeyIndex("Ctrl+Z")}, {TEventKind::PainterPress, 20, 20},
      {TEventKind::PainterRelease, 20, 20},   {TEventKind::PainterPress, 120, 20},
      {TEventKind::PainterRelease, 120, 20},
  };
  const TChildOutcome outcome = Replay(events);
  EXPECT_TRUE(outcome.Ok()) << ReportFailure("fill, undo, fill, fill", events, outcome);
  EXPECT_EQ(SummaryCount(outcome.Summary, "fills"), 3);
  EXPECT_EQ(SummaryCount(outcome.Summary, "undos"), 1);
}

class RandomProgram : public RandomProgramFixture, public ::testing::WithParamInterface<int> {};

TEST_P(RandomProgram, TheEventsOfOneSeedKeepTheProgramWhole) {
  const int seed = GetParam();
  // Histories from none to five steps, so the oldest step is dropped often.
  Prepare(seed % 6);
  const std::vector<TProgramEvent> events = GenerateEvents(uint32_t(seed), RunEventCount, Area());
  const TChildOutcome outcome = Replay(events);
  if (!outcome.Ok()) {
    ADD_FAILURE() << ReportFailure("seed " + std::to_string(seed), events, outcome);
    return;
  }
  // Every event ran, and the checks at the end.
  EXPECT_EQ(outcome.Step, RunEventCount);
  // The run did what a child does: pictures, paint, undo, dialogs, the
  // picture chooser.
  for (const char* activity : {"pictures", "fills", "strokes", "dialogs", "chooser"})
    EXPECT_GT(SummaryCount(outcome.Summary, activity), 0) << activity << ": " << outcome.Summary;
  std::cout << "[   seed " << seed << " ] " << outcome.Summary << "\n";
}

INSTANTIATE_TEST_SUITE_P(RandomSeeds, RandomProgram, ::testing::Range(1, RunSeedCount + 1));

}  // namespace
}  // namespace tw::test
