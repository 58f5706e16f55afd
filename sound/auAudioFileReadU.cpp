// The audio file reader on libmpg123: opening with a forced 16-bit output
// format, exact length from gapless trimming, block reads with section cuts,
// sample-accurate seeking, and the mapping of the decoder's failures onto the
// reader's result codes.
#include "sound/auAudioFileReadU.h"

#include <fcntl.h>
#include <mpg123.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <system_error>

namespace tw {

namespace {

constexpr int64_t MinLength = 100000;              // 10 milliseconds
constexpr int64_t MaxLength = 1000000000000000LL;  // 10^15

struct TCodeMessage {
  int32_t Code;
  const char* Message;
};

constexpr TCodeMessage Messages[] = {
    {AudioReadCode::UpdatePending, "The sound file is still being read."},
    {AudioReadCode::NotUpdated, "No sound was read before reading was stopped."},
    {AudioReadCode::EndOfStream, "The end of the sound file was reached; nothing more was read."},
    {AudioReadCode::InvalidBufferSize, "The space given for the decoded sound has a wrong size."},
    {AudioReadCode::NoInterface, "The sound decoder does not offer this."},
    {AudioReadCode::InvalidPointer, "The sound decoder was given no place to write to."},
    {AudioReadCode::Aborted, "Reading the sound file was stopped."},
    {AudioReadCode::NoAggregation, "The sound decoder cannot be shared this way."},
    {AudioReadCode::ClassNotRegistered,
     "The MP3 decoder (libmpg123) is not installed or could not be started."},
    {AudioReadCode::ObjectInUse, "The sound file cannot be closed while its sound is in use."},
    {AudioReadCode::InvalidPurpose, "The sound file cannot be read for this purpose."},
    {AudioReadCode::NoStream, "The file holds no sound that can be played."},
    {AudioReadCode::NoSeeking, "The sound file cannot be played from a chosen position."},
    {AudioReadCode::IncompatibleFormats, "The sound's format cannot be played."},
    {AudioReadCode::Busy, "The sound file is already being read."},
    {AudioReadCode::NotInitialised, "The sound file was used before it was opened."},
    {AudioReadCode::SourceAlreadyDefined, "A sound file is already open."},
    {AudioReadCode::InvalidStreamType, "This kind of sound cannot be used here."},
    {AudioReadCode::NotRunning, "The sound file is not being played."},
    {AudioReadCode::InvalidArgument, "One of the values given to the sound decoder is invalid."},
};

[[noreturn]] void Fail(int32_t Code, const std::string& Fallback = {}) {
  throw EAudioReadError(AudioReadMessage(Code, Fallback), Code);
}

// Maps a libmpg123 error onto the reader's conditions: bad parameters, no
// decodable stream, or the decoder's own readable text for the rest.
[[noreturn]] void FailDecoder(int Error) {
  switch (Error) {
    case MPG123_BAD_PARAM:
    case MPG123_BAD_CHANNEL:
    case MPG123_BAD_RATE:
    case MPG123_BAD_WHENCE:
    case MPG123_NO_SEEK_FROM_END:
    case MPG123_NULL_POINTER:
      Fail(AudioReadCode::InvalidArgument);
    case MPG123_NEW_FORMAT:
      Fail(AudioReadCode::IncompatibleFormats);
    case MPG123_DONE:
      Fail(AudioReadCode::EndOfStream);
    case MPG123_NO_SEEK:
      Fail(AudioReadCode::NoSeeking);
    default:
      break;
  }
  const int32_t Code = AudioReadCode::DecoderErrorBase | (Error & 0xFFFF);
  Fail(Code, std::string("Audio decoding failed: ") + mpg123_plain_strerror(Error));
}

void InitLibrary() {
  static std::once_flag Once;
  static int Result = MPG123_OK;
  std::call_once(Once, [] { Result = mpg123_init(); });
  if (Result != MPG123_OK) FailDecoder(Result);
}

}  // namespace

std::string AudioReadMessage(int32_t Code, const std::string& Fallback) {
  for (const TCodeMessage& m : Messages)
    if (m.Code == Code) return m.Message;
  if (!Fallback.empty()) return Fallback.substr(0, 300);
  return "Unrecognized error value.";
}

// The decoder handle and the file it reads; both closed on destruction.
struct TauAudioFileReader::TDecoder {
  mpg123_handle* Handle = nullptr;
  int Fd = -1;
  bool Opened = false;
  ~TDecoder() {
    if (Handle) {
      if (Opened) mpg123_close(Handle);
      mpg123_delete(Handle);
    }
    if (Fd >= 0) ::close(Fd);
  }
  mpg123_handle* H() const { return Handle; }
};

TauAudioFileReader::TauAudioFileReader(const std::string& FileName)
    : FDecoder(std::make_unique<TDecoder>()) {
  InitLibrary();
  int Error = MPG123_OK;
  FDecoder->Handle = mpg123_new(nullptr, &Error);
  if (!FDecoder->Handle) FailDecoder(Error);
  mpg123_handle* h = FDecoder->H();

  // Gapless trimming makes the length exact and lets a loop run without a
  // gap; quiet keeps the decoder's complaints off stderr.
  if ((Error = mpg123_param(h, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0)) !=
      MPG123_OK)
    FailDecoder(Error);
  // Damage in the middle of a file is skipped however long it is, by the
  // length scan and by playing alike: with the decoder's default limit the
  // scan stopped at the damage, reported the part before it as the whole
  // duration, and the next read failed there.
  if ((Error = mpg123_param(h, MPG123_RESYNC_LIMIT, -1, 0)) != MPG123_OK) FailDecoder(Error);
  // Only signed 16-bit output, at any rate with either channel count: the
  // decoder then keeps the file's own rate and channel count.
  if ((Error = mpg123_format_none(h)) != MPG123_OK) FailDecoder(Error);
  const long* Rates = nullptr;
  size_t RateCount = 0;
  mpg123_rates(&Rates, &RateCount);
  for (size_t i = 0; i < RateCount; ++i)
    if ((Error = mpg123_format(h, Rates[i], MPG123_MONO | MPG123_STEREO,
                               MPG123_ENC_SIGNED_16)) != MPG123_OK)
      FailDecoder(Error);

  FDecoder->Fd = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (FDecoder->Fd < 0) {
    const int e = errno;
    Fail(AudioReadCode::FileErrorBase | (e & 0xFFFF),
         "Cannot open the audio file: " + std::generic_category().message(e) + ".");
  }
  if (mpg123_open_fd(h, FDecoder->Fd) != MPG123_OK) FailDecoder(mpg123_errcode(h));
  FDecoder->Opened = true;

  // Parsing the first frame tells whether this is audio at all; a file with
  // no decodable frame has no stream.
  long Rate = 0;
  int Channels = 0, Encoding = 0;
  Error = mpg123_getformat(h, &Rate, &Channels, &Encoding);
  if (Error != MPG123_OK) {
    const int e = mpg123_errcode(h);
    if (Error == MPG123_DONE || e == MPG123_OK || e == MPG123_ERR_READER ||
        e == MPG123_RESYNC_FAIL || e == MPG123_OUT_OF_SYNC || e == MPG123_NEED_MORE)
      Fail(AudioReadCode::NoStream);
    FailDecoder(e);
  }
  if (Encoding != MPG123_ENC_SIGNED_16 || Rate <= 0 || (Channels != 1 && Channels != 2))
    Fail(AudioReadCode::IncompatibleFormats);

  // A full scan gives the exact sample count also for files without a
  // gapless header, and builds the index for sample-accurate seeking.
  if ((Error = mpg123_scan(h)) != MPG123_OK) FailDecoder(mpg123_errcode(h));
  const off_t Samples = mpg123_length(h);
  if (Samples < 0) FailDecoder(mpg123_errcode(h));

  FFormat.FormatTag = 1;
  FFormat.Channels = uint16_t(Channels);
  FFormat.SampleRate = uint32_t(Rate);
  FFormat.BitsPerSample = 16;
  FFormat.BlockAlign = uint16_t(Channels * 2);
  FFormat.AvgBytesPerSec = FFormat.SampleRate * FFormat.BlockAlign;
  FFormat.ExtraSize = 0;
  FSampleCount = Samples;
  FDuration = TimeOfSample(FSampleCount);
  FFileName = FileName;
  FLength = 0;
}

TauAudioFileReader::~TauAudioFileReader() = default;

int64_t TauAudioFileReader::TimeOfSample(int64_t Sample) const {
  return int64_t(__int128(Sample) * AudioTimeUnitsPerSecond / FFormat.SampleRate);
}

// The first sample that starts at or after Time: rounding up makes a time
// from TimeOfSample lead back to its own sample.
int64_t TauAudioFileReader::SampleAtTime(int64_t Time) const {
  const __int128 Scaled = __int128(Time) * FFormat.SampleRate;
  return int64_t((Scaled + AudioTimeUnitsPerSecond - 1) / AudioTimeUnitsPerSecond);
}

int64_t TauAudioFileReader::Read(void* Buffer, int64_t Size) {
  if (Size <= 0) Fail(AudioReadCode::InvalidBufferSize);
  if (!Buffer) Fail(AudioReadCode::InvalidPointer);
  if (FLength != 0 && FPosition >= FStart + FLength) return 0;
  // Only whole sample frames are handed out, so a block never splits one.
  const int64_t Wanted = Size - Size % FFormat.BlockAlign;
  if (Wanted == 0) Fail(AudioReadCode::InvalidBufferSize);

  // The block is filled whole unless the file ends: a short block means its
  // end to the caller.
  auto* Bytes = static_cast<unsigned char*>(Buffer);
  size_t Done = 0;
  int Error = MPG123_OK;
  while (Done < size_t(Wanted)) {
    size_t Got = 0;
    Error = mpg123_read(FDecoder->H(), Bytes + Done, size_t(Wanted) - Done, &Got);
    // The data that comes with a format change is still in the format
    // before it; a stretch in a foreign format is dropped.
    const bool Dropped = FForeignFormat;
    const bool Changed = Error == MPG123_NEW_FORMAT;
    if (Changed) {
      FForeignFormat = !HasOwnFormat();
      Error = MPG123_OK;
    }
    if (!Dropped) Done += Got;
    if (Error != MPG123_OK || (Got == 0 && !Changed)) break;
  }
  if (Done == 0 && Error == MPG123_DONE) return 0;
  if (Error != MPG123_OK && Error != MPG123_DONE)
    FailDecoder(Error == MPG123_ERR ? mpg123_errcode(FDecoder->H()) : Error);
  int64_t n = int64_t(Done) - int64_t(Done) % FFormat.BlockAlign;
  if (n == 0) return 0;

  const int64_t FirstSample = FDecoderSample;
  FDecoderSample += n / FFormat.BlockAlign;
  FSampleStartTime = TimeOfSample(FirstSample);
  FSampleEndTime = TimeOfSample(FDecoderSample);
  if (FSampleStartTime > FSampleEndTime) FSampleStartTime = FSampleEndTime;

  const int64_t SectionEnd = FStart + FLength;
  if (FLength != 0 && FSampleEndTime > FSampleStartTime && SectionEnd < FSampleEndTime) {
    // The block crosses the section end: keep the part before it, in whole
    // sample frames.
    const int64_t Kept = int64_t(double((SectionEnd - FSampleStartTime) * n) /
                                 double(FSampleEndTime - FSampleStartTime));
    n = Kept < 0 ? 0 : Kept - Kept % FFormat.BlockAlign;
    FSampleEndTime = SectionEnd;
  }
  FPosition = FSampleEndTime;
  return n;
}

bool TauAudioFileReader::HasOwnFormat() const {
  long Rate = 0;
  int Channels = 0, Encoding = 0;
  return mpg123_getformat(FDecoder->H(), &Rate, &Channels, &Encoding) == MPG123_OK &&
         uint32_t(Rate) == FFormat.SampleRate && Channels == FFormat.Channels &&
         Encoding == MPG123_ENC_SIGNED_16;
}

void TauAudioFileReader::Seek(int64_t Position) {
  if (Position == FPosition) return;
  if (Position < FStart)
    Position = FStart;
  else if (Position > FDuration)
    Position = FDuration;
  else if (FLength != 0 && Position > FStart + FLength)
    Position = FStart + FLength;

  int64_t Sample = SampleAtTime(Position);
  if (Sample > FSampleCount) Sample = FSampleCount;
  const off_t Reached = mpg123_seek(FDecoder->H(), off_t(Sample), SEEK_SET);
  if (Reached < 0) FailDecoder(mpg123_errcode(FDecoder->H()));
  FDecoderSample = Reached;
  FPosition = Position;
  FForeignFormat = !HasOwnFormat();
}

void TauAudioFileReader::SetStart(int64_t Value) {
  if (Value == FStart) return;
  if (Value < 0) Value = 0;
  if (FPosition < Value) Seek(Value);
  FStart = Value;
}

void TauAudioFileReader::SetLength(int64_t Value) {
  if (Value == FLength) return;
  if (Value != 0 && Value < MinLength)
    Value = MinLength;
  else if (Value > MaxLength)
    Value = MaxLength;
  if (FStart + Value < FPosition) Seek(FStart);
  FLength = Value;
}

}  // namespace tw
