// The device result codes' messages and the mixer's internal-error text.
#include "sound/auDirectXErrorU.h"

#include <cstdio>

namespace tw {

namespace {

struct TCodeMessage {
  uint32_t Code;
  const char* Message;
};

// The result codes keep the numbering the device layer answers with, so a
// message can be found for any code it reports.
constexpr TCodeMessage Messages[] = {
    {0x00000000u, "The request completed successfully."},
    {0x80004001u, "The sound output does not support this request."},
    {0x80004002u, "The sound output does not offer the part that was asked for."},
    {0x80004005u, "An unexpected error occurred in the sound output."},
    {0x80040110u, "The sound output cannot be shared this way."},
    {0x80070005u, "Access to the sound device was denied."},
    {0x8007000Eu, "There is not enough memory for the sound output."},
    {0x80070057u, "The sound output was given a value it cannot use."},
    {0x8878000Au, "The sound device is in use by another program."},
    {0x8878001Eu, "The sound output cannot change the volume or balance of this sound."},
    {0x88780032u, "The sound output cannot do this in its present state."},
    {0x88780046u, "The program may not use the sound device this way."},
    {0x88780064u, "The sound device does not play this sound format."},
    {0x88780078u, "No sound device was found (ALSA found no card to play on)."},
    {0x88780082u, "The sound output is already set up."},
    {0x88780096u, "The sound was interrupted and has to be started again."},
    {0x887800A0u, "Another program is using the sound device and keeps it from this one."},
    {0x887800AAu, "The sound output was used before it was set up."},
    {0x887800B4u, "The sound is too short for the effects asked for."},
    {0x887800BEu, "The sound output does not support this feature."},
    {0x887800C8u, "The sound effects would feed into each other in a loop."},
    {0x887800D2u, "The sound effects do not match the sound they were set up for."},
    {0x887800DCu, "The sound effects asked for are not available on this system."},
    {0x88781161u, "The sound output could not find what was asked for."},
};

constexpr const char* ModuleName = "auDSMixer";

}  // namespace

std::string DirectXErrorMessage(int32_t Code) {
  for (const TCodeMessage& Entry : Messages)
    if (Entry.Code == uint32_t(Code)) return Entry.Message;
  return "Unrecognized Error";
}

void CheckSoundResult(int32_t Code) {
  if (Code != 0) throw EDirectXError(DirectXErrorMessage(Code), Code);
}

std::string MixerInternalErrorText(const char* Message, int Line) {
  const int Size = std::snprintf(nullptr, 0, "%s (%s, line %d)", Message, ModuleName, Line);
  std::string Text(size_t(Size), '\0');
  std::snprintf(Text.data(), Text.size() + 1, "%s (%s, line %d)", Message, ModuleName, Line);
  return Text;
}

void MixerAssert(bool Condition, const char* Message, int Line) {
  if (!Condition) throw EError(MixerInternalErrorText(Message, Line));
}

}  // namespace tw
