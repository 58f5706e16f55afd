// Text helpers shared by the core: the encodings picture and language files
// hold (UTF-8, or Windows-1252 in older single-byte files), and the ASCII
// case folding every name the program compares uses (key names, language
// codes, file extensions are ASCII; other letters compare as written).
#pragma once

#include <string>

namespace tw {

// Whether bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsValidUtf8(const std::string& bytes);

// Windows-1252 bytes as UTF-8. The five bytes the code page leaves undefined
// map to the control characters of the same number, so nothing is lost.
std::string Windows1252ToUtf8(const std::string& bytes);

// The bytes as they are when they are valid UTF-8, else read as Windows-1252.
std::string PictureTextToUtf8(const std::string& bytes);

std::string LowerAsciiText(const std::string& text);
bool SameTextAscii(const std::string& a, const std::string& b);
bool EndsWithNoCase(const std::string& text, const std::string& suffix);

}  // namespace tw
