#include "app/ThumbnailKeyU.h"

#include <filesystem>
#include <system_error>

#include "pictures/QFoldersU.h"

namespace tw {

namespace {

namespace fs = std::filesystem;

constexpr const char* ThumbnailSuffix = ".thumb.png";
// Changes whenever thumbnails are made differently, so none made the old
// way is shown again.
constexpr const char* StampVersion = "1";

// "size:time" of a regular file, "-" for anything else.
std::string FileStamp(const std::string& FileName) {
  std::error_code Error;
  const std::string Native = NativePath(FileName);
  if (!fs::is_regular_file(Native, Error)) return "-";
  const uintmax_t Size = fs::file_size(Native, Error);
  if (Error) return "-";
  const fs::file_time_type Time = fs::last_write_time(Native, Error);
  if (Error) return "-";
  return std::to_string(Size) + ":" + std::to_string(Time.time_since_epoch().count());
}

}  // namespace

std::string ThumbnailFolder() {
  // The colourings folder's sibling, wherever that one is.
  std::string Base = ColoringFolder();
  Base.pop_back();
  return Base.substr(0, Base.find_last_of('/') + 1) + "Thumbnails/";
}

std::string ThumbnailFileName(const std::string& Entry, const std::string& Folder) {
  return Folder + ColoringFileStem(Entry) + ThumbnailSuffix;
}

std::string ThumbnailStamp(const std::string& PictureFile, const TColoringFiles& Files,
                           bool ShowColoring, int Size) {
  std::string Stamp =
      std::string(StampVersion) + " " + std::to_string(Size) + " " + FileStamp(PictureFile);
  if (ShowColoring)
    Stamp += " " + FileStamp(Files.OutlineFile) + " " + FileStamp(Files.ColorFile);
  else
    Stamp += " plain";
  return Stamp;
}

void DeleteThumbnails(const std::vector<std::string>& Entries, const std::string& Folder) {
  for (const std::string& Entry : Entries) {
    std::error_code Error;
    fs::remove(NativePath(ThumbnailFileName(Entry, Folder)), Error);
  }
}

}  // namespace tw
