// Random action sequences on small pictures: fills in every mix mode,
// strokes of every tool and size, wash, undo, redo, history depth changes up
// and down, picture and layer loads, saves, scale changes and the dropper, each
// checked against the plain reference model after every action (pixels of
// both layers, the history, the click events and the rectangle shown again).
// The engine's undo steps save tiles; the seeds take turns at tile sizes from
// one pixel to wider than any of the pictures, the engine's own among them,
// so the reference's whole copies are matched across tile edges, partial
// edge tiles and single tiles.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iterator>

#include "support/PainterSequence.h"
#include "support/ShrinkList.h"

namespace tw::test {
namespace {

namespace fs = std::filesystem;

class PainterSequences : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    Folder = fs::temp_directory_path() /
             ("tintwell-sequence-" + std::to_string(getpid()) + "-" + std::to_string(GetParam()));
    fs::create_directories(Folder);
  }
  void TearDown() override { fs::remove_all(Folder); }

  // Prints the shortest failing list it can find.
  std::string Explain(const std::vector<TPainterAction>& actions, THistoryTile tile) const {
    const std::vector<TPainterAction> shortest = ShrinkList<TPainterAction>(
        actions, [&](const std::vector<TPainterAction>& list) {
          return ReplaySequence(list, Folder.string(), tile).Index >= 0;
        });
    const TSequenceFailure failure = ReplaySequence(shortest, Folder.string(), tile);
    return "shortest failing sequence (" + std::to_string(shortest.size()) + " actions, tile " +
           std::to_string(tile.Width) + "x" + std::to_string(tile.Height) + ", fails with \"" + failure.What + "\"):\n" + Describe(shortest);
  }

  fs::path Folder;
};

// Each shard runs its own hundred seeds, so a failure names a small range
// and the shards spread over the test runner's processes.
constexpr int Shards = 20;
constexpr int SeedsPerShard = 100;
constexpr THistoryTile HistoryTiles[] = {{1, 1}, {2, 2}, {4, 2}, {2, 8}, {8, 4}, {64, 1}, {256, 8}};

TEST_P(PainterSequences, MatchTheReferenceAfterEveryAction) {
  for (int seed = GetParam() * SeedsPerShard; seed < (GetParam() + 1) * SeedsPerShard; ++seed) {
    TRandomChoices choices{uint32_t(seed)};
    const int length = 50 + int(choices.Below(151));
    const THistoryTile tile = HistoryTiles[seed % std::size(HistoryTiles)];
    TPainterSequence sequence(Folder.string(), tile);
    std::vector<TPainterAction> actions;
    for (int i = 0; i < length; ++i) {
      actions.push_back(sequence.Next(choices));
      const std::string what = sequence.Apply(actions.back());
      if (!what.empty()) {
        ADD_FAILURE() << "seed " << seed << ", action " << i << " ("
                      << Describe(actions.back()) << "): " << what << "\n"
                      << Explain(actions, tile);
        return;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, PainterSequences, ::testing::Range(0, Shards));

// The sequence a child found in four clicks, for every tool that pushes an
// undo step, with a deep history.
TEST(PainterSequence, UndoThenTwoActionsAgreesWithTheReference) {
  const fs::path folder = fs::temp_directory_path() / "tintwell-sequence-undo";
  fs::create_directories(folder);
  for (int mode : {pmFill, pmBrush, pmMBrush, pmMarker, pmEraser}) {
    const std::vector<TPainterAction> actions = {
        {TActionKind::LoadPicture, 9, 7, 5},    {TActionKind::Tool, mode},
        {TActionKind::Color, 0, 0, 0x0000FF},   {TActionKind::Press, 1, 1},
        {TActionKind::Release},                 {TActionKind::Undo},
        {TActionKind::Press, 4, 4},             {TActionKind::Release},
        {TActionKind::Color, 0, 0, 0x00FF00},   {TActionKind::Press, 6, 2},
        {TActionKind::Move, 2, 6},              {TActionKind::Release},
        {TActionKind::Undo},                    {TActionKind::Undo},
        {TActionKind::Wash},                    {TActionKind::Undo},
    };
    const TSequenceFailure failure = ReplaySequence(actions, folder.string());
    EXPECT_EQ(failure.Index, -1) << "tool " << mode << ": " << failure.What;
  }
  fs::remove_all(folder);
}

// The shrinker keeps what makes a list fail and drops the rest.
TEST(ShrinkList, KeepsOnlyTheStepsTheFailureNeeds) {
  std::vector<int> steps;
  for (int i = 0; i < 200; ++i) steps.push_back(i);
  // Fails when 17 comes before 150 and 42 is somewhere.
  const auto fails = [](const std::vector<int>& list) {
    const auto a = std::find(list.begin(), list.end(), 17);
    const auto b = std::find(list.begin(), list.end(), 150);
    return a != list.end() && b != list.end() && a < b &&
           std::find(list.begin(), list.end(), 42) != list.end();
  };
  EXPECT_EQ(ShrinkList<int>(steps, fails), (std::vector<int>{17, 42, 150}));
  EXPECT_TRUE(ShrinkList<int>({}, fails).empty());
}

}  // namespace
}  // namespace tw::test
