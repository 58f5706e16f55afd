// What the command-line tools share about ending: the exit statuses and the
// error for a command line a tool cannot act on.
#pragma once

#include "base/ErrorsU.h"

namespace tw {

constexpr int ExitOk = 0;
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

// A command line the tool cannot act on: reported with a pointer to the help
// and the exit status ExitUsage.
class EUsage : public EError {
 public:
  using EError::EError;
};

}  // namespace tw
