#include "app/ColoringStoreU.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "painter/ErrorsU.h"
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

TColoringFiles ColoringFileNames(const std::string& Entry, const std::string& SaveFolder) {
  TColoringFiles Files;
  Files.ColorFile = SaveFolder + ChangeExtension(Entry, ".gif");
  Files.OutlineFile = ChangeExtension(Files.ColorFile, ".Mask") + ".gif";
  return Files;
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

bool DeleteAllColorings(const std::vector<std::string>& Entries, const std::string& SaveFolder) {
  bool AllGone = true;
  for (const std::string& Entry : Entries)
    if (!DropColoring(ColoringFileNames(Entry, SaveFolder))) AllGone = false;
  return AllGone;
}

}  // namespace tw
