// TFMain (form "FMain"): the program's main window. It owns the painting
// area with the painter, the paint and mix trays, the tool and command
// buttons, the brush-size slider, the bubble hint, the palettes, the catalog
// list with the open picture, the tool cursors and the sounds, and it runs
// every command a child reaches with the mouse or the keyboard.
//
// The class is split by aspect:
//   PaintF.cpp           creation, layout with anchors, deferred start, teardown
//   PaintF_Pictures.cpp  the catalog: opening pictures, stored colourings,
//                        title, fitting and centring
//   PaintF_Autosave.cpp  the stored colouring written while the child paints
//   PaintF_Commands.cpp  buttons, tools, slider, wells, palettes, zoom, undo,
//                        the dialog commands and the bubble hints
//   PaintF_Dropper.cpp   the dropper and the mix tray
//   PaintF_Window.cpp    keyboard, window buttons, activation and closing
//   PaintF_Dialogs.cpp   the calls into the dialogs
//   PaintF_Chooser.cpp   the picture chooser over the painting area
//   PaintF_Drop.cpp      image files dropped on the window become new
//                        colouring pages
//
// Every handler that a control or the platform calls runs through Guarded:
// a silent abort ends only that command, any other error is shown once in a
// warning box, and the window goes on.
#pragma once

#include <QPointer>
#include <QRect>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/AutosaveScheduleU.h"
#include "app/ColoringStoreU.h"
#include "app/DropperU.h"
#include "app/MainKeysU.h"
#include "app/PageMakerU.h"
#include "app/UnkeptColoringsU.h"
#include "controls/QBaseF.h"
#include "painter/PaintCommonU.h"
#include "pictures/QCGraphicU.h"

class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QLabel;
class QScrollArea;
class QTimer;
class QWidget;

namespace tw {

class TPageProgress;
class TPainter;
class TQDelay;
class TPaintGrid;
class TPaintPalettes;
class TQBubbleHint;
class TQFitLabel;
class TQHintControl;
class TQImgButton;
class TQSlider;
class TToolCursors;
class TMainSounds;
class TColoringAutosave;
class TPictureChooser;

// The help page for parents, beside the program (in its working folder),
// which the farewell message links to.
inline constexpr const char* HelpPageFile = "help/index.html";

// The wells 0..19 are the paint tray's, 20..31 the mix tray's.
inline constexpr int PaintWellCount = 20;
inline constexpr int MixWellCount = 12;
inline constexpr int WellCount = PaintWellCount + MixWellCount;

class TFMain : public TfrmQBase, public IMainKeyTarget {
  Q_OBJECT

 public:
  // The design client size the layout tables are written for.
  static constexpr int DesignWidth = 772;
  static constexpr int DesignHeight = 560;
  // The least the window can be without its controls running into each
  // other.
  static constexpr int MinimumWidth = 788;
  static constexpr int MinimumHeight = 540;

  // Pointer: where the arrow keys steer; when null, the screen cursor, or
  // the program's own pointer where the platform cannot move the cursor.
  explicit TFMain(QWidget* parent = nullptr, IPointer* Pointer = nullptr);
  ~TFMain() override;

  // The catalog and the open picture.
  void OpenPicture(int Index);
  void StoreColoring();
  void DropColoring();
  void RemoveMissingPicture();
  void UpdateTitle();
  void UpdateFitScale();
  void ApplyScale();
  void CenterPainter();
  void ApplyBrushSize();
  void ShowMessageKey(const std::string& CaptionKey, const std::string& TextKey,
                      const std::vector<std::string>& Args);

  // The stored colouring written while the child paints (PaintF_Autosave.cpp).
  // The timer's tick: hands the colouring to the background writer when a
  // write is due, and arms the timer for the next tick.
  void AutosaveTick();
  // The clock the autosave is told; the steady clock unless a test sets one.
  void SetAutosaveClock(std::function<TAutosaveTime()> Clock);
  TColoringAutosave& Autosave() const { return *FAutosave; }

