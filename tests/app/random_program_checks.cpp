#include "app/random_program_checks.h"

#include <QApplication>
#include <QCursor>
#include <QScrollArea>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

#include "app/MainSoundsU.h"
#include "app/PaintF.h"
#include "controls/QImgButtonU.h"
#include "base/ErrorsU.h"
#include "painter/image/ImageFileU.h"
#include "painter/qt/PainterQtU.h"
#include "pictures/CatalogEntryU.h"
#include "pictures/QCGraphicU.h"
#include "controls/PaintGridU.h"
#include "settings/LangU.h"
#include "settings/ProgramGlobalsU.h"

namespace tw::test {
namespace {

namespace fs = std::filesystem;

std::string Hex(TColor Color) {
  char text[16];
  std::snprintf(text, sizeof text, "$%06X", unsigned(Color & 0xFFFFFF));
  return text;
}

std::string At(int X, int Y) { return "(" + std::to_string(X) + "," + std::to_string(Y) + ")"; }

std::string List(const std::vector<std::string>& Items) {
  std::string text = "[";
  for (size_t i = 0; i < Items.size(); ++i) text += (i ? ", " : "") + Items[i];
  return text + "]";
}

// A picture's line art: every pixel that is not exactly white.
bool IsLineArt(const TRaster24& Image, int X, int Y) { return Image.Pixel(X, Y) != clWhite; }

// More than 256 colours cannot all come back from a GIF; black and white
// keep their own entries and always do.
bool FitsAGifPalette(const TRaster24& Image) {
  std::set<TColor> colors;
  for (int y = 0; y < Image.Height(); ++y)
    for (int x = 0; x < Image.Width(); ++x)
      if (colors.insert(Image.Pixel(x, y)).second && colors.size() > 256) return false;
  return true;
}

bool SamePixels(const TRaster24& A, const TRaster24& B) {
  if (A.Width() != B.Width() || A.Height() != B.Height()) return false;
  for (int y = 0; y < A.Height(); ++y)
    for (int x = 0; x < A.Width(); ++x)
      if (A.Pixel(x, y) != B.Pixel(x, y)) return false;
  return true;
}

bool MayTouchOutline(TPaintMode Mode) { return Mode == pmMarker || Mode == pmEraser; }

int EmptyMixWells(const TFMain& Window) {
  int empty = 0;
  for (int i = 0; i < MixWellCount; ++i) empty += Window.MixTray().GetColor(i) == clNone;
  return empty;
}

}  // namespace

TProgramChecks::TProgramChecks(std::vector<TCatalogPicture> Pictures, std::string SaveFolder,
                               int MaxHistory, const TRunRecords& Records)
    : FPictures(std::move(Pictures)),
      FSaveFolder(std::move(SaveFolder)),
      FMaxHistory(MaxHistory),
      FRecords(Records),
      FHistory(MaxHistory) {
  std::vector<TCatalogPicture> pictures;
  pictures.swap(FPictures);
  for (TCatalogPicture& p : pictures) AddPicture(std::move(p));
}

void TProgramChecks::AddPicture(TCatalogPicture Picture) {
  // Never visited, a picture opens as its file holds it: the colour layer
  // black on the line art and white elsewhere.
  const TRaster24& image = Picture.Image;
  TLayers left{TRaster24(image.Width(), image.Height(), clWhite),
               TRaster1(image.Width(), image.Height(), TRaster1::White)};
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      if (IsLineArt(image, x, y)) {
        left.Color.SetPixel(x, y, clBlack);
        left.Outline.SetPixel(x, y, false);
      }
  FLeft[Picture.Entry] = std::move(left);
  FPictures.push_back(std::move(Picture));
}

void TProgramChecks::SetDroppedDrawing(const std::string& Title, TRaster24 Drawing) {
  FDroppedTitle = Title;
  FDroppedDrawing = std::move(Drawing);
}

std::string TProgramChecks::PageAdded(const TFMain& Window) {
  const std::vector<std::string>& catalog = Window.Catalog();
  if (catalog.size() != FPictures.size() + 1)
    return "drop: the catalog became " + List(catalog) + ", one page more was expected";
  const std::string& entry = catalog.back();
  if (!IsPagesEntry(entry)) return "drop: the new entry " + entry + " is not in the pages folder";
  if (Window.CurrentPicture() != int(catalog.size()) - 1)
    return "drop: the new page is not open, picture " + std::to_string(Window.CurrentPicture());
  TQCGraphic page;
  try {
    page.LoadFromFile(CatalogEntryFile(entry, "/"));
  } catch (const EError& e) {
    return "drop: the page " + entry + " cannot be read: " + e.what();
  }
  if (!SamePixels(page.Image(), FDroppedDrawing)) return "drop: the page " + entry + " is not the drawing";
  AddPicture({entry, FDroppedTitle, FDroppedDrawing});
  return "";
}

std::string TProgramChecks::OutlineFile(const std::string& Entry) const {
  return ColoringFileNames(Entry).OutlineFile;
}

std::string TProgramChecks::AfterStart(const TFMain& Window) {
  if (!FRecords.Warnings.empty()) return "warning box: at the start: " + FRecords.Warnings.front();
  if (!FRecords.Dialogs.empty()) return "dialog: at the start: " + List(FRecords.Dialogs);
  FDialogsBefore = FRecords.Dialogs.size();
  std::string problem = CheckWindow(Window);
  if (problem.empty()) problem = CheckReturned(Window);
  if (problem.empty()) problem = CheckLayers(Window);
  if (problem.empty()) problem = CheckSettings();
  return problem;
}

void TProgramChecks::BeforeEvent(const TFMain& Window, const TProgramEvent& Event) {
  FEvent = Describe(Event);
  FPictureBefore = Window.CurrentPicture();
  const TPainter& painter = Window.Painter();
  // A press reaches the painter from the mouse, or from Space wherever
  // the pointer is; either may start a marker or eraser stroke.
  const bool space = Event.A == KeyIndex("Space") &&
                     (Event.Kind == TEventKind::KeyPress || Event.Kind == TEventKind::KeyClick);
  const bool press = Event.Kind == TEventKind::PainterPress ||
                     Event.Kind == TEventKind::PainterDouble ||
                     Event.Kind == TEventKind::RightPress;
  FMayTouchOutline = MayTouchOutline(painter.PaintMode()) && (press || space);
  // Redo sounds like undo; the key tells them apart. The chooser takes
  // every key while it is open.
  const bool key = Event.Kind == TEventKind::KeyPress || Event.Kind == TEventKind::KeyClick;
  FRedoKey = key && !Window.ChooserOpen() &&
             (Event.A == KeyIndex("Ctrl+Y") || Event.A == KeyIndex("Ctrl+Shift+Z"));
  FExpectedDialogs = ExpectedDialogs(Window, Event);
  FPageExpected = Event.Kind == TEventKind::DropFile && !Window.ChooserOpen() &&
                  DropFiles.at(size_t(Event.A)).IsImage;
  FCuesBefore = FRecords.Cues.size();
  FEmptyMixWellsBefore = EmptyMixWells(Window);
  FSnapshot.Color.CopyFrom(painter.ColorLayer());
  FSnapshot.Outline.CopyFrom(painter.OutlineLayer());
}

std::string TProgramChecks::AfterEvent(const TFMain& Window) {
  if (!FRecords.Warnings.empty()) return "warning box: " + FRecords.Warnings.front();
  const std::vector<std::string> opened(
      FRecords.Dialogs.begin() + std::ptrdiff_t(FDialogsBefore), FRecords.Dialogs.end());
  FDialogsBefore = FRecords.Dialogs.size();
  if (opened != FExpectedDialogs)
    return "dialog: expected " + List(FExpectedDialogs) + ", came " + List(opened);
  if (FPageExpected) {
    const std::string problem = PageAdded(Window);
    if (!problem.empty()) return problem;
  }
  std::string problem = CheckWindow(Window);
  if (!problem.empty()) return problem;
  if (Window.CurrentPicture() != FPictureBefore) {
    PictureChanged(Window);
    problem = CheckReturned(Window);
    if (problem.empty()) problem = FHistory.CheckDepth(Window.Painter());
    if (!problem.empty()) return problem;
  } else {
    FOutlineTouched = FOutlineTouched || FMayTouchOutline;
    problem = FollowHistory(Window);
    if (!problem.empty()) return problem + ", after \"" + FEvent + "\"";
  }
  const std::string listing = SaveFolderListing();
  if (listing != FListing) {
    FListing = listing;
    problem = CheckStoredColorings();
    if (!problem.empty()) return problem + ", after \"" + FEvent + "\"";
  }
  problem = CheckLayers(Window);
  if (problem.empty()) problem = CheckSettings();
  return problem;
}

void TProgramChecks::PictureChanged(const TFMain& Window) {
  const std::string& left = FPictures.at(size_t(FPictureBefore)).Entry;
  const bool touched = FOutlineTouched || FMayTouchOutline;
  // The stored outline holds what the picture had when it was left, or,
  // when it was not written again, what it held before.
  std::error_code error;
  if (fs::exists(OutlineFile(left), error))
    FStoredOutlineTouched[left] = FStoredOutlineTouched[left] || touched;
  else
    FStoredOutlineTouched[left] = false;
  FLeft[left] = FSnapshot;
  // Opening a picture starts its history anew.
  FHistory.Clear();
  const std::string& opened = FPictures.at(size_t(Window.CurrentPicture())).Entry;
  FOutlineTouched = FStoredOutlineTouched[opened] && fs::exists(OutlineFile(opened), error);
}

std::string TProgramChecks::FollowHistory(const TFMain& Window) {
  const std::vector<int> cues(FRecords.Cues.begin() + std::ptrdiff_t(FCuesBefore),
                              FRecords.Cues.end());
  auto played = [&](int Cue) { return int(std::count(cues.begin(), cues.end(), Cue)); };
  // The tap plays the wash cue for the picture and for a mix well it
  // empties; only the picture's wash is an undo step.
  const bool mixWellWashed = EmptyMixWells(Window) > FEmptyMixWellsBefore;
  const int pushes =
      played(cueSplash) + played(cueStrokeUp) + (mixWellWashed ? 0 : played(cueWash));
  for (int i = 0; i < pushes; ++i) FHistory.Push(FSnapshot);
  if (FRedoKey) FRedos += played(cueUndo);
  for (int i = 0; i < played(cueUndo); ++i) {
    const std::string problem = FRedoKey ? FHistory.Redone(Window.Painter(), FSnapshot)
                                         : FHistory.Undone(Window.Painter(), FSnapshot);
    if (!problem.empty()) return problem;
  }
  return FHistory.CheckDepth(Window.Painter());
}

std::string TProgramChecks::CheckWindow(const TFMain& Window) const {
  if (!Window.Started()) return "window: not started";
  std::vector<std::string> entries;
  for (const TCatalogPicture& p : FPictures) entries.push_back(p.Entry);
  if (Window.Catalog() != entries) return "window: catalog became " + List(Window.Catalog());
  const int current = Window.CurrentPicture();
  if (current < 0 || current >= int(FPictures.size()))
    return "window: current picture " + std::to_string(current);
  if (Window.PaintingArea().isHidden()) return "window: the painting area is hidden";
  const TRaster24& image = FPictures[size_t(current)].Image;
  const TPainter& painter = Window.Painter();
  if (painter.UnscaledWidth() != image.Width() || painter.UnscaledHeight() != image.Height())
    return "window: the painter holds " + std::to_string(painter.UnscaledWidth()) + "x" +
           std::to_string(painter.UnscaledHeight()) + " for a picture of " +
           std::to_string(image.Width()) + "x" + std::to_string(image.Height());
  return "";
}

std::string TProgramChecks::CheckLayers(const TFMain& Window) const {
  const TPainter& painter = Window.Painter();
  const TRaster24& color = painter.ColorLayer();
  const TRaster1& outline = painter.OutlineLayer();
  const TRaster24& image = FPictures.at(size_t(Window.CurrentPicture())).Image;
  if (outline.Width() != color.Width() || outline.Height() != color.Height())
    return "line art: outline layer " + std::to_string(outline.Width()) + "x" +
           std::to_string(outline.Height()) + ", colour layer " + std::to_string(color.Width()) +
           "x" + std::to_string(color.Height());
  for (int y = 0; y < color.Height(); ++y)
    for (int x = 0; x < color.Width(); ++x) {
      if (!outline.IsWhite(x, y) && color.Pixel(x, y) != clBlack)
        return "line art: colour " + At(x, y) + " is " + Hex(color.Pixel(x, y)) +
               " on a black outline pixel, after \"" + FEvent + "\"";
      if (!FOutlineTouched && outline.IsWhite(x, y) == IsLineArt(image, x, y))
        return std::string("outline: ") + At(x, y) + " is " +
               (outline.IsWhite(x, y) ? "white" : "black") +
               " though neither marker nor eraser touched it, after \"" + FEvent + "\"";
    }
  return "";
}

std::string TProgramChecks::CheckReturned(const TFMain& Window) const {
  const TCatalogPicture& picture = FPictures.at(size_t(Window.CurrentPicture()));
  const TLayers& left = FLeft.at(picture.Entry);
  const TPainter& painter = Window.Painter();
  const TRaster24& color = painter.ColorLayer();
  const TRaster1& outline = painter.OutlineLayer();
  const bool exact = FitsAGifPalette(left.Color);
  for (int y = 0; y < color.Height(); ++y)
    for (int x = 0; x < color.Width(); ++x) {
      const TColor now = color.Pixel(x, y), then = left.Color.Pixel(x, y);
      const bool same = exact ? now == then
                              : (now == clBlack) == (then == clBlack) &&
                                    (now == clWhite) == (then == clWhite);
      if (!same)
        return "returned picture: " + picture.Entry + " " + At(x, y) + " is " + Hex(now) +
               ", it was " + Hex(then) + " when the picture was left";
      if (outline.IsWhite(x, y) != left.Outline.IsWhite(x, y))
        return "returned picture: " + picture.Entry + " outline " + At(x, y) + " is " +
               (outline.IsWhite(x, y) ? "white" : "black") + ", it was not when it was left";
    }
  return "";
}

std::string TProgramChecks::CheckSettings() const {
  try {
    TQCSetting& settings = QCSetting();
    if (settings.ReadStayColored() != 2)
      return "settings: StayColored reads " + std::to_string(settings.ReadStayColored());
    if (settings.ReadMaxHistory() != FMaxHistory)
      return "settings: MaxHistory reads " + std::to_string(settings.ReadMaxHistory());
    if (settings.ReadPathSave() != FSaveFolder)
      return "settings: PathSave reads " + settings.ReadPathSave();
    std::vector<std::string> catalog;
    settings.ReadCatalog(catalog);
    if (catalog.size() != FPictures.size()) return "settings: catalog reads " + List(catalog);
    std::vector<std::string> mixed;
    settings.ReadMixedColors(mixed);
    settings.ReadCurrentPicture();
  } catch (const std::exception& error) {
    return std::string("settings: ") + error.what();
  }
  return "";
}

std::string TProgramChecks::SaveFolderListing() const {
  std::string listing;
  std::error_code error;
  for (const fs::directory_entry& file : fs::directory_iterator(ColoringFolder(), error))
    listing += file.path().filename().string() + " " + std::to_string(file.file_size(error)) +
               " " + std::to_string(file.last_write_time(error).time_since_epoch().count()) + "\n";
  return listing;
}

std::string TProgramChecks::CheckStoredColorings() const {
  std::error_code error;
  // Nothing but the save dialog, which is always cancelled here, may write
  // into the save folder.
  if (fs::directory_iterator first(FSaveFolder, error); !error && first != fs::directory_iterator())
    return "save folder: " + first->path().filename().string() + " appeared there";
  error.clear();
  for (const fs::directory_entry& file : fs::directory_iterator(ColoringFolder(), error)) {
    const std::string name = file.path().filename().string();
    const TCatalogPicture* owner = nullptr;
    bool outline = false;
    for (const TCatalogPicture& p : FPictures) {
      const TColoringFiles files = ColoringFileNames(p.Entry, "");
      if (name == files.ColorFile || name == files.OutlineFile) {
        owner = &p;
        outline = name == files.OutlineFile;
      }
      // The mark that the save folder was looked at for an old colouring.
      if (name == files.ColorFile + ".picked-up") owner = &p;
    }
    if (!owner) return "stored colouring: unexpected file " + name + " in the colourings folder";
    if (name.ends_with(".picked-up")) continue;
    TRaster24 image;
    try {
      image = ReadImageFile(file.path().string());
    } catch (const EError& e) {
      return "stored colouring: " + name + " cannot be read: " + e.what();
    }
    if (image.Width() != owner->Image.Width() || image.Height() != owner->Image.Height())
      return "stored colouring: " + name + " is " + std::to_string(image.Width()) + "x" +
             std::to_string(image.Height()) + ", its picture " +
             std::to_string(owner->Image.Width()) + "x" + std::to_string(owner->Image.Height());
    if (outline)
      for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
          if (image.Pixel(x, y) != clBlack && image.Pixel(x, y) != clWhite)
            return "stored colouring: outline " + name + " " + At(x, y) + " is " +
                   Hex(image.Pixel(x, y));
  }
  if (error) return "stored colouring: the colourings folder cannot be listed: " + error.message();
  return "";
}

std::string TProgramChecks::DialogOfButton(const TFMain& Window,
                                           const std::string& ObjectName) const {
  if (ObjectName == "btnSave") return "Save";
  if (ObjectName == "btnPrint") return "Print";
  if (ObjectName == "btnOptions") return "Options";
  if (ObjectName == "btnClose") return "Close";
  if (ObjectName == "btnInfo") return "Info:" + FPictures.at(size_t(Window.CurrentPicture())).Title;
  return "";
}

std::vector<std::string> TProgramChecks::ExpectedDialogs(const TFMain& Window,
                                                         const TProgramEvent& Event) const {
  // The open chooser takes the keys, and a press outside it only closes it.
  if (Window.ChooserOpen()) return {};
  std::string dialog;
  const bool key = Event.Kind == TEventKind::KeyClick || Event.Kind == TEventKind::KeyPress;
  if (Event.Kind == TEventKind::Button) {
    dialog = DialogOfButton(Window, ProgramButtons.at(size_t(Event.A)).ObjectName);
  } else if (key && Event.A == KeyIndex("Ctrl+S")) {
    dialog = "Save";
  } else if (key && Event.A == KeyIndex("Ctrl+P")) {
    dialog = "Print";
  } else if (key && Event.A == KeyIndex("F2")) {
    dialog = DialogOfButton(Window, "btnInfo");
  } else if (Event.Kind == TEventKind::DropFile) {
    if (!DropFiles.at(size_t(Event.A)).IsImage) dialog = "Info:" + Lang().GetText("capNewPage");
  } else if (key && Event.A == KeyIndex("Space") && !Window.Keys().SpaceHeld()) {
    // Space presses whatever is under the pointer.
    if (auto* button = qobject_cast<TQImgButton*>(QApplication::widgetAt(QCursor::pos())))
      dialog = DialogOfButton(Window, button->objectName().toStdString());
  }
  if (dialog.empty()) return {};
  return {dialog};
}

}  // namespace tw::test
