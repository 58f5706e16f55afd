// Scans and fills of byte rows (the 1-bit layers and the border map), tuned
// for the short runs that narrow regions and thin lines make: one 64-bit
// word is tried before the library call.
#pragma once

#include <cstdint>
#include <cstring>

namespace tw {

// Zero bytes of a 64-bit word: the high bit of each zero byte is set.
inline uint64_t ZeroBytes(uint64_t w) {
  constexpr uint64_t Low7 = 0x7F7F7F7F7F7F7F7Full;
  return ~(((w & Low7) + Low7) | w | Low7);
}

inline uint64_t Load8(const uint8_t* p) {
  uint64_t w;
  std::memcpy(&w, p, 8);
  return w;
}

// Index of the first non-zero byte in p[0..n), or n.
inline int FindNonZero(const uint8_t* p, int n) {
  int i = 0;
  for (; i + 8 <= n; i += 8)
    if (const uint64_t w = Load8(p + i)) return i + __builtin_ctzll(w) / 8;
  for (; i < n; ++i)
    if (p[i]) return i;
  return n;
}

// Index of the first zero byte in p[0..n), or n. Most runs end within a few
// bytes, so one word is tried before the library scan.
inline int FindZero(const uint8_t* p, int n) {
  if (n >= 8) {
    if (const uint64_t z = ZeroBytes(Load8(p))) return __builtin_ctzll(z) / 8;
    const void* found = std::memchr(p + 8, 0, size_t(n - 8));
    return found ? int(static_cast<const uint8_t*>(found) - p) : n;
  }
  for (int i = 0; i < n; ++i)
    if (!p[i]) return i;
  return n;
}

// Whether p[0..n) holds no zero byte, where p[0..room) may be read. The
// short stretches of narrow regions take one word.
inline bool NoZeroBefore(const uint8_t* p, int n, int room) {
  if (n < 8 && room >= 8) return (ZeroBytes(Load8(p)) & ((uint64_t(1) << (8 * n)) - 1)) == 0;
  return FindZero(p, n) == n;
}

// One more than the index of the last zero byte in p[0..n), or 0.
inline int FindZeroBackward(const uint8_t* p, int n) {
  if (n >= 8) {
    if (const uint64_t z = ZeroBytes(Load8(p + n - 8))) return n - 8 + (63 - __builtin_clzll(z)) / 8 + 1;
    const void* found = memrchr(p, 0, size_t(n - 8));
    return found ? int(static_cast<const uint8_t*>(found) - p) + 1 : 0;
  }
  for (int i = n - 1; i >= 0; --i)
    if (!p[i]) return i + 1;
  return 0;
}

// memset, without the call for the short runs of narrow regions.
inline void SetBytes(uint8_t* p, uint8_t value, int n) {
  if (n > 16) {
    std::memset(p, value, size_t(n));
    return;
  }
  for (int i = 0; i < n; ++i) p[i] = value;
}

}  // namespace tw
