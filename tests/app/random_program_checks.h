// The random test's checks after every event, and the little they must
// know of the program to be sure: each catalog picture's own image and
// title, which dialog the event may open, whether the open picture's
// outline may have been drawn on (marker or eraser) since it was opened or
// in a colouring stored earlier, and how each picture looked when it was
// last left, which is how it must come back.
//
// Every failure is a text "<check>: <details>"; the check's name is what a
// shortened sequence must still fail with.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/random_program_events.h"
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

class TProgramChecks {
 public:
  TProgramChecks(std::vector<TCatalogPicture> Pictures, std::string SaveFolder, int MaxHistory);

  // The window has just started: the first picture is open as it was
  // written, the settings are readable. Dialogs and Warnings are the
  // answerer's and the warning recorder's lists.
  std::string AfterStart(const TFMain& Window, const std::vector<std::string>& Dialogs,
                         const std::vector<std::string>& Warnings);
  // Called just before Event is applied.
  void BeforeEvent(const TFMain& Window, const TProgramEvent& Event);
  // The first problem after the event, or an empty text.
  std::string AfterEvent(const TFMain& Window, const std::vector<std::string>& Dialogs,
                         const std::vector<std::string>& Warnings);
  // The stored colourings on disk: every file there decodes at its
  // picture's size. AfterEvent runs it whenever the save folder changed.
  std::string CheckStoredColorings() const;

 private:
  struct TLeftPicture {
    TRaster24 Color;
    TRaster1 Outline;
  };

  const TCatalogPicture* Picture(const std::string& Entry) const;
  std::string CheckWindow(const TFMain& Window) const;
  std::string CheckLayers(const TFMain& Window) const;
  std::string CheckSettings() const;
  std::string CheckReturned(const TFMain& Window) const;
  std::string OutlineFile(const std::string& Entry) const;
  // The dialogs the event opens: by the button clicked, the key pressed,
  // or the button under the pointer when Space presses it.
  std::vector<std::string> ExpectedDialogs(const TFMain& Window,
                                           const TProgramEvent& Event) const;
  std::string DialogOfButton(const TFMain& Window, const std::string& ObjectName) const;
  void PictureChanged(const TFMain& Window);
  // Names, sizes and times of the files in the save folder.
  std::string SaveFolderListing() const;

  std::vector<TCatalogPicture> FPictures;
  std::string FSaveFolder;
  int FMaxHistory;
  // The open picture's outline may differ from its own line art.
  bool FOutlineTouched = false;
  // The stored outline file of an entry may hold marker or eraser lines.
  std::map<std::string, bool> FStoredOutlineTouched;
  // How each picture must look when it is opened again.
  std::map<std::string, TLeftPicture> FLeft;
  std::string FListing;

  // Taken before each event.
  int FPictureBefore = -1;
  size_t FDialogsBefore = 0;
  bool FMayTouchOutline = false;
  std::vector<std::string> FExpectedDialogs;
  TLeftPicture FSnapshot;
  std::string FEvent;
};

}  // namespace tw::test
