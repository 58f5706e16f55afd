// Texts from files made safe to print on a terminal: control characters in
// a picture's title or description would otherwise reach the terminal as
// commands (colours, cursor moves, a changed window title).
#pragma once

#include <string>

namespace tw {

// UTF-8 text with every control character written as an escape: C0 controls
// and DEL as \xHH (tab and carriage return as \t and \r), C1 controls, the
// line and paragraph separators and the bidirectional controls as \uHHHH,
// and the backslash itself doubled, so an escape in the output always stands
// for one character of the text. A line feed stays a line feed when
// keepLineFeeds is set. Bytes that are not valid UTF-8 come out as \xHH.
std::string EscapeControls(const std::string& text, bool keepLineFeeds);

}  // namespace tw
