// The program's general error: a failure with a message for the user, thrown
// where an operation cannot go on (unreadable file, unwritable folder,
// oversized picture) and shown once by whoever catches it.
#pragma once

#include <stdexcept>
#include <string>

namespace tw {

class EError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tw
