// Shortening a failing sequence (delta debugging): parts of the sequence
// are dropped, first in large chunks, then in ever smaller ones down to
// single items, and a shorter sequence is kept whenever it still fails.
// The result still fails, and dropping any single item of it makes it
// pass (as far as the test can tell), so every item it holds is needed.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <vector>

namespace tw::test {

template <class T>
using TFailsFunc = std::function<bool(const std::vector<T>&)>;

// Items without the Count items from First on.
template <class T>
std::vector<T> WithoutRange(const std::vector<T>& Items, size_t First, size_t Count) {
  std::vector<T> rest(Items.begin(), Items.begin() + std::ptrdiff_t(First));
  const size_t end = std::min(Items.size(), First + Count);
  rest.insert(rest.end(), Items.begin() + std::ptrdiff_t(end), Items.end());
  return rest;
}

// Items must fail. Fails is called on shorter and shorter candidates; Tries
// (when given) counts the calls.
template <class T>
std::vector<T> ShrinkSequence(std::vector<T> Items, const TFailsFunc<T>& Fails,
                              int* Tries = nullptr) {
  auto fails = [&](const std::vector<T>& Candidate) {
    if (Tries) ++*Tries;
    return Fails(Candidate);
  };
  size_t chunk = Items.size() / 2;
  while (chunk >= 1) {
    bool dropped = false;
    // A chunk that is needed stays and the next one is tried; one that is
    // not is dropped and the chunk now at its place is tried.
    for (size_t first = 0; first < Items.size();) {
      std::vector<T> candidate = WithoutRange(Items, first, chunk);
      if (!candidate.empty() && fails(candidate)) {
        Items = std::move(candidate);
        dropped = true;
      } else {
        first += chunk;
      }
    }
    // After single items went, a second round shows whether dropping one
    // made another unnecessary.
    if (chunk == 1 && !dropped) break;
    if (chunk > 1) chunk = std::min(chunk / 2, std::max<size_t>(Items.size() / 2, 1));
  }
  return Items;
}

}  // namespace tw::test
