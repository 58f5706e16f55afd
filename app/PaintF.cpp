// TFMain's creation in its fixed step order, the layout of its controls by
// design position and anchors, the deferred start and the teardown.
#include "app/PaintF.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

#include "app/ColoringAutosaveU.h"
#include "app/MainSoundsU.h"
#include "app/OwnPointerU.h"
#include "app/PageProgressU.h"
#include "app/PictureChooserU.h"
#include "app/ThumbnailKeyU.h"
#include "controls/QBubbleHintU.h"
#include "controls/QDelayClockU.h"
#include "controls/QDialogF.h"
#include "controls/QFitLabelU.h"
#include "controls/QImgButtonU.h"
#include "controls/QSliderU.h"
#include "painter/image/ImageFileU.h"
#include "painter/qt/PainterQtU.h"
#include "palette/PaletteU.h"
#include "controls/PaintGridU.h"
#include "palette/qt/ToolCursorsU.h"
#include "pictures/QFoldersU.h"
#include "pictures/QUtilU.h"
#include "pictures/qt/ArtResourceU.h"
#include "settings/ProgramGlobalsU.h"

namespace tw {
namespace {

// The painting area's background, $E8F5FD.
constexpr QRgb PaintingAreaBackground = qRgb(253, 245, 232);
constexpr TColor TrayEdgeColor = 0xA7A7A7;
// A history deeper than this would hold hundreds of picture copies.
constexpr int MaxHistoryLimit = 100;

}  // namespace

TFMain::TFMain(QWidget* parent, IPointer* Pointer) : TfrmQBase(parent) {
  setObjectName("FMain");
  // Step 1: the base form with all its controls, and the global reference
  // every dialog is owned through.
  CreateControls();
  SetMainForm(this);
  if (!Pointer) {
    FOwnPointer = CreatePlatformPointer();
    Pointer = FOwnPointer.get();
  }
  FPointer = Pointer;
  FKeys = std::make_unique<TMainKeys>(*this, *Pointer);
  SetKeySteering(FKeys.get());

  // Step 2: the language, and keyed error messages in it.
  TQCSetting& settings = QCSetting();
  Lang().SetLanguage(settings.ReadLanguage());
  OnTranslate = [](const std::string& Key) { return Lang().GetText(Key); };
  FHintsOn = settings.ReadHints();

  // Step 3.
  setWindowTitle("Tintwell");
  // A parent drops image files on the window to make colouring pages.
  setAcceptDrops(true);
  FCurrentPicture = -1;
  FZoom = 1.0;
  FFitScale = 1.0;
  SetResizable(true);
  FCurrentWell = -1;
  FUseImgCursors = settings.ReadUseImgCursors();
  FToolCursors = std::make_unique<TToolCursors>(FUseImgCursors);
  CreateSounds();

  // Step 4: tool sizes, entries 5, 1 and 3 of the size table.
  FBrushToolSize = BrushSizes[4];
  FMarkerSize = BrushSizes[0];
  FEraserSize = BrushSizes[2];
  FPalettes = std::make_unique<TPaintPalettes>(MaxPaletteColors);
  settings.LoadPalettes(*FPalettes, true);

  // Step 5: the picture object is a member; the catalog list.
  FPicture.Clear();
  settings.ReadCatalog(FCatalog);

  // Step 6.
  FPainter->MaxHistory = std::clamp<int>(settings.ReadMaxHistory(), 0, MaxHistoryLimit);
  FMixTray->SetGridSize(MixWellCount, 1);

  // Step 7: background, title and then every button and the bubble, from
  // the artwork set of the screen the window opens on.
  if (const QScreen* opensOn = screen()) SetScreenArtScale(ArtScaleFor(opensOn->devicePixelRatio()));
  LoadArtwork();
  ConnectAutosave();
  ConnectEvents();
  ConnectChooser();
  ConnectPageMaker();
  // Until a picture opens the title line is empty.
  FTitleLabel->clear();
  LayoutControls();
}

TFMain::~TFMain() {
  DisconnectEvents();
  CloseChooser();
  FChooser->OnChoose = nullptr;
  FChooser->OnClose = nullptr;
  // A page still being made is forgotten; its thread is joined.
  FPageProgressDelay.reset();
  FPageMaker.reset();
  HideHint();
  // A write still running ends; the writer's thread is joined.
  FAutosaveTimer->stop();
  FAutosave.reset();
  // The sounds, the cursors and the palettes go first; the picture, the
  // catalog and the controls follow with the members and the base form.
  FSounds.reset();
  FToolCursors.reset();
  FPalettes.reset();
  if (MainForm() == this) SetMainForm(nullptr);
  // Artwork loaded without the window comes from the primary screen's set.
  SetScreenArtScale(0);
  if (KeySteering() == FKeys.get()) SetKeySteering(nullptr);
}

void TFMain::CreateControls() {
  QFont base = font();
  base.setFamily(InterfaceFontFamily());
  base.setPointSize(8);
  setFont(base);

  FTitleImage = new QLabel(this);
  FTitleImage->setObjectName("imgTitle");
  FTitleImage->setAttribute(Qt::WA_TransparentForMouseEvents);
  Anchor(FTitleImage, QRect(8, 8, 0, 0), true, true, false, false);

  FTitleLabel = new TQFitLabel(this);
  FTitleLabel->setObjectName("lblTitle");
  FTitleLabel->setAttribute(Qt::WA_TranslucentBackground);
  FTitleLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
  QFont titleFont(InterfaceFontFamily());
  titleFont.setPixelSize(16);
  titleFont.setBold(true);
  FTitleLabel->setFont(titleFont);
  QPalette titlePalette = FTitleLabel->palette();
  titlePalette.setColor(QPalette::WindowText, Qt::black);
  FTitleLabel->setPalette(titlePalette);
  FTitleLabel->setText("title and author");
  // The white plate of the title art spans (9, 26)-(292, 47) of the picture;
  // the text keeps 6 pixels off its rounded ends.
  Anchor(FTitleLabel, QRect(23, 34, 271, 21), true, true, false, false);

  FMainPanel = new QWidget(this);
  FMainPanel->setObjectName("pnlMain");
  Anchor(FMainPanel, QRect(144, 64, 608, 432), true, true, true, true);
  FPaintingArea = new QScrollArea(FMainPanel);
  FPaintingArea->setObjectName("sbPainter");
  FPaintingArea->setFrameShape(QFrame::NoFrame);
  FPaintingArea->setWidgetResizable(false);
  FPaintingArea->setAlignment(Qt::AlignCenter);
  QPalette areaPalette = FPaintingArea->palette();
  areaPalette.setColor(QPalette::Window, QColor(PaintingAreaBackground));
  FPaintingArea->setPalette(areaPalette);
  FPaintingArea->viewport()->setAutoFillBackground(true);
  FPaintingArea->viewport()->setPalette(areaPalette);
  FPaintingArea->setFocusPolicy(Qt::NoFocus);
  FPaintingArea->horizontalScrollBar()->setFocusPolicy(Qt::NoFocus);
  FPaintingArea->verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
  FPaintingArea->hide();
  FPainter = new TPainter;
  FPainter->setObjectName("Painter");
  FPainter->SetAutoSize(true);
  FPainter->MaxHistory = 10;
  FPainter->SetBrushSize(12);
  FPainter->SetPaintColor(1);
  FPainter->SetPaintMode(pmFill);
  FPainter->SetMixMode(mmOver);
  FPainter->SetScale(1.0);
  FPaintingArea->setWidget(FPainter);
  FChooser = new TPictureChooser(FMainPanel);
  FPageProgress = new TPageProgress(FMainPanel);
  FPageMaker = std::make_unique<TPageMaker>();
  FPageProgressDelay = CurrentDelayClock().MakeDelay();

  const int commandLefts[] = {315, 363, 411, 459, 507, 555, 603, 651, 699};
  struct TCommand {
    const char* Name;
    const char* Hint;
    TQImgButton** Field;
  };
  const TCommand commands[] = {
      {"btnUndo", "Undo", &FBtnUndo},          {"btnZoomOut", "ZoomOut", &FBtnZoomOut},
      {"btnZoomIn", "ZoomIn", &FBtnZoomIn},    {"btnSave", "Save", &FBtnSave},
      {"btnPrint", "Print", &FBtnPrint},       {"btnInfo", "Info", &FBtnInfo},
      {"btnPrevPic", "PrevPic", &FBtnPrevPic}, {"btnNextPic", "NextPic", &FBtnNextPic},
      {"btnOptions", "Options", &FBtnOptions}};
  for (int i = 0; i < 9; ++i)
    *commands[i].Field = AddButton(commands[i].Name, commands[i].Hint,
                                   QRect(commandLefts[i], 12, 40, 40), false, true, true, false);
  FBtnClose = AddButton("btnClose", "", QRect(747, 6, 18, 18), false, true, true, false);
  FBtnRestore = AddButton("btnRestore", "", QRect(747, 27, 18, 18), false, true, true, false);
  FBtnMin = AddButton("btnMin", "", QRect(747, 48, 18, 9), false, true, true, false);
  FBtnPrevPal = AddButton("btnPrevPal", "PrevPal", QRect(22, 64, 48, 36), true, true, false, false);
  FBtnNextPal = AddButton("btnNextPal", "NextPal", QRect(74, 64, 48, 36), true, true, false, false);

  FPaintTray = new TPaintGrid(this);
  FPaintTray->setObjectName("PaintTray");
  FPaintTray->SetHint("PaintTray");
  FPaintTray->SetEdgeColor(TrayEdgeColor);
  FPaintTray->SetSpacing(4);
  Anchor(FPaintTray, QRect(8, 105, 126, 353), true, true, false, true);

  FBrushSize = new TQSlider(this);
  FBrushSize->setObjectName("brushSize");
  FBrushSize->SetHint("BrushSize");
  FBrushSize->SetMinValue(0);
  FBrushSize->SetMaxValue(8);
  Anchor(FBrushSize, QRect(8, 472, 126, 18), true, false, false, true);

  const char* toolNames[] = {"btnFill",   "btnBrush",  "btnMBrush", "btnDropper",
                             "btnMarker", "btnEraser", "btnWash"};
  const char* toolHints[] = {"Fill", "Brush", "MBrush", "Dropper", "Marker", "Eraser", "Wash"};
  for (int i = 0; i < 7; ++i)
    FToolButtons[i] = AddButton(toolNames[i], toolHints[i], QRect(8 + 52 * i, 504, 48, 48), true,
                                false, false, true);

  FMixTray = new TPaintGrid(this);
  FMixTray->setObjectName("MixTray");
  FMixTray->SetHint("MixTray");
  FMixTray->SetEdgeColor(TrayEdgeColor);
  FMixTray->SetSpacing(4);
  Anchor(FMixTray, QRect(384, 504, 372, 48), true, false, true, true);

  FHintBubble = new TQBubbleHint(this);
  FHintBubble->setObjectName("hintBubble");
  FHintBubble->hide();
  FHintBubble->move(39, 153);
  FHintBubble->resize(200, 100);
  FHintBubble->SetDir(dirDownRight);
  FHintBubble->SetMarginTop(8);
  FHintBubble->SetMarginLeft(8);
  FHintBubble->SetMarginBottom(48);
  FHintBubble->SetMarginRight(8);
  FHintBubble->SetSpacing(4);
  FHintBubble->SetOverlap(0);

  // The window takes every key itself; no control ever holds the focus.
  setFocusPolicy(Qt::StrongFocus);
  for (QWidget* child : findChildren<QWidget*>()) child->setFocusPolicy(Qt::NoFocus);
  setMinimumSize(MinimumWidth, MinimumHeight);
  resize(DesignWidth, DesignHeight);
  // Centred on the screen until the deferred start maximises it, and no
  // larger than the screen where it holds the window's least size.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    // A pixel spare: at a fractional scale the screen's size in logical
    // pixels is rounded, up as often as down.
    const QRect available = screen->availableGeometry().adjusted(0, 0, -1, -1);
    resize(std::max(MinimumWidth, std::min(DesignWidth, available.width())),
           std::max(MinimumHeight, std::min(DesignHeight, available.height())));
    move(available.center() - rect().center());
  }
}

