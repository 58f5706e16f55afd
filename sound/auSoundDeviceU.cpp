// The sound device entry points: the device list, the sink choice for new
// devices, the device-creation pointer and the tick counter.
#include "sound/auSoundDeviceU.h"

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <strings.h>

#include "sound/auSoundSinkU.h"

namespace tw {

namespace {

std::mutex ChoiceMutex;
TSoundSinkChoice ChoiceOverride;

TSoundSinkChoice EnvironmentChoice() {
  TSoundSinkChoice Choice;
  const char* Value = std::getenv("TINTWELL_SOUND");
  if (!Value) return Choice;
  const std::string Text = Value;
  if (strcasecmp(Value, "alsa") == 0) {
    Choice.Kind = TSoundSinkChoice::Alsa;
  } else if (strcasecmp(Value, "silent") == 0) {
    Choice.Kind = TSoundSinkChoice::Silent;
  } else if (Text.size() > 8 && strncasecmp(Value, "capture:", 8) == 0) {
    Choice.Kind = TSoundSinkChoice::Capture;
    Choice.CaptureFile = Text.substr(8);
  }
  return Choice;
}

}  // namespace

std::vector<TSoundDeviceInfo> EnumerateSoundDevices() {
  std::vector<TSoundDeviceInfo> Devices{{"Default device", ""}};
  try {
    for (auto& Device : AlsaOutputDevices()) Devices.push_back(std::move(Device));
  } catch (const std::exception&) {
    // The list is a convenience; the default device is always there.
  }
  return Devices;
}

void SetSoundSink(const TSoundSinkChoice& Choice) {
  std::lock_guard Guard(ChoiceMutex);
  ChoiceOverride = Choice;
}

TSoundSinkChoice CurrentSoundSinkChoice() {
  {
    std::lock_guard Guard(ChoiceMutex);
    if (ChoiceOverride.Kind != TSoundSinkChoice::Auto) return ChoiceOverride;
  }
  return EnvironmentChoice();
}

TAudioFormat MakePcmFormat(uint32_t SampleRate, uint16_t Channels, uint16_t BitsPerSample) {
  TAudioFormat Format;
  Format.FormatTag = 1;
  Format.Channels = Channels;
  Format.SampleRate = SampleRate;
  Format.BitsPerSample = BitsPerSample;
  Format.BlockAlign = uint16_t(Channels * BitsPerSample / 8);
  Format.AvgBytesPerSec = SampleRate * Format.BlockAlign;
  return Format;
}

TSoundDeviceCreateFunc SoundDeviceCreate = &CreateSoftwareSoundDevice;

uint32_t SoundTickCount() {
  const auto Since = std::chrono::steady_clock::now().time_since_epoch();
  return uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(Since).count());
}

}  // namespace tw
