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
    {0x80004001u, "The function called is not supported at this time."},
    {0x80004002u, "The requested COM interface is not available."},
    {0x80004005u, "An undetermined error occurred inside the DirectSound subsystem."},
    {0x80040110u, "The object does not support aggregation."},
    {0x80070005u, "Access is denied."},
    {0x8007000Eu,
     "The DirectSound subsystem could not allocate sufficient memory to complete the "
     "caller\u00B4s request."},
    {0x80070057u, "An invalid parameter was passed to the returning function."},
    {0x8878000Au,
     "The request failed because resources, such as a priority level, were already in use "
     "by another caller."},
    {0x8878001Eu,
     "The control (volume, pan, and so forth) requested by the caller is not available."},
    {0x88780032u, "This function is not valid for the current state of this object."},
    {0x88780046u,
     "The caller does not have the priority level required for the function to succeed."},
    {0x88780064u, "The specified wave format is not supported."},
    {0x88780078u, "No sound driver is available for use."},
    {0x88780082u, "The object is already initialized."},
    {0x88780096u, "The buffer memory has been lost and must be restored."},
    {0x887800A0u,
     "Another application has a higher priority level, preventing this call from "
     "succeeding."},
    {0x887800AAu,
     "The IDirectSound::Initialize method has not been called or has not been called "
     "successfully before other methods were called."},
    {0x887800B4u,
     "Tried to create a DSBCAPS_CTRLFX buffer shorter than DSBSIZE_FX_MIN milliseconds."},
    {0x887800BEu, "Attempt to use DirectSound 8 functionality on an older DirectSound object."},
    {0x887800C8u, "A circular loop of send effects was detected."},
    {0x887800D2u, "The GUID specified in an audiopath file does not match a valid MIXIN buffer."},
    {0x887800DCu,
     "The effects requested could not be found on the system, or they were found but in the "
     "wrong order, or in the wrong hardware/software locations."},
    {0x88781161u,
     "The object requested was not found (numerically equal to DMUS_E_NOT_FOUND)."},
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