TQImgButton* TFMain::AddButton(const char* Name, const char* Hint, const QRect& Design, bool Left,
                               bool Top, bool Right, bool Bottom) {
  auto* button = new TQImgButton(this);
  button->setObjectName(Name);
  button->SetHint(Hint);
  Anchor(button, Design, Left, Top, Right, Bottom);
  return button;
}

void TFMain::Anchor(QWidget* Control, const QRect& Design, bool Left, bool Top, bool Right,
                    bool Bottom) {
  FAnchored.push_back({Control, Design, Left, Top, Right, Bottom});
  Control->setGeometry(Design);
}

void TFMain::LayoutControls() {
  // An anchored edge keeps its distance to its window edge; a control
  // anchored to neither edge of an axis keeps its place and size there.
  const int dw = width() - DesignWidth;
  const int dh = height() - DesignHeight;
  for (const TAnchored& a : FAnchored) {
    if (!a.Control) continue;
    QRect r = a.Design;
    if (a.Control == FTitleImage && !FTitleImage->pixmap().isNull())
      r.setSize(FTitleImage->pixmap().deviceIndependentSize().toSize());
    if (a.Right) {
      if (a.Left)
        r.setWidth(std::max(0, r.width() + dw));
      else
        r.moveLeft(r.left() + dw);
    }
    if (a.Bottom) {
      if (a.Top)
        r.setHeight(std::max(0, r.height() + dh));
      else
        r.moveTop(r.top() + dh);
    }
    a.Control->setGeometry(r);
  }
  FPaintingArea->setGeometry(FMainPanel->rect());
  FChooser->setGeometry(FMainPanel->rect());
  FPageProgress->setGeometry(FMainPanel->rect());
}

