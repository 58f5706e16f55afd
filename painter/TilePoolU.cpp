#include "painter/TilePoolU.h"

#include <utility>

namespace tw {

TTilePool::TBlock TTilePool::Take() {
  if (FFree.empty()) return std::make_unique_for_overwrite<uint8_t[]>(FBlockSize);
  TBlock block = std::move(FFree.back());
  FFree.pop_back();
  return block;
}

void TTilePool::Give(TBlock block) {
  if (block && FFree.size() < FKeepLimit) FFree.push_back(std::move(block));
}

void TTilePool::SetKeepLimit(size_t count) {
  FKeepLimit = count;
  if (FFree.size() > count) FFree.resize(count);
}

}  // namespace tw
