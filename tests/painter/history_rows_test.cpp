// The rows an undo step keeps: every row comes back byte for byte, whether
// it was kept as runs or as its pixels, and it never needs more room than
// its pixels.
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
  int kept[2] = {0, 0};  // rows kept as runs, as pixels
  for (int bpp : {1, 3})
    for (int n : {1, 2, 3, 4, 5, 7, 8, 63, 64, 200, 255, 256})
      for (int maxRun : {1, 2, 5, 40, 256})
        for (bool few : {true, false}) {
          const std::vector<uint8_t> row = MakeRow(rng, n, bpp, maxRun, few);
          std::vector<uint8_t> slot(row.size() + 8, 0xAB);
          const uint32_t header = StoreRow(row.data(), n, bpp, slot.data());
          ASSERT_LE(RowBytes(header, n, bpp), row.size());
          for (size_t i = row.size(); i < slot.size(); ++i)
            ASSERT_EQ(slot[i], 0xAB) << "wrote past the row's room";
          ++kept[header == RawRow ? 1 : 0];
          std::vector<uint8_t> back(row.size() + 8, 0xCD);
          LoadRow(back.data(), n, bpp, header, slot.data());
          back.resize(row.size() + 8);
          ASSERT_TRUE(std::equal(row.begin(), row.end(), back.begin()))
              << "n " << n << ", " << bpp << " bytes a pixel, runs up to " << maxRun;
          for (size_t i = row.size(); i < back.size(); ++i)
            ASSERT_EQ(back[i], 0xCD) << "wrote past the row";
        }
  EXPECT_GT(kept[0], 0);
  EXPECT_GT(kept[1], 0);
}

TEST(HistoryRows, AFlatRowTakesOneRun) {
  std::vector<uint8_t> row(256 * 3);
  for (size_t i = 0; i < row.size(); i += 3) {
    row[i] = 0x12;
    row[i + 1] = 0x34;
    row[i + 2] = 0x56;
  }
  std::vector<uint8_t> slot(row.size());
  const uint32_t header = StoreRow(row.data(), 256, 3, slot.data());
  EXPECT_EQ(header, 1u);
  std::vector<uint8_t> back(row.size());
  LoadRow(back.data(), 256, 3, header, slot.data());
  EXPECT_EQ(back, row);
}

TEST(HistoryRows, ARowOfManyColoursIsKeptAsItsPixels) {
  std::vector<uint8_t> row(64);
  for (size_t i = 0; i < row.size(); ++i) row[i] = uint8_t(i);
  std::vector<uint8_t> slot(row.size());
  EXPECT_EQ(StoreRow(row.data(), 64, 1, slot.data()), RawRow);
  EXPECT_EQ(slot, row);
}

}  // namespace
}  // namespace tw::test
