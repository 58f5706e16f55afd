// The mixer: the device's opening and closing, the output settings and the
// channel list; and the module's device list.
#include "sound/auDSMixerU.h"

#include <algorithm>
#include <utility>

namespace tw {

namespace {

struct TDeviceList {
  std::vector<std::string> Descriptions;
  std::vector<std::string> Ids;
};

const TDeviceList& DeviceList() {
  static const TDeviceList List = [] {
    TDeviceList Result;
    for (const TSoundDeviceInfo& Info : EnumerateSoundDevices()) {
      Result.Descriptions.push_back(Info.Description);
      Result.Ids.push_back(Info.Id);
    }
    return Result;
  }();
  return List;
}

}  // namespace

uint8_t PcmSilenceByte(uint32_t BitsPerSample) { return BitsPerSample == 8 ? 128 : 0; }

const std::vector<std::string>& SoundDeviceDescriptions() { return DeviceList().Descriptions; }
const std::vector<std::string>& SoundDeviceIds() { return DeviceList().Ids; }

TauDSMixer::~TauDSMixer() {
  try {
    Close();
  } catch (...) {
    // Going away regardless: a device that will not stop cleanly is let go.
  }
  std::vector<std::unique_ptr<TauDSMixerChannel>> Doomed;
  Doomed.swap(FChannels);
  for (std::unique_ptr<TauDSMixerChannel>& Channel : Doomed) Channel.reset();
}

void TauDSMixer::Open() {
  if (FDevice) return;
  if (!SoundDeviceCreate) throw EDirectXError("No sound output was set up for the program.", 0);
  const std::vector<std::string>& Ids = SoundDeviceIds();
  const std::string Id = FDeviceIndex < Ids.size() ? Ids[FDeviceIndex] : std::string();

  // The device is kept only once every step succeeded, so a failed opening
  // leaves the mixer closed and the next use tries again.
  std::unique_ptr<TSoundDevice> Device;
  CheckSoundResult(SoundDeviceCreate(Id, &Device));
  if (!Device) CheckSoundResult(SoundResult::Generic);
  const int LevelCode = FLevel == lNormal     ? SoundLevelNormal
                        : FLevel == lPriority ? SoundLevelPriority
                                              : SoundLevelExclusive;
  CheckSoundResult(Device->SetCooperativeLevel(LevelCode));
  CheckSoundResult(Device->CreatePrimaryOutput());
  // Only a program with priority may set the primary format; at the normal
  // level the device keeps its own and the settings keep their values.
  if (FLevel != lNormal) {
    TAudioFormat Format;
    CheckSoundResult(Device->GetPrimaryFormat(&Format));
    Format.Channels = FStereo ? 2 : 1;
    Format.BitsPerSample = uint16_t(8 << int(FBitsPerSample));
    Format.SampleRate = uint32_t(FFrequency);
    Format.BlockAlign = uint16_t(Format.BitsPerSample * Format.Channels / 8);
    Format.AvgBytesPerSec = Format.BlockAlign * Format.SampleRate;
    CheckSoundResult(Device->SetPrimaryFormat(Format));
    CheckSoundResult(Device->GetPrimaryFormat(&Format));
    FStereo = Format.Channels == 2;
    FBitsPerSample = Format.BitsPerSample >= 16 ? bs16Bit : bs8Bit;
    FFrequency = int32_t(Format.SampleRate);
  }
  CheckSoundResult(Device->SetSpeakerConfig(FSpeakerConfig));
  CheckSoundResult(Device->PlayPrimaryLooping());
  FDevice = std::move(Device);
}

void TauDSMixer::Close() {
  for (std::unique_ptr<TauDSMixerChannel>& Channel : FChannels) Channel->CloseBufferLocked();
  FDevice.reset();
}

TSoundDevice& TauDSMixer::GetDevice() {
  Open();
  return *FDevice;
}

void TauDSMixer::SetFrequency(int32_t Value) { FFrequency = std::clamp(Value, 100, 100000); }

void TauDSMixer::SetSpeakerConfig(uint32_t Value) {
  FSpeakerConfig = Value;
  if (FDevice) CheckSoundResult(FDevice->SetSpeakerConfig(Value));
}

void TauDSMixer::RemoveChannel(TauDSMixerChannel& Channel) {
  const auto Found =
      std::find_if(FChannels.begin(), FChannels.end(),
                   [&Channel](const std::unique_ptr<TauDSMixerChannel>& Item) {
                     return Item.get() == &Channel;
                   });
  if (Found == FChannels.end()) return;
  std::unique_ptr<TauDSMixerChannel> Doomed = std::move(*Found);
  FChannels.erase(Found);
}

}  // namespace tw