  // Tools, cues, wells and palettes.
  void PlayCue(int Cue);
  void UpdateToolButtons(TQImgButton* Pressed);
  // Cursor id Index + 1 on the painter and the trays.
  void SetCursor(int Index);
  // The pointer of the tool Mode (the dropper's shows its drops).
  void ShowToolCursor(TPaintMode Mode);
  void SetToolSize(int Size);
  void SelectPalette(int Index);
  void SelectWell(int Index);
  // Rings the well the current paint comes from: the well chosen last, while
  // it still holds the painter's paint; no well when none does.
  void UpdateWellMark();
  void SetDropper(int Count, TColor Color);
  // The cursor that shows the dropper's drops.
  void ShowDropper();
  void DropperTake(TColor Color);
  void MusicFadeIn();
  void MusicFadeOut();
  void OptionsCommand();
  void MinimizeApplication();

  // IMainKeyTarget: the commands of the keys and buttons.
  void CycleTool() override;
  void UndoCommand() override;
  void RedoCommand() override;
  void StepPicture(int delta) override;
  // Opens the picture chooser over the painting area (PaintF_Chooser.cpp);
  // nothing when the catalog is empty.
  void ChoosePicture() override;
  void SetToolSizeEntry(int d) override;
  void PrintCommand() override;
  void SaveCommand() override;
  void ZoomIn() override;
  void ZoomOut() override;
  void InfoCommand() override;
  void StepWell(int delta) override;
  void NextMixMode() override;
  void StepPalette(int delta) override;

  // The picture chooser: while it is open the window's keys go to it
  // alone, and a press anywhere else in the window only closes it.
  void CloseChooser();
  bool ChooserOpen() const;
  TPictureChooser& Chooser() const { return *FChooser; }

  // A dropped image being made into a page: the work runs on a thread of
  // its own, the window takes no presses or keys meanwhile, and after a
  // moment the painting area says so and shows how far it got.
  bool MakingPage() const;
  TPageMaker& PageMaker() const { return *FPageMaker; }
  TPageProgress& PageProgress() const { return *FPageProgress; }
  // How long a page may take before the progress shows.
  static constexpr int PageProgressDelay = 300;

  // Runs Command; a silent abort ends it quietly, another error is shown in
  // the warning box.
  static void Guarded(const std::function<void()>& Command);

  // State, for the program's own parts and for tests.
  TPainter& Painter() const { return *FPainter; }
  TPaintGrid& PaintTray() const { return *FPaintTray; }
  TPaintGrid& MixTray() const { return *FMixTray; }
  TQSlider& BrushSizeSlider() const { return *FBrushSize; }
  TQBubbleHint& HintBubble() const { return *FHintBubble; }
  QScrollArea& PaintingArea() const { return *FPaintingArea; }
  TQFitLabel& TitleLabel() const { return *FTitleLabel; }
  TMainSounds& Sounds() const { return *FSounds; }
  TMainKeys& Keys() const { return *FKeys; }
  // Where the arrow keys steer: the screen cursor or the program's own
  // pointer.
  IPointer& Pointer() const { return *FPointer; }
  TToolCursors* ToolCursors() const { return FToolCursors.get(); }
  const TPaintPalettes& Palettes() const { return *FPalettes; }
  const std::vector<std::string>& Catalog() const { return FCatalog; }
  int CurrentPicture() const { return FCurrentPicture; }
  int CurrentPalette() const { return FCurrentPalette; }
  int CurrentWell() const { return FCurrentWell; }
  int DropperCount() const { return FDropper.Count(); }
  TColor DropperColor() const { return FDropper.Color(); }
  double Zoom() const { return FZoom; }
  double FitScaleValue() const { return FFitScale; }
  bool Started() const { return FStarted; }
  bool ColorChanged() const { return FColorChanged; }
  bool OutlineChanged() const { return FOutlineChanged; }
  bool HintsOn() const { return FHintsOn; }
  // The size in screen pixels the tool uses; 0 for a tool without one.
  int ToolSize(TPaintMode Mode) const;
  // The well's colour (0..31).
  TColor WellColor(int Index) const;
  // The tool button of a tool.
  TQImgButton* ToolButton(TPaintMode Mode) const;

