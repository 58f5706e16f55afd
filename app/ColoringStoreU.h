// Stored colourings: the two GIF files in the save folder that keep a
// catalog picture's colouring between visits (the colour layer in "x.gif",
// the outline layer in "x.Mask.gif" for the entry "x.twf"), how they are
// named, written, read back and deleted, and what the "StayColored" setting
// allows. The main window decides when; these functions do the file work.
//
// Names are kept as settings texts (the save folder may hold "\"); every
// function that touches a file passes them through NativePath first.
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
  std::string ColorFile;    // save folder + entry with its extension replaced by ".gif"
  std::string OutlineFile;  // ColorFile with ".gif" replaced by ".Mask.gif"
};

// The stored-colouring file names of a catalog entry. SaveFolder is the
// expanded "PathSave" text, ending with a separator; the entry follows it
// directly. The extension is the part of the entry's last name (after the
// last "/" or "\") from its last dot; an entry without one gets ".gif"
// added. "x.twf" in S gives S + "x.gif" and S + "x.Mask.gif".
TColoringFiles ColoringFileNames(const std::string& Entry, const std::string& SaveFolder);

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

// Deletes the stored colourings of every catalog entry (StayColored 1 at
// close). Returns false when some file could not be deleted.
bool DeleteAllColorings(const std::vector<std::string>& Entries, const std::string& SaveFolder);

}  // namespace tw
