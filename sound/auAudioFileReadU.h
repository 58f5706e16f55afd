// The audio file reader: turns an MP3 file into signed 16-bit PCM at the
// file's own rate and channel count, reports the format and the exact
// duration, hands the PCM out in blocks of the caller's size with the media
// times each block covers, seeks sample-accurately and can restrict reading
// to a section of the file. Decoding is libmpg123's; this class is the
// control around it and the translation of every failure into
// EAudioReadError. Times are 100-nanosecond units from the file's start.
// It holds no lock: its one user serialises every call.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/ErrorsU.h"

namespace tw {

// A failure of the audio reader, with the result code that caused it.
class EAudioReadError : public EError {
 public:
  EAudioReadError(const std::string& Message, int32_t ErrorCode)
      : EError(Message), ErrorCode(ErrorCode) {}
  int32_t ErrorCode;
};

// Result codes of the reader (unsigned 32-bit values, stored signed).
namespace AudioReadCode {
constexpr int32_t UpdatePending = 0x00040001;
constexpr int32_t NotUpdated = 0x00040002;
constexpr int32_t EndOfStream = 0x00040003;
constexpr int32_t InvalidBufferSize = 0x08000001;
constexpr int32_t NoInterface = int32_t(0x80004002u);
constexpr int32_t InvalidPointer = int32_t(0x80004003u);
constexpr int32_t Aborted = int32_t(0x80004004u);
constexpr int32_t NoAggregation = int32_t(0x80040110u);
constexpr int32_t ClassNotRegistered = int32_t(0x80040154u);
constexpr int32_t ObjectInUse = int32_t(0x80040401u);
constexpr int32_t InvalidPurpose = int32_t(0x80040402u);
constexpr int32_t NoStream = int32_t(0x80040403u);
constexpr int32_t NoSeeking = int32_t(0x80040404u);
constexpr int32_t IncompatibleFormats = int32_t(0x80040405u);
constexpr int32_t Busy = int32_t(0x80040406u);
constexpr int32_t NotInitialised = int32_t(0x80040407u);
constexpr int32_t SourceAlreadyDefined = int32_t(0x80040408u);
constexpr int32_t InvalidStreamType = int32_t(0x80040409u);
constexpr int32_t NotRunning = int32_t(0x8004040Au);
constexpr int32_t InvalidArgument = int32_t(0x80070057u);
// A file that cannot be opened: this base or'ed with the system's errno.
constexpr int32_t FileErrorBase = int32_t(0x80070000u);
// Any other decoder failure: this base or'ed with the decoder's own code.
constexpr int32_t DecoderErrorBase = int32_t(0x8A000000u);
}  // namespace AudioReadCode

// The message for a result code; Fallback is used for codes outside the
// reader's table (the decoder's or the system's own text), and when it is
// empty, "Unrecognized error value.".
std::string AudioReadMessage(int32_t Code, const std::string& Fallback = {});

// The PCM format of the decoded output, as a wave format record.
struct TAudioFormat {
  uint16_t FormatTag = 0;  // 1: integer PCM
  uint16_t Channels = 0;
  uint32_t SampleRate = 0;
  uint32_t AvgBytesPerSec = 0;
  uint16_t BlockAlign = 0;  // bytes per sample frame
  uint16_t BitsPerSample = 0;
  uint16_t ExtraSize = 0;
};

constexpr int64_t AudioTimeUnitsPerSecond = 10000000;

class TauAudioFileReader {
 public:
  // Opens FileName and prepares decoding; throws EAudioReadError when the
  // file is missing, unreadable or holds no decodable audio.
  explicit TauAudioFileReader(const std::string& FileName);
  ~TauAudioFileReader();
  TauAudioFileReader(const TauAudioFileReader&) = delete;
  TauAudioFileReader& operator=(const TauAudioFileReader&) = delete;

  // Decodes the next block into Buffer and returns the bytes written: whole
  // sample frames, 0 at the end of the file or of the section. Damage inside
  // the file is skipped, as the duration scan skipped it: what decodes
  // plays, so a file that opened never fails halfway.
  int64_t Read(void* Buffer, int64_t Size);
  // Moves the read position, clamped to the section and the duration.
  void Seek(int64_t Position);

  void SetStart(int64_t Value);
  void SetLength(int64_t Value);

  const TAudioFormat& Format() const { return FFormat; }
  const std::string& FileName() const { return FFileName; }
  int64_t Duration() const { return FDuration; }
  int64_t Position() const { return FPosition; }
  int64_t Start() const { return FStart; }
  int64_t Length() const { return FLength; }
  int64_t SampleStartTime() const { return FSampleStartTime; }
  int64_t SampleEndTime() const { return FSampleEndTime; }
  // The exact number of sample frames in the file, after gapless trimming.
  int64_t SampleCount() const { return FSampleCount; }

 private:
  int64_t TimeOfSample(int64_t Sample) const;
  // Whether the decoder's present output format is the one the file opened
  // with. Damage that happens to look like a frame of another rate or
  // channel count switches it until the file's own frames come back.
  bool HasOwnFormat() const;
  int64_t SampleAtTime(int64_t Time) const;

  struct TDecoder;
  std::unique_ptr<TDecoder> FDecoder;
  TAudioFormat FFormat;
  std::string FFileName;
  int64_t FDuration = 0;
  int64_t FPosition = 0;
  int64_t FStart = 0;
  int64_t FLength = 0;
  int64_t FSampleStartTime = 0;
  int64_t FSampleEndTime = 0;
  int64_t FSampleCount = 0;
  // The decoder's own read position in sample frames.
  int64_t FDecoderSample = 0;
  // The decoder is handing out frames of a format not the file's own.
  bool FForeignFormat = false;
};

}  // namespace tw