 protected:
  void DeferredInit() override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void CaptionClicked(QPoint Pos) override;

 private:
  // A control placed by the layout tables: its design rectangle and the
  // window edges it keeps its distance to.
  struct TAnchored {
    QPointer<QWidget> Control;
    QRect Design;
    bool Left, Top, Right, Bottom;
  };

  // Creation (PaintF.cpp).
  void CreateControls();
  TQImgButton* AddButton(const char* Name, const char* Hint, const QRect& Design, bool Left,
                         bool Top, bool Right, bool Bottom);
  void Anchor(QWidget* Control, const QRect& Design, bool Left, bool Top, bool Right, bool Bottom);
  void LayoutControls();
  void CreateSounds();
  void LoadArtwork();
  // The window is on another screen: when that screen asks for the other
  // artwork set, the artwork and pointers are loaded again from it
  // (PaintF_Window.cpp).
  void FollowScreen();
  void ConnectEvents();
  void DisconnectEvents();

  // Painter and control events (PaintF_Commands.cpp, PaintF_Dropper.cpp).
  void ToolButtonDown(TQImgButton* Button, TPaintMode Mode);
  // Undo, or redo when Redo is set, with its cue and the changed flags.
  void StepHistory(bool Redo);
  void PainterSetPaintMode(TPaintMode Mode);
  void PainterSetPaintColor(TColor Color);
  void PainterClickAt(TPoint Pt);
  void BrushSizeChange();
  void PaintTrayClick(int Index);
  void MixTrayClick(int Index);
  void ShowHintFor(TQHintControl& Control);
  void HideHint();
  bool CanShowHints() const;
  void SaveOrPrint(bool Print);

  // The picture changed (an action ended): the autosave is told and its
  // timer armed.
  void AutosaveChanged();
  void ArmAutosave(std::optional<TAutosaveTime> When, TAutosaveTime Now);
  TAutosaveTime AutosaveNow() const;
  void ConnectAutosave();
  // The open picture's colouring could not be written (Message says why,
  // for the log): the child is told once per picture in plain words;
  // painting goes on and the stored files stay whole.
  void ColoringWriteFailed(const std::string& Message);
  // Keeps the open picture's colouring in memory after its write failed,
  // so that leaving the picture loses nothing.
  void KeepColoringInMemory();
  // What the settings store had to say at start (a damaged file moved
  // aside, settings only in memory), shown once the window is up.
  void ShowStoreNotice();
  // The colourings and settings that could not be kept, named at close.
  void ReportUnkeptAtClose();

  // The chooser's events (PaintF_Chooser.cpp).
  void ConnectChooser();
  void ChooserChose(int Index);

  // Dropped files (PaintF_Drop.cpp). Whether a drop can be taken now: not
  // while a dialog or the chooser is open.
  bool TakesDrops() const;
  // The first image among Files becomes a new colouring page at the end of
  // the catalog and opens; the parent's password is asked first when set.
  void AddDroppedPage(const std::vector<std::string>& Files);
  // The page is ready (or could not be made): it is written, added at the
  // end of the catalog and opened, or the child is told why not.
  void PageMade(TPageMaker::TResult& Result);
  void ConnectPageMaker();
  // The window's event filter is wanted while the chooser is open or a
  // page is being made.
  void UpdateEventFilter();

  // Closing (PaintF_Window.cpp).
  bool RunCloseSequence();
  void ApplicationStateChanged(Qt::ApplicationState State);

