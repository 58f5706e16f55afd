#include "app/ColoringStoreU.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "base/ErrorsU.h"
#include "painter/PainterU.h"
#include "painter/image/ImageFileU.h"
#include "pictures/QFoldersU.h"

namespace tw {

namespace {

namespace fs = std::filesystem;

// The entry with its extension (from the last dot of its last name)
// replaced by NewExtension; appended when the last name has no dot.
std::string ChangeExtension(const std::string& Name, const std::string& NewExtension) {
  const size_t LastName = Name.find_last_of("/\\");
  const size_t Dot = Name.find_last_of('.');
  if (Dot == std::string::npos || (LastName != std::string::npos && Dot < LastName))
    return Name + NewExtension;
  return Name.substr(0, Dot) + NewExtension;
}

bool FileExists(const std::string& NativeName) {
  std::error_code Error;
  return fs::is_regular_file(NativeName, Error);
}

// Reads one stored layer and applies it when it fits the picture exactly.
TColoringLoad LoadLayer(TPainterModel& Painter, const std::string& FileName, bool Whole) {
  const std::string Native = NativePath(FileName);
  if (!FileExists(Native)) return TColoringLoad::Missing;
  TRaster24 Image;
  try {
    Image = ReadImageFile(Native);
  } catch (const EError&) {
    return TColoringLoad::Unreadable;
  }
  // A stored colouring of another size belongs to a picture that has since
  // been replaced under the same name.
  if (Image.Width() != Painter.UnscaledWidth() || Image.Height() != Painter.UnscaledHeight())
    return TColoringLoad::WrongSize;
  Painter.AssignLayer(TBitmap(std::move(Image)), Whole);
  return TColoringLoad::Loaded;
}

// Beside an entry's colour file once its legacy colouring was looked for.
constexpr const char* PickedUpSuffix = ".picked-up";

// The bytes of a legacy file that decodes at exactly Width x Height.
std::optional<std::vector<uint8_t>> FittingFile(const std::string& FileName, int Width,
                                                int Height) {
  const std::string Native = NativePath(FileName);
  if (!FileExists(Native)) return std::nullopt;
  std::ifstream In(Native, std::ios::binary);
  std::vector<uint8_t> Bytes((std::istreambuf_iterator<char>(In)), {});
  if (!In.good() && !In.eof()) return std::nullopt;
  try {
    const TRaster24 Image = DecodeImage(Bytes.data(), Bytes.size());
    if (Image.Width() != Width || Image.Height() != Height) return std::nullopt;
  } catch (const EError&) {
    return std::nullopt;
  }
  return Bytes;
}

bool RemoveIfThere(const std::string& FileName) {
  std::error_code Error;
  fs::remove(NativePath(FileName), Error);
  return !Error;
}

}  // namespace

TStayColored ClampStayColored(int32_t Value) {
  if (Value <= scNever) return scNever;
  if (Value >= scAcrossRuns) return scAcrossRuns;
  return scWhileRunning;
}

TColoringFiles ColoringFileNames(const std::string& Entry, const std::string& Folder) {
  const std::string Stem = Folder + ColoringFileStem(Entry);
  return {Stem + ColoringColorSuffix, Stem + ColoringOutlineSuffix};
}

TColoringFiles LegacyColoringFileNames(const std::string& Entry, const std::string& SaveFolder) {
  TColoringFiles Files;
  Files.ColorFile = SaveFolder + ChangeExtension(Entry, ".gif");
  Files.OutlineFile = ChangeExtension(Files.ColorFile, ".Mask") + ".gif";
  return Files;
}

bool PickUpLegacyColoring(const TColoringFiles& Legacy, const TColoringFiles& Files, int Width,
                          int Height) {
  const std::string Mark = NativePath(Files.ColorFile) + PickedUpSuffix;
  if (FileExists(NativePath(Files.ColorFile)) || FileExists(Mark)) return false;
  bool Copied = false;
  try {
    // Only the legacy files' bytes are read; what is written goes to the
    // colourings folder alone.
    const std::optional<std::vector<uint8_t>> Color = FittingFile(Legacy.ColorFile, Width, Height);
    if (Color) {
      if (const auto Outline = FittingFile(Legacy.OutlineFile, Width, Height))
        WriteFileAtomically(NativePath(Files.OutlineFile), *Outline);
      WriteFileAtomically(NativePath(Files.ColorFile), *Color);
      Copied = true;
    }
    // Looked at once: a colouring deleted later must not come back from
    // the old place, nor a file of the parent's that merely fits.
    WriteFileAtomically(Mark, {});
  } catch (const EError&) {
    // The colourings folder cannot be written; the next visit tries again.
  }
  return Copied;
}

bool StoreColoring(const TPainterModel& Painter, const TColoringFiles& Files, bool ColorChanged,
                   bool OutlineChanged, TStayColored StayColored) {
  if (!StoresColorings(StayColored) || !ColorChanged || !Painter.HasPicture()) return false;
  std::optional<TBitmap> Outline;
  if (OutlineChanged) Outline = Painter.CopyLayer(true);
  WriteColoring(Painter.CopyLayer(false), Outline ? &*Outline : nullptr, Files);
  return true;
}

void WriteColoring(const TBitmap& Color, const TBitmap* Outline, const TColoringFiles& Files) {
  if (Outline) WriteFileAtomically(NativePath(Files.OutlineFile), EncodeGif(*Outline));
  WriteFileAtomically(NativePath(Files.ColorFile), EncodeGif(Color));
}

TColoringLoadResult LoadColoring(TPainterModel& Painter, const TColoringFiles& Files,
                                 TStayColored StayColored) {
  TColoringLoadResult Result;
  if (!StoresColorings(StayColored) || !Painter.HasPicture()) return Result;
  // The outline first: assigning it as a whole rebuilds both layers, which
  // the colour file then overwrites.
  Result.Outline = LoadLayer(Painter, Files.OutlineFile, true);
  Result.Color = LoadLayer(Painter, Files.ColorFile, false);
  return Result;
}

bool DropColoring(const TColoringFiles& Files) {
  const bool ColorGone = RemoveIfThere(Files.ColorFile);
  const bool OutlineGone = RemoveIfThere(Files.OutlineFile);
  return ColorGone && OutlineGone;
}

bool DeleteAllColorings(const std::vector<std::string>& Entries, const std::string& Folder) {
  bool AllGone = true;
  for (const std::string& Entry : Entries)
    if (!DropColoring(ColoringFileNames(Entry, Folder))) AllGone = false;
  return AllGone;
}

}  // namespace tw
