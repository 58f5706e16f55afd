// The sound mixer's error types: EDirectXError, raised when a sound device
// operation answers a result code other than 0, with the table that turns
// such codes into messages; and the mixer's internal (assertion) errors,
// whose text names the message, the module and the source line.
#pragma once

#include <cstdint>
#include <string>

#include "base/ErrorsU.h"

namespace tw {

class EDirectXError : public EError {
 public:
  EDirectXError(const std::string& Message, int32_t ErrorCode)
      : EError(Message), ErrorCode(ErrorCode) {}
  // The result code of the device operation that failed; 0 where none applies.
  int32_t ErrorCode;
};

// The message for a device result code; "Unrecognized Error" for codes
// outside the table.
std::string DirectXErrorMessage(int32_t Code);

// Raises EDirectXError for any code other than 0.
void CheckSoundResult(int32_t Code);

// The text of an internal error: "<message> (auDSMixer, line <line>)".
std::string MixerInternalErrorText(const char* Message, int Line);

// Raises the internal error Message, naming the caller's line, unless
// Condition holds. These are assertion failures: they mean the mixer's own
// bookkeeping went wrong, not that the caller or a file did. The line comes
// from the compiler's built-in (GCC and clang evaluate it at the call), as
// clang 14, which builds the fuzzers, lacks std::source_location.
void MixerAssert(bool Condition, const char* Message, int Line = __builtin_LINE());

}  // namespace tw
