// The tool's conversation with the parent: where output and messages go and
// how answers are read, with the typed text hidden when the answer is a
// password and the input is a terminal.
#pragma once

#include <istream>
#include <ostream>
#include <string>

namespace tw {

struct TConsole {
  std::istream& In;
  std::ostream& Out;
  std::ostream& Err;
  // Whether In is the terminal on file descriptor 0, so echo can be turned
  // off there for secrets. Tests pipe text through a string stream and leave
  // it false.
  bool InIsTerminal = false;
};

// Shows prompt on Err, then reads one line from In without its line end.
// With secret and a terminal, the typed characters are not echoed (the echo
// comes back afterwards, also when the tool is interrupted). False at the
// end of the input.
bool ReadAnswer(TConsole& console, const std::string& prompt, bool secret, std::string& answer);

}  // namespace tw
