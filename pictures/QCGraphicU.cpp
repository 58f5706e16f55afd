#include "pictures/QCGraphicU.h"

#include <cstring>
#include <filesystem>

#include "base/ErrorsU.h"
#include "painter/image/ImageFileU.h"
#include "pictures/QCFileStreamU.h"
#include "pictures/QFoldersU.h"
#include "pictures/QUtilU.h"
#include "base/TextCodingU.h"

namespace tw {

namespace {

bool HasPictureExtension(const std::string& path) {
  return EndsWithNoCase(path, PictureFileExtension);
}

TPictureEntry ReadEntry(TQCFileStream& stream, bool withLanguage) {
  TPictureEntry entry;
  if (withLanguage) entry.Language = PictureTextToUtf8(stream.ReadShortStr());
  entry.Title = PictureTextToUtf8(stream.ReadShortStr());
  entry.Author = PictureTextToUtf8(stream.ReadShortStr());
  entry.Description = PictureTextToUtf8(stream.ReadLongStr());
  return entry;
}

}  // namespace

TQCGraphic::TQCGraphic() { Clear(); }

void TQCGraphic::Clear() {
  FFileName.clear();
  FVersion = CurrentPictureVersion;
  FEntries.clear();
  FImage = TRaster24();
}

void TQCGraphic::LoadFromFile(const std::string& fileName) {
  FFileName.clear();
  const std::string path = NativePath(fileName);
  if (!HasPictureExtension(path)) ShowAbortKey("errOpenBadExt", {path});
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (error || !std::filesystem::exists(status) || std::filesystem::is_directory(status))
    ShowAbortKey("errOpenNoExist", {path});
  // A pipe or a device would never end, or never start; the stream refuses
  // them too, should the name change hands between here and the opening.
  if (!std::filesystem::is_regular_file(status)) ShowAbortKey("errOpenNotFile", {path});

  TQCFileStream stream(path, TFileMode::fmOpenRead, true);
  char magic[4] = {};
  if (stream.Read(magic, 4) != 4 || std::memcmp(magic, PictureFileMagic, 4) != 0)
    ShowAbortKey("errCorrupt", {path});

  // A file that ends inside the header, an entry or the stored size is
  // damaged: its texts are never half-read, the entries are left empty.
  try {
    FVersion = stream.ReadByte();
    const size_t count = FVersion >= 3 ? stream.ReadByte() : 1;
    FEntries.clear();
    std::vector<TPictureEntry> entries;
    for (size_t i = 0; i < count; ++i) entries.push_back(ReadEntry(stream, FVersion >= 3));
    FEntries = std::move(entries);
    if (FVersion >= 2) {
      FHeight = stream.ReadSmallInt();
      FWidth = stream.ReadSmallInt();
    }
  } catch (const EStreamEnd&) {
    ShowAbortKey("errCorrupt", {path});
  }

  FImage = TRaster24();
  try {
    FImage = DecodeGif(
        [&stream](uint8_t* buffer, size_t count) { return stream.Read(buffer, count); }, path);
    FHeight = FImage.Height();
    FWidth = FImage.Width();
  } catch (const std::exception& e) {
    // The decoder's message names the file and says what is wrong with it,
    // for example its size against the program's limit.
    ShowWarning(std::string(CorruptedImageText) + "\n" + e.what());
  }
  FFileName = path;
}

TRaster24 ReadPictureImage(const std::string& fileName) {
  const std::string path = NativePath(fileName);
  if (!HasPictureExtension(path)) throw EError("Not a picture file: " + path);
  // The stream refuses anything but a regular file, at once.
  TQCFileStream stream(path, TFileMode::fmOpenRead, true);
  char magic[4] = {};
  if (stream.Read(magic, 4) != 4 || std::memcmp(magic, PictureFileMagic, 4) != 0)
    throw EError("Not a picture file: " + path);
  // The texts are read only to reach the image part behind them.
  const uint8_t version = stream.ReadByte();
  const size_t count = version >= 3 ? stream.ReadByte() : 1;
  for (size_t i = 0; i < count; ++i) ReadEntry(stream, version >= 3);
  if (version >= 2) {
    stream.ReadSmallInt();
    stream.ReadSmallInt();
  }
  return DecodeGif([&stream](uint8_t* buffer, size_t size) { return stream.Read(buffer, size); },
                   path);
}

const TPictureEntry* TQCGraphic::FindEntry(const std::string& languageCode) const {
  for (const TPictureEntry& entry : FEntries)
    if (SameTextAscii(entry.Language, languageCode)) return &entry;
  if (languageCode.empty() && !FEntries.empty()) return &FEntries.front();
  return nullptr;
}

std::string TQCGraphic::GetTitle(const std::string& languageCode) const {
  const TPictureEntry* entry = FindEntry(languageCode);
  return entry ? entry->Title : std::string();
}

std::string TQCGraphic::GetAuthor(const std::string& languageCode) const {
  const TPictureEntry* entry = FindEntry(languageCode);
  return entry ? entry->Author : std::string();
}

std::string TQCGraphic::GetDescription(const std::string& languageCode) const {
  const TPictureEntry* entry = FindEntry(languageCode);
  return entry ? entry->Description : std::string();
}

}  // namespace tw
