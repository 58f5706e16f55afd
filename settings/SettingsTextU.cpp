#include "settings/SettingsTextU.h"

#include <limits>

namespace tw {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string TrimBlanks(const std::string& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

bool TryParseSettingInteger(const std::string& text, int32_t& value) {
  size_t at = 0;
  while (at < text.size() && IsBlank(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  bool hex = false;
  if (at < text.size() && (text[at] == '$' || text[at] == 'x' || text[at] == 'X')) {
    hex = true;
    at += 1;
  } else if (at + 1 < text.size() && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X')) {
    hex = true;
    at += 2;
  }
  if (at >= text.size()) return false;
  // Magnitudes are collected in 64 bits and stopped as soon as they leave the
  // accepted range, so long digit runs cannot overflow.
  uint64_t magnitude = 0;
  if (hex) {
    for (; at < text.size(); ++at) {
      const int digit = HexDigit(text[at]);
      if (digit < 0) return false;
      magnitude = magnitude * 16 + uint64_t(digit);
      if (magnitude > 0xFFFFFFFFull) return false;
    }
    const uint32_t pattern = negative ? uint32_t(0u - uint32_t(magnitude)) : uint32_t(magnitude);
    value = int32_t(pattern);
    return true;
  }
  const uint64_t limit = negative ? uint64_t(std::numeric_limits<int32_t>::max()) + 1
                                  : uint64_t(std::numeric_limits<int32_t>::max());
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + uint64_t(c - '0');
    if (magnitude > limit) return false;
  }
  value = negative ? int32_t(-int64_t(magnitude)) : int32_t(magnitude);
  return true;
}

}  // namespace tw
