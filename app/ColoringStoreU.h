// Stored colourings: the two GIF files in the program's own colourings
// folder (pictures/ColoringFolderU.h) that keep a catalog picture's
// colouring between visits, how they are named, written, read back and
// deleted, what the "StayColored" setting allows, and the one-time pick-up
// of colourings that earlier versions kept in the save folder. The main
// window decides when; these functions do the file work. Nothing here ever
// writes, replaces or deletes a file outside the colourings folder.
//
// Names may hold "\" (a catalog entry in a subfolder, an old save folder
// text); every function that touches a file passes them through NativePath
// first.
//
// A stored colouring never harms the picture it belongs to: a file whose
// size differs from the picture (the picture file was replaced since) and a
// file that cannot be decoded are both ignored without a message, and the
// picture opens uncoloured as far as that file goes. The files are left on
// disk, so nothing is lost; the next store overwrites them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "painter/RasterU.h"
#include "pictures/ColoringFolderU.h"

namespace tw {

class TPainterModel;

// The values of the "StayColored" setting.
enum TStayColored : int32_t {
  scNever = 0,         // nothing is written or read
  scWhileRunning = 1,  // written and read back, all deleted when the program closes
  scAcrossRuns = 2,    // as 1, also written at close, never deleted at close
};

// A stored value outside 0..2 taken as the nearest meaningful one: below 0
// is "never", above 2 is "across runs".
TStayColored ClampStayColored(int32_t Value);

// Whether colourings are written and read at all (1 and 2).
inline bool StoresColorings(TStayColored Value) { return Value != scNever; }
// Whether the close sequence writes the open picture's colouring (2 only).
inline bool StoresColoringAtClose(TStayColored Value) { return Value == scAcrossRuns; }
// Whether the close sequence deletes every entry's colouring (1 only).
inline bool DeletesColoringsAtClose(TStayColored Value) { return Value == scWhileRunning; }

struct TColoringFiles {
  std::string ColorFile;
  std::string OutlineFile;
};

// The stored-colouring file names of a catalog entry in Folder (ending with
// a separator; the program's colourings folder unless a test names
// another): Folder + ColoringFileStem(Entry) + ".colour.gif" and
// + ".outline.gif". No two entries share a file.
TColoringFiles ColoringFileNames(const std::string& Entry,
                                 const std::string& Folder = ColoringFolder());

// Where earlier versions kept an entry's colouring: in the save folder
// (SaveFolder, the expanded "PathSave" text ending with a separator), the
// entry with the extension of its last name (from its last dot after the
// last "/" or "\") replaced by ".gif", or ".gif" added, and the outline in
// the same name with ".Mask.gif". "x.twf" gives S + "x.gif" and
// S + "x.Mask.gif". Only ever read.
TColoringFiles LegacyColoringFileNames(const std::string& Entry, const std::string& SaveFolder);

// Picks up a colouring an earlier version left at Legacy: when Files has no
// colour file and this entry was never picked up before, and the legacy
// colour file decodes at exactly Width x Height, it is copied to Files
// (with the legacy outline file when that one fits too), and a mark beside
// Files says it was done, so a colouring deleted later never comes back
// from the old place. The legacy files are only read. Returns whether a
// colouring was copied; never throws (a folder that cannot be written
// leaves things as they were).
bool PickUpLegacyColoring(const TColoringFiles& Legacy, const TColoringFiles& Files, int Width,
                          int Height);

// Writes the open picture's colouring when StayColored allows it and the
// colour layer changed: when the outline changed too, the outline layer to
// OutlineFile, then the colour layer to ColorFile (see WriteColoring for the
// order). Returns whether anything was written. Throws EError naming the
// file when a write fails (the file then keeps its previous content).
bool StoreColoring(const TPainterModel& Painter, const TColoringFiles& Files, bool ColorChanged,
                   bool OutlineChanged, TStayColored StayColored);

// Writes a colouring as GIF files: Outline (a TRaster1; null: the outline
// file is left as it is) to OutlineFile first, then Color (a TRaster24) to
// ColorFile. Each file is written atomically (temporary file, then rename),
// so the previous file stays whole when writing fails; folders are created
// as needed. Throws EError naming the file when a write fails.
//
// The outline goes first because the colour file is the one that counts:
// reading back lays the colour file over the outline file and keeps every
// outline pixel black. When the program dies between the two renames, the
// new outline meets the previous colour file, and every pixel then shows
// either the newer state (a line drawn since) or the previous one, never
// anything else. In the other order an erased line would come back over the
// newer colours.
void WriteColoring(const TBitmap& Color, const TBitmap* Outline, const TColoringFiles& Files);

// What LoadColoring did with each file.
enum class TColoringLoad {
  Loaded,      // applied to the painter
  Missing,     // no such file
  WrongSize,   // its size differs from the picture's: ignored
  Unreadable,  // cannot be read or decoded: ignored
  NotAllowed,  // StayColored is 0: not looked at
};

struct TColoringLoadResult {
  TColoringLoad Outline = TColoringLoad::NotAllowed;
  TColoringLoad Color = TColoringLoad::NotAllowed;
};

// Reads the stored colouring back into the painter, which holds the freshly
// opened picture: when StayColored is not 0, the outline file first when it
// exists (loading the outline rebuilds both layers), then the colour file
// when it exists. A file that is not exactly the picture's size, or cannot
// be decoded, is ignored (see the file comment). Never throws for a problem
// with the files.
TColoringLoadResult LoadColoring(TPainterModel& Painter, const TColoringFiles& Files,
                                 TStayColored StayColored);

// Deletes both files where they exist; a file that is not there is no
// problem. Returns false when a file exists and could not be deleted.
bool DropColoring(const TColoringFiles& Files);

// Deletes the stored colourings of every catalog entry in Folder
// (StayColored 1 at close). Returns false when some file could not be
// deleted.
bool DeleteAllColorings(const std::vector<std::string>& Entries,
                        const std::string& Folder = ColoringFolder());

}  // namespace tw
