// TQCGraphic: one colouring picture read from a picture file: its format
// version, its texts per interface language and its decoded image. The main
// window keeps one and loads each catalog picture into it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "painter/RasterU.h"
#include "pictures/PictureFileU.h"

namespace tw {

// The fixed first line of the warning about a damaged image part; a second
// line names the file and says what is wrong.
constexpr const char* CorruptedImageText = "File is corrupted";

class TQCGraphic {
 public:
  // Create: an empty picture (see Clear).
  TQCGraphic();

  // Empties FileName, sets Version to CurrentPictureVersion, removes all
  // entries and replaces Image by an empty one. Width and Height stay.
  void Clear();

  // Reads a whole picture file, image included. Failures, each reported once:
  //  - the name does not end in ".twf" (any case): ShowAbortKey
  //    "errOpenBadExt" before the file system is touched;
  //  - no such file (or a folder): ShowAbortKey "errOpenNoExist";
  //  - anything else that is not a regular file (a named pipe, a device,
  //    a socket): ShowAbortKey "errOpenNotFile" at once, never waiting;
  //  - wrong magic, or the file ends inside the header, an entry or the
  //    stored size: ShowAbortKey "errCorrupt";
  //    all four with the full path as argument, ending in EAbort;
  //  - an existing file that cannot be opened: the stream's EError;
  //  - a damaged image part: the warning CorruptedImageText followed by a
  //    line naming the file and the reason (such as its picture size
  //    against the program's limit), after which the load completes with
  //    the new texts and an empty Image.
  // The path is converted with NativePath first; FileName is that form, set
  // only when the load got through the header and the texts. Before the
  // magic is accepted the previous contents stay; from the entries on they
  // are the new file's (none at all when an entry is cut short).
  void LoadFromFile(const std::string& fileName);

  // The text of the first entry whose language code equals languageCode
  // without regard to case. No match: empty for a non-empty code; for an
  // empty code the first entry's text (empty when there are no entries).
  std::string GetTitle(const std::string& languageCode) const;
  std::string GetAuthor(const std::string& languageCode) const;
  std::string GetDescription(const std::string& languageCode) const;

  const std::string& FileName() const { return FFileName; }
  uint8_t Version() const { return FVersion; }
  // In file order; texts converted to UTF-8 (Windows-1252 when the stored
  // bytes are not valid UTF-8).
  const std::vector<TPictureEntry>& Entries() const { return FEntries; }
  // The decoded image's size after a load whose image decoded; the stored
  // size (version 2 and up) when it did not.
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  const TRaster24& Image() const { return FImage; }

 private:
  const TPictureEntry* FindEntry(const std::string& languageCode) const;

  std::string FFileName;
  uint8_t FVersion = CurrentPictureVersion;
  std::vector<TPictureEntry> FEntries;
  int FWidth = 0;
  int FHeight = 0;
  TRaster24 FImage;
};

// The image part of a picture file, read without a message of any kind:
// for pictures shown in passing (the chooser's tiles), where a damaged file
// is shown as such and says nothing. Throws EError for everything that
// TQCGraphic::LoadFromFile reports: not a ".twf" name, no regular file, a
// damaged header or image part. Safe on any thread.
TRaster24 ReadPictureImage(const std::string& fileName);

}  // namespace tw
