// The parts the whole-program random test stands on: the event generator
// (same seed, same events; every control and key reached), the event
// descriptions, the shrinker (checked against artificial failures, for
// what its result must be rather than a fixed answer) and the child
// processes that tell a crash, a failed check, a hang and a pass apart.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <random>
#include <set>

#include "app/random_program_child.h"
#include "app/random_program_events.h"
#include "app/random_program_shrinker.h"

namespace tw::test {
namespace {

TEST(RandomEvents, TheSameSeedGivesTheSameEventsAndAnotherSeedOthers) {
  const TPictureArea area;
  EXPECT_EQ(GenerateEvents(5, 500, area), GenerateEvents(5, 500, area));
  EXPECT_NE(GenerateEvents(5, 500, area), GenerateEvents(6, 500, area));
  EXPECT_EQ(GenerateEvents(5, 500, area).size(), 500u);
}

TEST(RandomEvents, TheSeedsOfTheRunReachEveryControlKeyAndWellAndPointsOutsideThePicture) {
  const TPictureArea area{160, 140, 6};
  std::set<int> buttons, keys, paintWells, mixWells, drops;
  std::set<TEventKind> kinds;
  int outside = 0, inside = 0;
  for (int seed = 1; seed <= RunSeedCount; ++seed)
    for (const TProgramEvent& e : GenerateEvents(uint32_t(seed), RunEventCount, area)) {
      kinds.insert(e.Kind);
      switch (e.Kind) {
        case TEventKind::Button: buttons.insert(e.A); break;
        case TEventKind::PaintWell: paintWells.insert(e.A); break;
        case TEventKind::MixWell: mixWells.insert(e.A); break;
        case TEventKind::KeyClick:
        case TEventKind::KeyPress:
        case TEventKind::KeyRelease: keys.insert(e.A); break;
        case TEventKind::DropFile: drops.insert(e.A); break;
        case TEventKind::Slider:
          EXPECT_GE(e.A, 0);
          EXPECT_LT(e.A, 1000);
          break;
        default: {
          const bool in = e.A >= 0 && e.A < area.Width && e.B >= 0 && e.B < area.Height;
          (in ? inside : outside)++;
          EXPECT_GE(e.A, -area.Margin);
          EXPECT_LT(e.A, area.Width + area.Margin);
        }
      }
    }
  EXPECT_EQ(buttons.size(), ProgramButtons.size());
  EXPECT_EQ(keys.size(), ProgramKeys.size());
  EXPECT_EQ(paintWells.size(), 20u);
  EXPECT_EQ(mixWells.size(), 12u);
  EXPECT_EQ(drops.size(), DropFiles.size());
  EXPECT_EQ(kinds.size(), size_t(TEventKind::DropFile) + 1);
  EXPECT_GT(outside, 0);
  EXPECT_GT(inside, outside);
  EXPECT_EQ(*buttons.rbegin(), int(ProgramButtons.size()) - 1);
  EXPECT_EQ(*keys.rbegin(), int(ProgramKeys.size()) - 1);
}

TEST(RandomEvents, DescriptionsNameTheControlTheKeyAndThePoint) {
  EXPECT_EQ(Describe({TEventKind::Button, ButtonIndex("tool Fill")}), "click tool Fill");
  EXPECT_EQ(Describe({TEventKind::PainterPress, 12, 30}), "press painter (12,30)");
  EXPECT_EQ(Describe({TEventKind::DropFile, 1}), "drop file notes.txt");
  EXPECT_EQ(Describe({TEventKind::PainterMove, -3, 125}), "move painter (-3,125)");
  EXPECT_EQ(Describe({TEventKind::KeyClick, KeyIndex("Ctrl+Z")}), "key Ctrl+Z");
  EXPECT_EQ(Describe({TEventKind::KeyPress, KeyIndex("Space")}), "key down Space");
  EXPECT_EQ(Describe({TEventKind::MixWell, 4}), "click mix well 4");
  EXPECT_EQ(Describe({TEventKind::Slider, 405}), "click slider at 40.5%");
  EXPECT_EQ(DescribeAll({{TEventKind::Button, ButtonIndex("Undo")}, {TEventKind::PaintWell, 2}}),
            "  1. click Undo\n  2. click paint well 2\n");
}

// Whether Needed appears in Items in its order, not necessarily side by
// side.
template <class T>
bool HoldsInOrder(const std::vector<T>& Items, const std::vector<T>& Needed) {
  size_t n = 0;
  for (const T& item : Items)
    if (n < Needed.size() && item == Needed[n]) ++n;
  return n == Needed.size();
}

// Every item is needed: without any single one the sequence passes.
template <class T>
bool EveryItemNeeded(const std::vector<T>& Items, const TFailsFunc<T>& Fails) {
  for (size_t i = 0; i < Items.size(); ++i)
    if (Fails(WithoutRange(Items, i, 1))) return false;
  return true;
}

TEST(RandomShrinker, AFailureNeedingSomeItemsInOrderShrinksToJustThoseItems) {
  std::mt19937 random(11);
  for (int trial = 0; trial < 40; ++trial) {
    std::vector<int> items(size_t(50 + random() % 300));
    for (int& item : items) item = int(random() % 30);
    // Three items of the list, in their order, make it fail.
    std::vector<size_t> at = {random() % items.size(), random() % items.size(),
                              random() % items.size()};
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end()), at.end());
    std::vector<int> needed;
    for (size_t i : at) needed.push_back(items[i]);
    const TFailsFunc<int> fails = [&](const std::vector<int>& Candidate) {
      EXPECT_FALSE(Candidate.empty());
      return HoldsInOrder(Candidate, needed);
    };
    int tries = 0;
    const std::vector<int> shortest = ShrinkSequence(items, fails, &tries);
    EXPECT_TRUE(fails(shortest));
    EXPECT_TRUE(HoldsInOrder(items, shortest));
    EXPECT_TRUE(EveryItemNeeded(shortest, fails));
    EXPECT_EQ(shortest, needed);
    // Far fewer replays than trying every subsequence; a few per item.
    EXPECT_LT(tries, int(4 * items.size()));
  }
}

