// Shrinking a failing list of steps to a short one that still fails: first
// chunks are dropped, halving their size down to single steps, until no
// single step can go. The result is the shortest list this finds, not
// always the shortest possible.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <vector>

namespace tw::test {

template <class TStep>
std::vector<TStep> ShrinkList(std::vector<TStep> steps,
                              const std::function<bool(const std::vector<TStep>&)>& fails) {
  size_t chunk = std::max<size_t>(steps.size() / 2, 1);
  while (!steps.empty()) {
    bool dropped = false;
    for (size_t start = 0; start < steps.size();) {
      std::vector<TStep> shorter(steps.begin(), steps.begin() + std::ptrdiff_t(start));
      const size_t end = std::min(steps.size(), start + chunk);
      shorter.insert(shorter.end(), steps.begin() + std::ptrdiff_t(end), steps.end());
      if (fails(shorter)) {
        steps = std::move(shorter);
        dropped = true;
      } else {
        start += chunk;
      }
    }
    if (chunk == 1 && !dropped) break;
    if (!dropped) chunk = std::max<size_t>(chunk / 2, 1);
  }
  return steps;
}

}  // namespace tw::test
