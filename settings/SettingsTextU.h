// Text rules shared by the settings store and the INI reader: trimming and
// the number forms the settings accept (the ASCII case folding they use is
// in base/TextCodingU.h).
#pragma once

#include <cstdint>
#include <string>

#include "base/TextCodingU.h"

namespace tw {

// Without leading and trailing blanks (spaces and tabs).
std::string TrimBlanks(const std::string& text);

// The integer form of the defaults file: optional leading blanks and sign,
// then decimal digits, or hexadecimal digits (either case) after "$", "x" or
// "0x". Decimal must fit a signed 32-bit integer. Hexadecimal writes a bit
// pattern, so up to FFFFFFFF is accepted and "$FFFFFFFF" is -1 (colours and
// masks are written that way); a sign negates that pattern. Anything else,
// trailing characters included, is not an integer.
bool TryParseSettingInteger(const std::string& text, int32_t& value);

}  // namespace tw
