#include "tools/common/TerminalTextU.h"

#include <cstdint>
#include <cstdio>

namespace tw {

namespace {

std::string Hex(const char* format, unsigned value) {
  char text[12];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Code points a terminal or a text layout acts on instead of showing.
bool IsInvisibleControl(uint32_t c) {
  return (c >= 0x80 && c <= 0x9F) || c == 0x2028 || c == 0x2029 || c == 0x200E ||
         c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// The length of the UTF-8 sequence at text[at] and its code point; 0 when
// the bytes there are not a well-formed sequence.
size_t DecodeUtf8(const std::string& text, size_t at, uint32_t& c) {
  const auto byte = [&](size_t i) { return uint8_t(text[i]); };
  const uint8_t lead = byte(at);
  size_t length = 0;
  uint32_t min = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, c = lead & 0x1F, min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, c = lead & 0x0F, min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (byte(at + i) & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::string EscapeControls(const std::string& text, bool keepLineFeeds) {
  std::string result;
  result.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const uint8_t byte = uint8_t(text[at]);
    if (byte < 0x80) {
      if (byte == '\n' && keepLineFeeds)
        result += '\n';
      else if (byte == '\\')
        result += "\\\\";
      else if (byte == '\t')
        result += "\\t";
      else if (byte == '\r')
        result += "\\r";
      else if (byte < 0x20 || byte == 0x7F)
        result += Hex("\\x%02X", byte);
      else
        result += char(byte);
      ++at;
      continue;
    }
    uint32_t c = 0;
    const size_t length = DecodeUtf8(text, at, c);
    if (length == 0) {
      result += Hex("\\x%02X", byte);
      ++at;
    } else if (IsInvisibleControl(c)) {
      result += Hex("\\u%04X", c);
      at += length;
    } else {
      result.append(text, at, length);
      at += length;
    }
  }
  return result;
}

}  // namespace tw
