// TTilePool: hands out the fixed-size blocks (chunks) that undo steps pack
// their saved tiles into, and takes them back. Returned blocks are kept for
// the next step, up to a limit, so a history in steady state allocates nothing and the
// first actions after a picture opens reuse the blocks of the previous one:
// a freshly allocated block costs a page fault per page on its first write,
// which on a large change is more than the copy itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace tw {

class TTilePool {
 public:
  using TBlock = std::unique_ptr<uint8_t[]>;

  explicit TTilePool(size_t blockSize) : FBlockSize(blockSize) {}

  size_t BlockSize() const { return FBlockSize; }
  // A block of BlockSize bytes, contents undefined.
  TBlock Take();
  void Give(TBlock block);
  // Keeps at most count returned blocks; blocks beyond it are released now
  // and when they come back.
  void SetKeepLimit(size_t count);
  size_t FreeBlocks() const { return FFree.size(); }

 private:
  size_t FBlockSize;
  size_t FKeepLimit = 0;
  std::vector<TBlock> FFree;
};

}  // namespace tw