void TFMain::CreateSounds() { FSounds = std::make_unique<TMainSounds>(); }

void TFMain::LoadArtwork() {
  SetWLeft(144);
  SetWRight(29);
  SetHTop(64);
  SetHBottom(64);
  SetPicture(JpegResource("main"));
  FTitleImage->setPixmap(QPixmap::fromImage(JpegResource("title")));
  FTitleImage->resize(FTitleImage->pixmap().deviceIndependentSize().toSize());
  SetCaptionRect(FTitleImage->geometry());

  const std::pair<TQImgButton*, const char*> art[] = {{FBtnClose, "Close"},
                                                      {FBtnRestore, "Restore"},
                                                      {FBtnMin, "Min"},
                                                      {FBtnUndo, "Undo"},
                                                      {FBtnZoomOut, "ZoomOut"},
                                                      {FBtnZoomIn, "ZoomIn"},
                                                      {FBtnPrint, "Print"},
                                                      {FBtnSave, "Save"},
                                                      {FBtnInfo, "Info"},
                                                      {FBtnPrevPic, "PrevPic"},
                                                      {FBtnNextPic, "NextPic"},
                                                      {FBtnOptions, "Options"},
                                                      {FBtnPrevPal, "PrevPal"},
                                                      {FBtnNextPal, "NextPal"},
                                                      {FToolButtons[pmFill], "Fill"},
                                                      {FToolButtons[pmMBrush], "MBrush"},
                                                      {FToolButtons[pmBrush], "Brush"},
                                                      {FToolButtons[pmDropper], "Dropper"},
                                                      {FToolButtons[pmMarker], "Marker"},
                                                      {FToolButtons[pmEraser], "Eraser"},
                                                      {FToolButtons[pmTap], "Tap"}};
  for (const auto& [button, name] : art) {
    const QString base = QString::fromLatin1(name);
    button->LoadJpegPictures(base + "0", base + "1", base + "2", base + "2");
  }
  FBrushSize->SetPicBackground(PngResource("sizeTrack"));
  FBrushSize->SetPicThumb(PngResource("sizeThumb"));

  FHintBubble->SetPicDownLeft(PngResource("hint_dl"));
  FHintBubble->SetPicDownRight(PngResource("hint_dr"));
  FHintBubble->SetPicUpLeft(PngResource("hint_ul"));
  FHintBubble->SetPicUpRight(PngResource("hint_ur"));
}

