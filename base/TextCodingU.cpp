#include "base/TextCodingU.h"

#include <cstdint>

namespace tw {

namespace {

// Code points of Windows-1252 bytes 0x80 to 0x9F; 0 marks the five undefined
// bytes, which keep their own value.
constexpr uint16_t Cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | cp >> 6);
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xE0 | cp >> 12);
    out += char(0x80 | (cp >> 6 & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

}  // namespace

bool IsValidUtf8(const std::string& bytes) {
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    const uint8_t b = uint8_t(bytes[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    size_t extra;
    uint32_t cp;
    if (b >= 0xC2 && b <= 0xDF) {
      extra = 1;
      cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2;
      cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3;
      cp = b & 0x07;
    } else {
      return false;
    }
    if (n - i - 1 < extra) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const uint8_t c = uint8_t(bytes[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = cp << 6 | (c & 0x3F);
    }
    const bool overlong = (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

std::string Windows1252ToUtf8(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char ch : bytes) {
    const uint8_t b = uint8_t(ch);
    uint32_t cp = b;
    if (b >= 0x80 && b <= 0x9F && Cp1252High[b - 0x80] != 0) cp = Cp1252High[b - 0x80];
    AppendUtf8(out, cp);
  }
  return out;
}

std::string PictureTextToUtf8(const std::string& bytes) {
  return IsValidUtf8(bytes) ? bytes : Windows1252ToUtf8(bytes);
}

namespace {

char LowerAsciiChar(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

}  // namespace

std::string LowerAsciiText(const std::string& text) {
  std::string out = text;
  for (char& c : out) c = LowerAsciiChar(c);
  return out;
}

bool SameTextAscii(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAsciiChar(a[i]) != LowerAsciiChar(b[i])) return false;
  return true;
}

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         SameTextAscii(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace tw
