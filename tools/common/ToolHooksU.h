// THookScope: for the length of one command of a command-line tool, points
// the picture loader's warning box at the error stream and gives its keyed
// failures plain-English texts (the program takes them from its language
// files), then puts back whatever was installed before.
#pragma once

#include <ostream>
#include <string>

#include "pictures/QUtilU.h"

namespace tw {

class THookScope {
 public:
  THookScope(std::ostream& err, std::string toolName);
  ~THookScope();
  THookScope(const THookScope&) = delete;
  THookScope& operator=(const THookScope&) = delete;

 private:
  TWarningFunc FSavedWarning;
  TTranslateFunc FSavedTranslate;
};

}  // namespace tw
