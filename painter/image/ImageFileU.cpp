// Recognising a picture file by its content, dispatching it to the decoder
// of its format, and reading it from disk with messages that name the file.
#include "painter/image/ImageFileU.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "base/ErrorsU.h"
#include "painter/image/ImageCodecsU.h"

namespace tw {

namespace {

// No valid picture of the accepted sizes comes near this (a 100-megapixel
// 32-bit BMP is 400 MB); anything larger is refused before it is read.
constexpr int64_t MaxPictureFileBytes = int64_t(1) << 30;

// Data in memory has no name of its own; whoever read it may add one.
constexpr const char* DataSubject = "The data";

bool StartsWith(const uint8_t* data, size_t size, const char* magic, size_t magicSize) {
  return size >= magicSize && std::memcmp(data, magic, magicSize) == 0;
}

std::string Quoted(const std::string& fileName) { return "\"" + fileName + "\""; }

std::string FileSubject(const std::string& fileName) { return "The file " + Quoted(fileName); }

// Closes the descriptor on every way out of ReadImageFile.
struct TFdCloser {
  int Fd;
  ~TFdCloser() {
    if (Fd >= 0) close(Fd);
  }
};

}  // namespace

void ThrowDamaged(const std::string& subject, const std::string& detail) {
  throw EError(subject + " is damaged (" + detail + ").");
}

void ThrowUnsupported(const std::string& subject, const std::string& detail) {
  throw EError(subject + " is not a picture file this program can read (" + detail + ").");
}

void CheckDeclaredSize(const std::string& subject, int64_t width, int64_t height) {
  if (width <= 0 || height <= 0)
    ThrowDamaged(subject, "it declares a picture of " + std::to_string(width) + " x " +
                              std::to_string(height) + " pixels");
  // The same limits as CheckPictureSize, which the raster constructors apply
  // again; here the message can name the file.
  if (width > MaxPictureSide || height > MaxPictureSide || width * height > MaxPicturePixels)
    throw EError(subject + " holds a picture of " + std::to_string(width) + " x " +
                 std::to_string(height) + " pixels, larger than this program can open (at most " +
                 std::to_string(MaxPictureSide) + " pixels on a side and " +
                 std::to_string(MaxPicturePixels / 1'000'000) + " megapixels).");
}

TImageFormat SniffImageFormat(const uint8_t* data, size_t size) {
  if (data == nullptr) return TImageFormat::Unknown;
  if (StartsWith(data, size, "GIF87a", 6) || StartsWith(data, size, "GIF89a", 6))
    return TImageFormat::Gif;
  if (StartsWith(data, size, "\x89PNG\r\n\x1a\n", 8)) return TImageFormat::Png;
  if (StartsWith(data, size, "\xFF\xD8\xFF", 3)) return TImageFormat::Jpeg;
  if (StartsWith(data, size, "BM", 2)) return TImageFormat::Bmp;
  return TImageFormat::Unknown;
}

TRaster24 DecodeImageData(const uint8_t* data, size_t size, const std::string& subject) {
  if (data == nullptr || size == 0) throw EError(subject + " is empty.");
  switch (SniffImageFormat(data, size)) {
    case TImageFormat::Bmp:
      return DecodeBmpData(data, size, subject);
    case TImageFormat::Gif: {
      size_t pos = 0;
      const TReadFunc fromMemory = [&](uint8_t* buffer, size_t count) {
        const size_t n = std::min(count, size - pos);
        std::memcpy(buffer, data + pos, n);
        pos += n;
        return n;
      };
      return DecodeGifStream(fromMemory, subject);
    }
    case TImageFormat::Jpeg:
      return DecodeJpegData(data, size, subject);
    case TImageFormat::Png:
      return DecodePngData(data, size, subject);
    case TImageFormat::Unknown:
      break;
  }
  throw EError(subject + " is not a picture file this program can read.");
}

TRaster24 DecodeImage(const uint8_t* data, size_t size) {
  return DecodeImageData(data, size, DataSubject);
}

TRaster24 DecodeGif(const TReadFunc& read) { return DecodeGifStream(read, DataSubject); }

TRaster24 DecodeGif(const TReadFunc& read, const std::string& fileName) {
  return DecodeGifStream(read, FileSubject(fileName));
}

TRaster24 ReadImageFile(const std::string& fileName) {
  if (fileName.empty()) throw EError("No picture file name was given.");
  const std::string subject = FileSubject(fileName);
  // Without blocking, opening a named pipe returns at once instead of
  // waiting for a writer; it is refused below as not a regular file.
  TFdCloser file{open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  if (file.Fd < 0) {
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR) throw EError(subject + " does not exist.");
    throw EError(subject + " cannot be read (" + std::strerror(error) + ").");
  }
  struct stat info {};
  if (fstat(file.Fd, &info) != 0)
    throw EError(subject + " cannot be read (" + std::strerror(errno) + ").");
  if (S_ISDIR(info.st_mode)) throw EError(Quoted(fileName) + " is a folder, not a picture file.");
  if (!S_ISREG(info.st_mode)) throw EError(subject + " is not a regular file.");
  fcntl(file.Fd, F_SETFL, fcntl(file.Fd, F_GETFL) & ~O_NONBLOCK);
  if (info.st_size > MaxPictureFileBytes)
    throw EError(subject + " is too large to be a picture this program can open.");

  const size_t expected = size_t(info.st_size);
  std::unique_ptr<uint8_t[]> bytes(new uint8_t[expected ? expected : 1]);
  size_t got = 0;
  while (got < expected) {
    const ssize_t n = read(file.Fd, bytes.get() + got, expected - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EError(subject + " cannot be read (" + std::strerror(errno) + ").");
    }
    if (n == 0) break;
    got += size_t(n);
  }
  return DecodeImageData(bytes.get(), got, subject);
}

}  // namespace tw