  // The open picture's entry and file names.
  bool PictureOpen() const;
  std::string CatalogFolder() const;
  void ClearChangedFlags();
  // Hides the painting area and forgets the open picture, so nothing of it
  // is stored under another entry's name.
  void CloseCurrentPicture();
  static TStayColored StayColored();
  TColoringFiles ColoringFiles(int Index) const;

  // The dialogs (PaintF_Dialogs.cpp).
  void RunInfoDialog(const std::string& Title, const std::string& Text,
                     const std::string& Subtitle, const std::string& LinkTarget = std::string());
  // Whether the answer was Yes.
  bool RunCloseDialog();
  void RunSaveDialog(const std::string& BaseName);
  void RunPrintDialog(const std::string& Title);
  void RunOptionsDialog();

  QLabel* FTitleImage = nullptr;
  TQFitLabel* FTitleLabel = nullptr;
  QWidget* FMainPanel = nullptr;
  QScrollArea* FPaintingArea = nullptr;
  TPainter* FPainter = nullptr;
  TPictureChooser* FChooser = nullptr;
  TPageProgress* FPageProgress = nullptr;
  std::unique_ptr<TPageMaker> FPageMaker;
  std::unique_ptr<TQDelay> FPageProgressDelay;
  TPaintGrid* FPaintTray = nullptr;
  TPaintGrid* FMixTray = nullptr;
  TQSlider* FBrushSize = nullptr;
  TQBubbleHint* FHintBubble = nullptr;
  TQImgButton* FBtnUndo = nullptr;
  TQImgButton* FBtnZoomOut = nullptr;
  TQImgButton* FBtnZoomIn = nullptr;
  TQImgButton* FBtnSave = nullptr;
  TQImgButton* FBtnPrint = nullptr;
  TQImgButton* FBtnInfo = nullptr;
  TQImgButton* FBtnPrevPic = nullptr;
  TQImgButton* FBtnNextPic = nullptr;
  TQImgButton* FBtnOptions = nullptr;
  TQImgButton* FBtnClose = nullptr;
  TQImgButton* FBtnRestore = nullptr;
  TQImgButton* FBtnMin = nullptr;
  TQImgButton* FBtnPrevPal = nullptr;
  TQImgButton* FBtnNextPal = nullptr;
  // In the order of TPaintMode.
  std::array<TQImgButton*, 7> FToolButtons{};
  std::vector<TAnchored> FAnchored;

  std::unique_ptr<TMainSounds> FSounds;
  std::unique_ptr<TToolCursors> FToolCursors;
  std::unique_ptr<TPaintPalettes> FPalettes;
  std::unique_ptr<IPointer> FOwnPointer;
  IPointer* FPointer = nullptr;
  std::unique_ptr<TMainKeys> FKeys;
  std::unique_ptr<TColoringAutosave> FAutosave;
  QTimer* FAutosaveTimer = nullptr;
  std::function<TAutosaveTime()> FAutosaveClock;
  // Entries whose failed colouring write has been shown.
  std::set<std::string> FColoringWarned;
  TUnkeptColorings FUnkept;
  TQCGraphic FPicture;
  std::vector<std::string> FCatalog;

  int FCurrentPicture = -1;
  // The painter holds the catalog entry FCurrentPicture.
  bool FPictureOpen = false;
  bool FColorChanged = false;
  bool FOutlineChanged = false;
  // Screen pixels: brush and masked brush, marker, eraser.
  int FBrushToolSize = 8;
  int FMarkerSize = 1;
  int FEraserSize = 4;
  double FZoom = 1.0;
  double FFitScale = 1.0;
  bool FStarted = false;
  int FCurrentPalette = 0;
  int FCurrentWell = -1;
  TDropper FDropper;
  bool FHintsOn = true;
  bool FUseImgCursors = false;
  // The close sequence has run to its end: the next close is accepted.
  bool FCloseConfirmed = false;
  bool FInCloseSequence = false;
};

}  // namespace tw
