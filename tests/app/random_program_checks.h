// The random test's checks after every event, and the little they must
// know of the program to be sure: each catalog picture's own image and
// title, which dialog the event may open, whether the open picture's
// outline may have been drawn on (marker or eraser) since it was opened or
// in a colouring stored earlier, how each picture looked when it was last
// left, which is how it must come back, and what each undo must bring back
// (TUndoReference, fed by the sound cues that tell what an action did).
//
// Every failure is a text "<check>: <details>"; the check's name is what a
// shortened sequence must still fail with.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/random_program_events.h"
#include "app/random_program_history.h"
#include "painter/RasterU.h"

namespace tw {
class TFMain;
}

namespace tw::test {

struct TCatalogPicture {
  std::string Entry;  // the catalog entry, "a.twf"
  std::string Title;
  TRaster24 Image;  // the image in its picture file
};

// What the bench records while the window runs; the lists only grow.
struct TRunRecords {
  const std::vector<std::string>& Dialogs;   // the dialog answerer's
  const std::vector<std::string>& Warnings;  // the warning boxes'
  const std::vector<int>& Cues;              // the sound cues played
};

class TProgramChecks {
 public:
  TProgramChecks(std::vector<TCatalogPicture> Pictures, std::string SaveFolder, int MaxHistory,
                 const TRunRecords& Records);

  // The drawing of DropFiles' image, which must become a page exactly as
  // it is (pure black lines on white).
  void SetDroppedDrawing(const std::string& Title, TRaster24 Drawing);

  // The window has just started: the first picture is open as it was
  // written, the settings are readable.
  std::string AfterStart(const TFMain& Window);
  // Called just before Event is applied.
  void BeforeEvent(const TFMain& Window, const TProgramEvent& Event);
  // The first problem after the event, or an empty text.
  std::string AfterEvent(const TFMain& Window);
  // The stored colourings on disk: every file there decodes at its
  // picture's size. AfterEvent runs it whenever the save folder changed.
  std::string CheckStoredColorings() const;
  // How many redos played so far.
  int Redos() const { return FRedos; }

 private:
  std::string CheckWindow(const TFMain& Window) const;
  std::string CheckLayers(const TFMain& Window) const;
  std::string CheckSettings() const;
  std::string CheckReturned(const TFMain& Window) const;
  // The undo steps the event's actions pushed and took, by their cues.
  std::string FollowHistory(const TFMain& Window);
  std::string OutlineFile(const std::string& Entry) const;
  // The dialogs the event opens: by the button clicked, the key pressed,
  // or the button under the pointer when Space presses it.
  std::vector<std::string> ExpectedDialogs(const TFMain& Window,
                                           const TProgramEvent& Event) const;
  std::string DialogOfButton(const TFMain& Window, const std::string& ObjectName) const;
  void PictureChanged(const TFMain& Window);
  // A page came of the dropped drawing: it must be the last catalog entry,
  // a file in the pages folder holding the drawing, and it becomes one of
  // the pictures the checks know.
  std::string PageAdded(const TFMain& Window);
  void AddPicture(TCatalogPicture Picture);
  // Names, sizes and times of the files in the save folder.
  std::string SaveFolderListing() const;

  std::vector<TCatalogPicture> FPictures;
  std::string FSaveFolder;
  int FMaxHistory;
  TRunRecords FRecords;
  TUndoReference FHistory;
  // The open picture's outline may differ from its own line art.
  bool FOutlineTouched = false;
  // The stored outline file of an entry may hold marker or eraser lines.
  std::map<std::string, bool> FStoredOutlineTouched;
  // How each picture must look when it is opened again.
  std::map<std::string, TLayers> FLeft;
  std::string FListing;

  // Taken before each event.
  int FPictureBefore = -1;
  size_t FDialogsBefore = 0;
  size_t FCuesBefore = 0;
  int FEmptyMixWellsBefore = 0;
  bool FMayTouchOutline = false;
  bool FRedoKey = false;
  bool FPageExpected = false;
  std::string FDroppedTitle;
  TRaster24 FDroppedDrawing;
  int FRedos = 0;
  std::vector<std::string> FExpectedDialogs;
  TLayers FSnapshot;
  std::string FEvent;
};

}  // namespace tw::test
