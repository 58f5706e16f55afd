// TQCFileStream: a file stream that scrambles everything it writes and
// unscrambles everything it reads, the storage form of every picture file.
//
// A running one-byte State is XORed into each byte and then advanced from the
// byte as stored in the file, so a file written through one stream reads back
// through another however the reads and writes are split, and a reader that
// starts in the middle gets one wrong byte and then resynchronises. Readers
// of scrambled data therefore read strictly in order from the start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/ErrorsU.h"

namespace tw {

// A typed read ran into the end of the file: the file is shorter than its own
// layout says. The picture loader turns it into a "damaged file" report.
class EStreamEnd : public EError {
 public:
  using EError::EError;
};

enum class TFileMode {
  fmOpenRead,  // an existing file, read only
  fmCreate,    // a new or emptied file, read and write
};

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// The four scrambling constants. EVERY SHIPPED PICTURE FILE DEPENDS ON THESE
// VALUES: a file written with other values does not load, so they must never
// change. The modulus is prime and the multiplier co-prime to it, so
// NextState spreads the 256 stored byte values over 251 remainders.
constexpr uint8_t ScrambleInitialState = 0x5A;
constexpr uint8_t ScrambleMultiplier = 7;
constexpr uint8_t ScrambleModulus = 251;
constexpr uint8_t ScrambleAddend = 13;

class TQCFileStream {
 public:
  // Create(FileName, Mode, Scrambled). Throws EError naming the file when it
  // cannot be opened or created, when it is a folder, and for reading when
  // it is anything but a regular file (a pipe, a device, a socket), at once
  // rather than waiting on it.
  TQCFileStream(const std::string& fileName, TFileMode mode, bool scrambled);
  ~TQCFileStream();
  TQCFileStream(const TQCFileStream&) = delete;
  TQCFileStream& operator=(const TQCFileStream&) = delete;

  // Returns how many bytes the file delivered (0 at its end); when Scrambled
  // those bytes are unscrambled in place, in order, and State advances over
  // them only. Throws EError on a read error of the file system.
  size_t Read(void* buffer, size_t count);
  // Scrambles and writes the bytes one at a time; returns how many were
  // written. State advances over every byte handed in, also when its write
  // failed.
  size_t Write(const void* buffer, size_t count);

  // Plain file positioning; none of these touch State. Seek returns the new
  // position and throws EError when the position is impossible.
  int64_t Seek(int64_t offset, TSeekOrigin origin);
  int64_t Position() const;
  int64_t Size() const;

  // Typed reads through Read. All of them throw EStreamEnd when the file ends
  // before the value is complete.
  uint8_t ReadByte();
  int16_t ReadSmallInt();          // 2 bytes, little-endian, signed
  std::string ReadShortStr();      // 1-byte length, then the bytes
  std::string ReadLongStr();       // 2-byte little-endian length, then the bytes

  bool Scrambled() const { return FScrambled; }
  uint8_t State() const { return FState; }
  const std::string& FileName() const { return FFileName; }

  // The state that follows a byte as stored in the file.
  static uint8_t NextState(uint8_t stored);

 private:
  void ReadExactly(void* buffer, size_t count, const char* what);

  std::string FFileName;
  int FHandle = -1;
  bool FScrambled;
  uint8_t FState = ScrambleInitialState;
};

// The bytes a scrambled stream created with the initial state would store for
// plain, so a whole picture file can be built in memory and written at once.
std::vector<uint8_t> ScrambleBytes(const std::vector<uint8_t>& plain);

// The reverse of ScrambleBytes: what a scrambled stream reading the stored
// bytes from the start would deliver.
std::vector<uint8_t> UnscrambleBytes(const std::vector<uint8_t>& stored);

}  // namespace tw
