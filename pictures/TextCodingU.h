// The text encodings picture files hold: UTF-8 in files written by the
// authoring tool, Windows-1252 in older single-byte files.
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

}  // namespace tw
