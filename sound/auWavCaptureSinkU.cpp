// The capture sink: writes the mixed output, in real time (or as fast as a
// stepped device mixes), to a 16-bit PCM WAV file, so tests can listen to
// what the device played. The header's
// sizes are brought up to date after every period, so the file is valid
// even while the device still runs, and once more when it closes.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "sound/auSoundSinkU.h"

namespace tw {

namespace {

void PutLE(uint8_t* At, uint32_t Value, int Bytes) {
  for (int i = 0; i < Bytes; ++i) At[i] = uint8_t(Value >> (8 * i));
}

class TWavCaptureSink : public TSoundSink {
 public:
  TWavCaptureSink(std::FILE* File, const TAudioFormat& Format, bool Paced)
      : FFile(File), FFormat(Format), FPeriod(std::max<uint32_t>(1, Format.SampleRate / 100)),
        FPaced(Paced), FClock(Format.SampleRate) {
    WriteHeader();
  }
  ~TWavCaptureSink() override {
    WriteHeader();
    std::fclose(FFile);
  }
  const TAudioFormat& Format() const override { return FFormat; }
  uint32_t PeriodFrames() const override { return FPeriod; }
  bool Write(const uint8_t* Data, uint32_t Frames) override {
    const size_t Samples = size_t(Frames) * FFormat.Channels;
    if (FFormat.BitsPerSample == 8) {
      // Widened exactly: 8-bit step k becomes 16-bit (k - 128) * 256.
      FWide.resize(Samples * 2);
      for (size_t i = 0; i < Samples; ++i) {
        const auto Value = uint16_t(int16_t((int(Data[i]) - 128) * 256));
        FWide[2 * i] = uint8_t(Value & 0xFF);
        FWide[2 * i + 1] = uint8_t(Value >> 8);
      }
      Data = FWide.data();
    }
    // A full disk loses the capture, never the program's sound.
    const size_t Bytes = Samples * 2;
    if (FDataBytes + Bytes < 0xFFFFFF00u && std::fwrite(Data, 1, Bytes, FFile) == Bytes) {
      FDataBytes += uint32_t(Bytes);
      WriteHeader();
    }
    if (FPaced) FClock.Wait(Frames);
    return true;
  }

 private:
  void WriteHeader() {
    uint8_t Header[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E',
                          'f', 'm', 't', ' ', 16, 0, 0, 0};
    const uint32_t Channels = FFormat.Channels;
    PutLE(Header + 4, 36 + FDataBytes, 4);
    PutLE(Header + 20, 1, 2);
    PutLE(Header + 22, Channels, 2);
    PutLE(Header + 24, FFormat.SampleRate, 4);
    PutLE(Header + 28, FFormat.SampleRate * Channels * 2, 4);
    PutLE(Header + 32, Channels * 2, 2);
    PutLE(Header + 34, 16, 2);
    Header[36] = 'd';
    Header[37] = 'a';
    Header[38] = 't';
    Header[39] = 'a';
    PutLE(Header + 40, FDataBytes, 4);
    std::fseek(FFile, 0, SEEK_SET);
    std::fwrite(Header, 1, sizeof Header, FFile);
    std::fseek(FFile, 0, SEEK_END);
    std::fflush(FFile);
  }

  std::FILE* FFile;
  TAudioFormat FFormat;
  uint32_t FPeriod;
  bool FPaced;
  TSinkClock FClock;
  uint32_t FDataBytes = 0;
  std::vector<uint8_t> FWide;
};

}  // namespace

std::unique_ptr<TSoundSink> OpenWavCaptureSink(const std::string& FileName,
                                               const TAudioFormat& Wanted, bool Paced) {
  std::FILE* File = std::fopen(FileName.c_str(), "wb");
  if (!File) return nullptr;
  return std::make_unique<TWavCaptureSink>(
      File, MakePcmFormat(Wanted.SampleRate, Wanted.Channels, Wanted.BitsPerSample), Paced);
}

}  // namespace tw