void TFMain::DeferredInit() {
  Guarded([this] {
    showMaximized();
    setCursor(ProgramCursor(TProgramCursor::Arrow));
    SetDropper(0, clNone);
    SelectPalette(0);
    SelectWell(0);
    // The index of CurrentPicture, compared without regard to case; the
    // first entry when it is not in the list.
    const QString current = QString::fromStdString(QCSetting().ReadCurrentPicture());
    int start = 0;
    for (size_t i = 0; i < FCatalog.size(); ++i) {
      if (QString::fromStdString(FCatalog[i]).compare(current, Qt::CaseInsensitive) == 0) {
        start = int(i);
        break;
      }
    }
    // A write of an earlier run that was killed before its rename left its
    // temporary file behind, in the colourings or the save folder; only
    // files of the program's own naming whose writer is gone are removed.
    RemoveStaleTemporaryFiles(ColoringFolder());
    RemoveStaleTemporaryFiles(ThumbnailFolder());
    RemoveStaleTemporaryFiles(NativePath(QCSetting().ReadPathSave()));
    // A picture that cannot be opened ends only the opening; the rest of
    // the start runs in every case.
    Guarded([&] { OpenPicture(start); });
    std::vector<std::string> mixed;
    QCSetting().ReadMixedColors(mixed);
    const std::vector<TColor> colors = TQCSetting::MixedColorsFromTexts(mixed);
    for (size_t i = 0; i < colors.size() && int(i) < MixWellCount; ++i)
      FMixTray->SetColor(int(i), colors[i]);
    FPainter->SetPaintMode(pmFill);
    UpdateToolButtons(FToolButtons[pmFill]);
    FStarted = true;
    FSounds->SetStarted(true);
    connect(
        qApp, &QGuiApplication::applicationStateChanged, this,
        [this](Qt::ApplicationState State) { Guarded([&] { ApplicationStateChanged(State); }); });
    MusicFadeIn();
  });
  Guarded([this] { ShowStoreNotice(); });
}

void TFMain::ShowStoreNotice() {
  const TStoreNotice& notice = Setting().Notice();
  if (notice.InMemory)
    ShowMessageKey("capSettings", "msgSettingsInMemory", {});
  else if (!notice.AsidePath.empty())
    ShowMessageKey("capSettings", "msgSettingsDamaged", {notice.AsidePath});
}

void TFMain::resizeEvent(QResizeEvent* event) {
  TfrmQBase::resizeEvent(event);
  LayoutControls();
  Guarded([this] {
    if (PictureOpen()) UpdateFitScale();
  });
  update();
}

}  // namespace tw
