// The rows an undo step keeps as runs: every row comes back byte for byte,
// rows laid one after another come back one by one, and a row that needs
// more runs than there is room for is refused without writing past the room.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "painter/HistoryRowsU.h"

namespace tw::test {
namespace {

// A row of n pixels made of runs whose lengths are drawn up to maxRun, from
// a few colours (so neighbouring runs may share one) or from many.
std::vector<uint8_t> MakeRow(std::mt19937& rng, int n, int bpp, int maxRun, bool fewColours) {
  std::vector<uint8_t> row(size_t(n) * size_t(bpp));
  for (int x = 0; x < n;) {
    const int length = std::min(n - x, 1 + int(rng() % uint32_t(maxRun)));
    uint8_t pixel[3];
    for (int b = 0; b < bpp; ++b) pixel[b] = uint8_t(fewColours ? (rng() % 3) * 0x7F : rng());
    for (int i = 0; i < length; ++i, ++x)
      for (int b = 0; b < bpp; ++b) row[size_t(x) * size_t(bpp) + size_t(b)] = pixel[b];
  }
  return row;
}

TEST(HistoryRows, EveryRowComesBackExactly) {
  std::mt19937 rng(21);
  int refused = 0;
  for (int bpp : {1, 3})
    for (int n : {1, 2, 3, 5, 16, 17, 63, 64, 65, 200, 256, 1000, 3000})
      for (int maxRun : {1, 2, 5, 40, 256, 5000})
        for (bool few : {true, false}) {
          const std::vector<uint8_t> row = MakeRow(rng, n, bpp, maxRun, few);
          const size_t room = 40;
          std::vector<uint8_t> runs((room + 1) * RunBytes, 0xAB);
          const size_t count = StoreRuns(row.data(), size_t(n), bpp, runs.data(), room);
          for (size_t i = room * RunBytes; i < runs.size(); ++i)
            ASSERT_EQ(runs[i], 0xAB) << "wrote past the room";
          if (count == NoRuns) {
            ++refused;
            continue;
          }
          ASSERT_LE(count, room);
          std::vector<uint8_t> back(row.size() + 8, 0xCD);
          const uint8_t* after = LoadRuns(back.data(), size_t(n), bpp, runs.data());
          EXPECT_EQ(after, runs.data() + count * RunBytes);
          ASSERT_TRUE(std::equal(row.begin(), row.end(), back.begin()))
              << "n " << n << ", " << bpp << " bytes a pixel, runs up to " << maxRun;
          for (size_t i = row.size(); i < back.size(); ++i)
            ASSERT_EQ(back[i], 0xCD) << "wrote past the row";
        }
  EXPECT_GT(refused, 0);
}

TEST(HistoryRows, AFlatRowTakesOneRunAndRowsFollowEachOther) {
  std::vector<uint8_t> rows(2 * 700 * 3);
  for (size_t i = 0; i < rows.size(); i += 3) {
    rows[i] = i < 2100 ? 0x12 : 0x00;
    rows[i + 1] = 0x34;
    rows[i + 2] = i < 2100 ? 0x56 : 0x57;
  }
  std::vector<uint8_t> runs(4 * RunBytes);
  EXPECT_EQ(StoreRuns(rows.data(), 700, 3, runs.data(), 4), 1u);
  EXPECT_EQ(StoreRuns(rows.data() + 2100, 700, 3, runs.data() + RunBytes, 3), 1u);
  std::vector<uint8_t> back(rows.size());
  const uint8_t* next = LoadRuns(back.data(), 700, 3, runs.data());
  LoadRuns(back.data() + 2100, 700, 3, next);
  EXPECT_EQ(back, rows);
}

// A flat row is checked in blocks, the last one overlapping the one before:
// a single other pixel is found wherever it lies, whichever of its bytes
// differs.
TEST(HistoryRows, OneOtherPixelAnywhereInAFlatRowIsFound) {
  for (int bpp : {1, 3})
    for (size_t n : {16, 17, 31, 32, 33, 47, 48, 49, 63, 64, 65, 95, 96, 97, 128, 129, 320, 1000})
      for (size_t k = 0; k < n; ++k) {
        std::vector<uint8_t> row(n * size_t(bpp), 0xF0);
        row[k * size_t(bpp) + k % size_t(bpp)] = 0x0F;
        std::vector<uint8_t> runs(3 * RunBytes);
        const size_t count = StoreRuns(row.data(), n, bpp, runs.data(), 3);
        ASSERT_EQ(count, k == 0 || k == n - 1 ? 2u : 3u) << "n " << n << ", pixel " << k;
        std::vector<uint8_t> back(row.size());
        LoadRuns(back.data(), n, bpp, runs.data());
        ASSERT_EQ(back, row) << "n " << n << ", pixel " << k;
      }
}

TEST(HistoryRows, ARowOfManyColoursIsRefused) {
  std::vector<uint8_t> row(64);
  for (size_t i = 0; i < row.size(); ++i) row[i] = uint8_t(i);
  std::vector<uint8_t> runs(64 * RunBytes);
  EXPECT_EQ(StoreRuns(row.data(), 64, 1, runs.data(), 63), NoRuns);
  EXPECT_EQ(StoreRuns(row.data(), 64, 1, runs.data(), 64), 64u);
}

}  // namespace
}  // namespace tw::test
