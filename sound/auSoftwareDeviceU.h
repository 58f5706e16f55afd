// The program's software sound device: the output device and its streaming
// ring buffers as the mixer sees them (see auSoundDeviceU.h), on top of the
// mixing engine. It checks every argument, keeps the settings the device
// only has to accept, and turns a lost or closed engine into BufferLost.
// Lock grants a caller-side copy of the ring that Unlock publishes to the
// mixer, so writing between the two needs no lock (see TSoundRing).
// CreateSoftwareSoundDevice, declared with the device interface, makes one.
#pragma once

#include "sound/auSoundDeviceU.h"

namespace tw {

// Makes a software sound device behave as if its output device had gone
// away: every existing buffer is lost from now on and the device plays on
// into the silent sink. Does nothing to any other kind of device.
void SimulateSoundDeviceLoss(TSoundDevice& Device);

// Mixes whole periods on a software sound device made with a Stepped sink
// choice until at least Frames frames of output went to its sink, in the
// calling thread; returns how many did. Nothing (0) for any other device.
uint32_t StepSoundDevice(TSoundDevice& Device, uint32_t Frames);

}  // namespace tw