TEST(RandomShrinker, AFailureNeedingACountOfEventsKeepsExactlyThatMany) {
  const std::vector<TProgramEvent> events = GenerateEvents(3, 600, TPictureArea());
  const TProgramEvent undo{TEventKind::Button, ButtonIndex("Undo")};
  const TFailsFunc<TProgramEvent> fails = [&](const std::vector<TProgramEvent>& Candidate) {
    return std::count(Candidate.begin(), Candidate.end(), undo) >= 3;
  };
  ASSERT_TRUE(fails(events));
  const std::vector<TProgramEvent> shortest = ShrinkSequence(events, fails);
  EXPECT_TRUE(fails(shortest));
  EXPECT_TRUE(EveryItemNeeded(shortest, fails));
  EXPECT_EQ(shortest, std::vector<TProgramEvent>(3, undo));
}

TEST(RandomShrinker, ASequenceThatOnlyFailsWholeIsKept) {
  const std::vector<int> items = {4, 8, 15, 16, 23, 42};
  const TFailsFunc<int> fails = [&](const std::vector<int>& Candidate) {
    return Candidate == items;
  };
  EXPECT_EQ(ShrinkSequence(items, fails), items);
}

TEST(RandomChild, ACrashAFailedCheckAHangAndAPassAreToldApart) {
  const TChildOutcome crash = RunInChild(
      [](TChildReport& Report) {
        for (int step = 0; step < 3; ++step) Report.SetStep(step);
        raise(SIGSEGV);
      },
      60);
  EXPECT_EQ(crash.Kind, TChildOutcome::Crashed);
  EXPECT_EQ(crash.Step, 2);
  EXPECT_EQ(crash.Signature(), "crash");

  const TChildOutcome failed = RunInChild(
      [](TChildReport& Report) { Report.Fail(5, "line art: colour (1,2) is $FFFFFF"); }, 60);
  EXPECT_EQ(failed.Kind, TChildOutcome::Failed);
  EXPECT_EQ(failed.Step, 5);
  EXPECT_EQ(failed.Message, "line art: colour (1,2) is $FFFFFF");
  EXPECT_EQ(failed.Signature(), "line art");

  // The alarm a stuck child gets, sent at once.
  const TChildOutcome hung = RunInChild([](TChildReport&) { raise(SIGALRM); }, 60);
  EXPECT_EQ(hung.Kind, TChildOutcome::Hung);
  EXPECT_EQ(hung.Signature(), "hang");

  const TChildOutcome passed = RunInChild(
      [](TChildReport& Report) {
        Report.SetStep(7);
        Report.SetSummary("all done");
      },
      60);
  EXPECT_TRUE(passed.Ok());
  EXPECT_EQ(passed.Step, 7);
  EXPECT_EQ(passed.Summary, "all done");
}

}  // namespace
}  // namespace tw::test
