#include "support/CraftedGif.h"

#include <algorithm>
#include <map>
#include <utility>

#include "painter/image/ImageFileU.h"
#include "pictures/PictureFileU.h"
#include "pictures/QCFileStreamU.h"

namespace tw::test {

namespace {

// Two bits per pixel: clear is 4, end 5, the first free code 6.
constexpr int MinCodeSize = 2;
constexpr int ClearCode = 1 << MinCodeSize;
constexpr int EndCode = ClearCode + 1;
constexpr int FirstFreeCode = ClearCode + 2;
constexpr int MaxCode = 4095;

// Packs codes least significant bit first, widening them when the decoder
// does: the k-th data code after a clear makes the decoder define entry
// 5 + k, and once that no longer fits the codes grow by a bit (up to 12).
class TCodeWriter {
 public:
  void PutData(int code) {
    Put(code);
    ++FDataCodes;
    if (5 + FDataCodes >= (1 << FWidth) && FWidth < 12) ++FWidth;
  }
  void PutClear() {
    Put(ClearCode);
    FWidth = MinCodeSize + 1;
    FDataCodes = 0;
  }
  void PutEnd() { Put(EndCode); }
  std::vector<uint8_t> Finish() {
    if (FBitCount > 0) FBytes.push_back(uint8_t(FBits));
    FBits = 0;
    FBitCount = 0;
    return std::move(FBytes);
  }

 private:
  void Put(int code) {
    FBits |= uint32_t(code) << FBitCount;
    FBitCount += FWidth;
    while (FBitCount >= 8) {
      FBytes.push_back(uint8_t(FBits));
      FBits >>= 8;
      FBitCount -= 8;
    }
  }

  std::vector<uint8_t> FBytes;
  uint32_t FBits = 0;
  int FBitCount = 0;
  int FWidth = MinCodeSize + 1;
  int FDataCodes = 0;
};

void PutWord(std::vector<uint8_t>& out, int value) {
  out.push_back(uint8_t(value));
  out.push_back(uint8_t(value >> 8));
}

std::vector<uint8_t> WrapGif(const TGifLayout& layout, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  PutWord(out, layout.ScreenWidth);
  PutWord(out, layout.ScreenHeight);
  out.push_back(0x91);  // a global table of four colours
  out.push_back(0);
  out.push_back(0);
  const uint8_t colours[12] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0};
  out.insert(out.end(), colours, colours + 12);
  out.push_back(0x2C);
  PutWord(out, layout.Left);
  PutWord(out, layout.Top);
  PutWord(out, layout.Width);
  PutWord(out, layout.Height);
  out.push_back(layout.Interlaced ? 0x40 : 0);
  out.push_back(MinCodeSize);
  for (size_t at = 0; at < data.size(); at += 255) {
    const size_t n = std::min<size_t>(255, data.size() - at);
    out.push_back(uint8_t(n));
    out.insert(out.end(), data.begin() + ptrdiff_t(at), data.begin() + ptrdiff_t(at + n));
  }
  out.push_back(0);
  out.push_back(0x3B);
  return out;
}

std::vector<int> StoredRowOrder(const TGifLayout& layout) {
  std::vector<int> order;
  if (!layout.Interlaced) {
    for (int row = 0; row < layout.Height; ++row) order.push_back(row);
    return order;
  }
  const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int row = start[pass]; row < layout.Height; row += step[pass]) order.push_back(row);
  return order;
}

}  // namespace

std::vector<uint8_t> UniformGif(const TGifLayout& layout, int64_t storedPixels) {
  const int64_t all = int64_t(layout.Width) * layout.Height;
  int64_t left = storedPixels < 0 ? all : std::min(storedPixels, all);
  TCodeWriter codes;
  codes.PutClear();
  // Greedy LZW over one repeated index sends runs of 1, 2, 3, ... pixels,
  // each defining the run one longer, until the table is full; then the
  // longest run again and again. A run of n >= 2 pixels has code n + 4.
  int longest = 1;
  while (left > 0) {
    const int run = int(std::min<int64_t>(longest, left));
    codes.PutData(run == 1 ? 0 : run + 4);
    left -= run;
    if (longest + 4 < MaxCode) ++longest;
  }
  codes.PutEnd();
  return WrapGif(layout, codes.Finish());
}

std::vector<uint8_t> IndexedGif(const TGifLayout& layout, const std::vector<uint8_t>& indices) {
  std::vector<uint8_t> pixels;
  for (const int row : StoredRowOrder(layout))
    pixels.insert(pixels.end(), indices.begin() + ptrdiff_t(row) * layout.Width,
                  indices.begin() + ptrdiff_t(row + 1) * layout.Width);
  TCodeWriter codes;
  std::map<std::pair<int, int>, int> table;
  int next = FirstFreeCode;
  codes.PutClear();
  int current = -1;
  for (const uint8_t pixel : pixels) {
    if (current < 0) {
      current = pixel;
      continue;
    }
    const auto found = table.find({current, pixel});
    if (found != table.end()) {
      current = found->second;
      continue;
    }
    codes.PutData(current);
    if (next > MaxCode) {
      codes.PutClear();
      table.clear();
      next = FirstFreeCode;
    } else {
      table[{current, pixel}] = next++;
    }
    current = pixel;
  }
  if (current >= 0) codes.PutData(current);
  codes.PutEnd();
  return WrapGif(layout, codes.Finish());
}

void WriteRawPictureFile(const std::string& fileName, const std::vector<uint8_t>& gif) {
  std::vector<uint8_t> plain(PictureFileMagic, PictureFileMagic + 4);
  plain.push_back(CurrentPictureVersion);
  plain.push_back(0);
  PutWord(plain, 1);
  PutWord(plain, 1);
  plain.insert(plain.end(), gif.begin(), gif.end());
  WriteFileAtomically(fileName, ScrambleBytes(plain));
}

}  // namespace tw::test
