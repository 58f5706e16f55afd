#include "pictures/QCFileStreamU.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tw {

namespace {

std::string SystemError() { return std::strerror(errno); }

}  // namespace

TQCFileStream::TQCFileStream(const std::string& fileName, TFileMode mode, bool scrambled)
    : FFileName(fileName), FScrambled(scrambled) {
  const bool reading = mode == TFileMode::fmOpenRead;
  // Opening a named pipe for reading waits for a writer; without blocking
  // it returns at once and is refused below with everything else that is
  // not a regular file.
  const int flags = reading ? O_RDONLY | O_NONBLOCK : O_RDWR | O_CREAT | O_TRUNC;
  do {
    FHandle = ::open(fileName.c_str(), flags | O_CLOEXEC, 0666);
  } while (FHandle < 0 && errno == EINTR);
  if (FHandle < 0) {
    const char* verb = reading ? "open" : "create";
    throw EError("Cannot " + std::string(verb) + " file \"" + fileName + "\": " + SystemError());
  }
  struct stat info {};
  const bool known = ::fstat(FHandle, &info) == 0;
  const char* refusal = nullptr;
  if (known && S_ISDIR(info.st_mode))
    refusal = "it is a folder";
  else if (reading && (!known || !S_ISREG(info.st_mode)))
    refusal = "it is not a regular file";
  if (refusal != nullptr) {
    ::close(FHandle);
    FHandle = -1;
    throw EError("Cannot open file \"" + fileName + "\": " + refusal);
  }
  if (reading) ::fcntl(FHandle, F_SETFL, ::fcntl(FHandle, F_GETFL) & ~O_NONBLOCK);
}

TQCFileStream::~TQCFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

uint8_t TQCFileStream::NextState(uint8_t stored) {
  const unsigned product = unsigned(stored) * ScrambleMultiplier;
  return uint8_t(product % ScrambleModulus + ScrambleAddend);
}

size_t TQCFileStream::Read(void* buffer, size_t count) {
  auto* bytes = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < count) {
    const ssize_t got = ::read(FHandle, bytes + done, count - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw EError("Cannot read file \"" + FFileName + "\": " + SystemError());
    }
    if (got == 0) break;
    done += size_t(got);
  }
  if (FScrambled) {
    for (size_t i = 0; i < done; ++i) {
      const uint8_t stored = bytes[i];
      bytes[i] = stored ^ FState;
      FState = NextState(stored);
    }
  }
  return done;
}

size_t TQCFileStream::Write(const void* buffer, size_t count) {
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  if (!FScrambled) {
    size_t done = 0;
    while (done < count) {
      const ssize_t put = ::write(FHandle, bytes + done, count - done);
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) break;
      done += size_t(put);
    }
    return done;
  }
  // One write per byte keeps the state advancing over every byte handed in,
  // whatever the file system accepts; picture files are written once, by the
  // authoring tool, so the cost does not matter.
  size_t done = 0;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t stored = bytes[i] ^ FState;
    FState = NextState(stored);
    ssize_t put;
    do {
      put = ::write(FHandle, &stored, 1);
    } while (put < 0 && errno == EINTR);
    if (put > 0) done += size_t(put);
  }
  return done;
}

int64_t TQCFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET
                     : origin == TSeekOrigin::soCurrent ? SEEK_CUR
                                                        : SEEK_END;
  const off_t result = ::lseek(FHandle, off_t(offset), whence);
  if (result < 0) throw EError("Cannot seek in file \"" + FFileName + "\": " + SystemError());
  return int64_t(result);
}

int64_t TQCFileStream::Position() const {
  const off_t result = ::lseek(FHandle, 0, SEEK_CUR);
  if (result < 0) throw EError("Cannot seek in file \"" + FFileName + "\": " + SystemError());
  return int64_t(result);
}

int64_t TQCFileStream::Size() const {
  struct stat info {};
  if (::fstat(FHandle, &info) != 0)
    throw EError("Cannot read the size of file \"" + FFileName + "\": " + SystemError());
  return int64_t(info.st_size);
}

void TQCFileStream::ReadExactly(void* buffer, size_t count, const char* what) {
  if (Read(buffer, count) != count)
    throw EStreamEnd("File \"" + FFileName + "\" ends inside " + what);
}

uint8_t TQCFileStream::ReadByte() {
  uint8_t value = 0;
  ReadExactly(&value, 1, "a byte value");
  return value;
}

int16_t TQCFileStream::ReadSmallInt() {
  uint8_t bytes[2] = {};
  ReadExactly(bytes, 2, "a 16-bit value");
  return int16_t(uint16_t(bytes[0] | bytes[1] << 8));
}

std::string TQCFileStream::ReadShortStr() {
  const size_t length = ReadByte();
  std::string text(length, '\0');
  if (length > 0) ReadExactly(text.data(), length, "a text");
  return text;
}

std::string TQCFileStream::ReadLongStr() {
  uint8_t bytes[2] = {};
  ReadExactly(bytes, 2, "a text length");
  const size_t length = size_t(bytes[0] | bytes[1] << 8);
  std::string text(length, '\0');
  if (length > 0) ReadExactly(text.data(), length, "a text");
  return text;
}

std::vector<uint8_t> ScrambleBytes(const std::vector<uint8_t>& plain) {
  std::vector<uint8_t> stored(plain.size());
  uint8_t state = ScrambleInitialState;
  for (size_t i = 0; i < plain.size(); ++i) {
    stored[i] = plain[i] ^ state;
    state = TQCFileStream::NextState(stored[i]);
  }
  return stored;
}

std::vector<uint8_t> UnscrambleBytes(const std::vector<uint8_t>& stored) {
  std::vector<uint8_t> plain(stored.size());
  uint8_t state = ScrambleInitialState;
  for (size_t i = 0; i < stored.size(); ++i) {
    plain[i] = stored[i] ^ state;
    state = TQCFileStream::NextState(stored[i]);
  }
  return plain;
}

}  // namespace tw
