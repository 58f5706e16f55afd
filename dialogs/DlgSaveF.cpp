#include "dialogs/DlgSaveF.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <utility>
#include <vector>

#include "controls/LabelFitU.h"
#include "controls/ModalRunU.h"
#include "controls/QImgButtonU.h"
#include "controls/QPanel.h"
#include "base/ErrorsU.h"
#include "dialogs/NumberedNameU.h"
#include "painter/StretchU.h"
#include "painter/image/ImageFileU.h"
#include "painter/qt/PainterQtU.h"
#include "pictures/QFoldersU.h"
#include "pictures/QUtilU.h"
#include "pictures/qt/ArtResourceU.h"
#include "settings/ProgramGlobalsU.h"

namespace tw {

namespace {

// Extensions by format (SaveMode).
constexpr std::array<const char*, 3> SaveExtensions = {".jpg", ".gif", ".bmp"};
constexpr int SmallSize = 0;
constexpr int LargeSize = 2;
constexpr int JpegQuality = 80;
// The part of the options panel that shows while it is folded in.
constexpr int PanelHeaderHeight = 32;
// Labels shrink no further than this when a long text must fit; a path
// stays larger and is shortened in the middle instead.
constexpr int MinLabelPixelSize = 8;
constexpr int MinPathPixelSize = 11;
// The pixel size and rectangle a label is designed for, kept on the label
// so a new text starts from them again.
constexpr const char* DesignPixelSizeProperty = "twDesignPixelSize";
constexpr const char* DesignRectProperty = "twDesignRect";

int ClampIndex(int Index) { return std::clamp(Index, 0, 2); }

QColor Navy() { return QColor(0, 0, 128); }

QFont InterfaceFont(int PixelSize, bool Bold) {
  QFont Font(InterfaceFontFamily());
  Font.setPixelSize(PixelSize);
  Font.setBold(Bold);
  return Font;
}

// A caption keeps this much room to the ends of its button's art.
constexpr int CaptionMargin = 4;
constexpr int ButtonPixelSize = 16;

// The caption in the button's bold font, shrunk until it fits between the
// margins.
void ShowButtonCaption(TQImgButton* Button, const QString& Caption) {
  QFont Font = InterfaceFont(ButtonPixelSize, true);
  const int Room = Button->width() - 2 * CaptionMargin;
  Font.setPixelSize(LargestFittingPixelSize(
      Font, ButtonPixelSize, MinLabelPixelSize, [&Caption, Room](const QFont& Candidate) {
        return QFontMetrics(Candidate).horizontalAdvance(Caption) <= Room;
      }));
  Button->SetFont(Font);
  Button->SetCaption(Caption);
}

QLabel* MakeLabel(QWidget* Parent, const char* Name, QRect Geometry, int PixelSize, bool Bold,
                  QColor Color, bool Wrap = false) {
  auto* Label = new QLabel(Parent);
  Label->setObjectName(QString::fromLatin1(Name));
  Label->setGeometry(Geometry);
  Label->setTextFormat(Qt::PlainText);
  Label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Label->setWordWrap(Wrap);
  Label->setFont(InterfaceFont(PixelSize, Bold));
  Label->setProperty(DesignPixelSizeProperty, PixelSize);
  Label->setProperty(DesignRectProperty, Geometry);
  QPalette Palette = Label->palette();
  Palette.setColor(QPalette::WindowText, Color);
  Label->setPalette(Palette);
  return Label;
}

TQImgButton* MakeButton(QWidget* Parent, const char* Name, QRect Geometry) {
  auto* Button = new TQImgButton(Parent);
  Button->setObjectName(QString::fromLatin1(Name));
  Button->setGeometry(Geometry);
  Button->setCursor(Qt::PointingHandCursor);
  return Button;
}

// The colour layer shrunk to a quarter or half of its width and height
// (at least one pixel), each pixel the mean of the block it covers.
TRaster24 ShrinkColorLayer(const TRaster24& Layer, int Size) {
  const int Divisor = Size == SmallSize ? 4 : 2;
  const TRect Target{0, 0, std::max(1, Layer.Width() / Divisor),
                     std::max(1, Layer.Height() / Divisor)};
  return StretchToScreen(Layer, 1.0 / Divisor, Target);
}

std::vector<uint8_t> EncodeForExtension(TRaster24 Picture, const std::string& Extension) {
  if (Extension == ".jpg") return EncodeJpeg(Picture, JpegQuality);
  if (Extension == ".gif") return EncodeGif(TBitmap(std::move(Picture)));
  return EncodeBmp(TBitmap(std::move(Picture)));
}

QString DisplayPath(const std::string& Path) {
  return QString::fromStdString(DisplayFolderNames(NativePath(Path)));
}

}  // namespace

void SaveDialogRun(TPainter& Painter, const std::string& BaseName) {
  auto Dialog = std::make_unique<TDSave>(MainForm());
  Dialog->SetPicture(Painter, BaseName);
  RunModalAndFree(std::move(Dialog));
}

TDSave::TDSave(QWidget* parent) : TfrmQDialog(parent) {
  setObjectName(QStringLiteral("DSave"));
  resize(DesignWidth, DesignHeight);
  CreateControls();
  SetTexts();
  LoadArtwork();
  FCollapseHeight = pnlAdvanced->height() - PanelHeaderHeight;
  SetDialogHeight(height() - FCollapseHeight);
  SelectMode(QCSetting().ReadSaveMode());
  SelectSize(QCSetting().ReadSaveSize());
  SetFolder(QCSetting().ReadPathSave());
}

TDSave::~TDSave() = default;

void TDSave::CreateControls() {
  const QColor Black(Qt::black);
  txtTitle = MakeLabel(this, "txtTitle", {16, 12, 449, 33}, 24, false, Navy());
  txtTitle->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  txtPrompt = MakeLabel(this, "txtPrompt", {16, 56, 453, 20}, 16, true, Black, true);
  txtFileName = MakeLabel(this, "txtFileName", {28, 80, 437, 16}, 15, false, Black, true);

  pnlAdvanced = new TQPanel(this);
  pnlAdvanced->setObjectName(QStringLiteral("pnlAdvanced"));
  pnlAdvanced->setGeometry(16, 108, 445, 192);
  btnAdvanced = MakeButton(pnlAdvanced, "btnAdvanced", {4, 0, 24, 24});
  txtAdvanced = MakeLabel(pnlAdvanced, "txtAdvanced", {32, 1, 100, 20}, 16, true, Black);
  txtAdvanced->setAutoFillBackground(true);

  const std::array<QLabel**, 3> SizeLabels = {&txtSm, &txtMd, &txtLg};
  const std::array<TQImgButton**, 3> SizeButtons = {&rbSm, &rbMd, &rbLg};
  const std::array<QLabel**, 3> ModeLabels = {&txtJPEG, &txtGIF, &txtBMP};
  const std::array<TQImgButton**, 3> ModeButtons = {&rbJPEG, &rbGIF, &rbBMP};
  const std::array<const char*, 3> FormatNames = {"JPEG", "GIF", "BMP"};
  const std::array<const char*, 3> SizeNames = {"Sm", "Md", "Lg"};
  for (int i = 0; i < 3; ++i) {
    const int Top = 36 + 24 * i;
    const std::string Size = SizeNames[i], Format = FormatNames[i];
    *SizeButtons[i] = MakeButton(pnlAdvanced, ("rb" + Size).c_str(), {16, Top, 18, 18});
    *SizeLabels[i] =
        MakeLabel(pnlAdvanced, ("txt" + Size).c_str(), {40, Top, 185, 20}, 15, false, Black);
    *ModeButtons[i] = MakeButton(pnlAdvanced, ("rb" + Format).c_str(), {268, Top, 18, 18});
    *ModeLabels[i] =
        MakeLabel(pnlAdvanced, ("txt" + Format).c_str(), {292, Top, 85, 20}, 15, false, Black);
    ShowLabelText(*ModeLabels[i], QString::fromLatin1(FormatNames[i]));
    FSizeButtons[i] = *SizeButtons[i];
    FModeButtons[i] = *ModeButtons[i];
    FSizeButtons[i]->OnClick = [this, i](TQHintControl&) { SelectSize(i); };
    FModeButtons[i]->OnClick = [this, i](TQHintControl&) { SelectMode(i); };
    FSizeButtons[i]->SetGroup(1);
    FModeButtons[i]->SetGroup(2);
  }

  txtPath = MakeLabel(pnlAdvanced, "txtPath", {8, 125, 429, 20}, 16, true, Black);
  btnPath = MakeButton(pnlAdvanced, "btnPath", {16, 148, 24, 24});
  txtCurrentPath =
      MakeLabel(pnlAdvanced, "txtCurrentPath", {44, 153, 397, 16}, 13, true, Black, true);

  btnCancel = MakeButton(this, "btnCancel", {213, 311, 120, 36});
  btnSave = MakeButton(this, "btnSave", {341, 311, 124, 36});
  for (TQImgButton* Button : {btnCancel, btnSave}) Button->SetFontColor(clWhite);
  btnCancel->SetModalResult(mrCancel);
  btnSave->OnClick = [this](TQHintControl&) {
    if (Save()) SetModalResult(mrOk);
  };
  SetDefaultButton(btnSave);
  btnAdvanced->OnClick = [this](TQHintControl&) { ToggleAdvanced(); };
  btnPath->OnClick = [this](TQHintControl&) { ChooseFolder(); };

  for (QLabel* Label :
       {txtAdvanced, txtPath, txtCurrentPath, txtSm, txtMd, txtLg, txtJPEG, txtGIF, txtBMP}) {
    Label->setCursor(Qt::PointingHandCursor);
    Label->installEventFilter(this);
  }
}

void TDSave::SetTexts() {
  ShowLabelText(txtTitle, Text(QStringLiteral("Title")));
  ShowLabelText(txtPrompt, Text(QStringLiteral("Prompt")));
  ShowLabelText(txtAdvanced, QLatin1Char(' ') + Text(QStringLiteral("Options")) + QLatin1Char(' '));
  ShowButtonCaption(btnCancel, Text(QStringLiteral("Cancel")));
  ShowButtonCaption(btnSave, Text(QStringLiteral("Save")));
  ShowLabelText(txtPath, Text(QStringLiteral("Path")));
}

void TDSave::LoadArtwork() {
  QImage Group;
  LoadPngResource(Group, QStringLiteral("grpBlue"));
  pnlAdvanced->SetSliceSettings(TSlice9Settings{4, 4, 13, 4, false, false});
  pnlAdvanced->SetPicture(Group);
  // The options header sits on the panel's inside colour and hides the
  // frame line behind it.
  QPalette Palette = txtAdvanced->palette();
  // The slice margins are design pixels; the denser set has more art pixels
  // to each.
  const QPoint Inside = QPoint(pnlAdvanced->WLeft(), pnlAdvanced->HTop()) *
                        Group.devicePixelRatio();
  Palette.setColor(QPalette::Window, Group.pixelColor(Inside));
  txtAdvanced->setPalette(Palette);

  btnAdvanced->LoadPngPictures(QStringLiteral("exp"));
  btnPath->LoadPngPictures(QStringLiteral("btnPath"));
  btnCancel->LoadPngPictures(QStringLiteral("btnRed"));
  btnSave->LoadPngPictures(QStringLiteral("btnGreen"));
  for (int i = 0; i < 3; ++i) {
    FSizeButtons[i]->LoadPngPictures(QStringLiteral("opt"));
    FModeButtons[i]->LoadPngPictures(QStringLiteral("opt"));
  }
}

void TDSave::SetPicture(TPainter& Painter, const std::string& BaseName) {
  FPainter = &Painter;
  FBaseName = BaseName;
  UpdateFileName();
  const int64_t W = Painter.UnscaledWidth();
  const int64_t H = Painter.UnscaledHeight();
  ShowLabelText(txtSm, FormatText(QStringLiteral("Small"), {W / 4, H / 4}));
  ShowLabelText(txtMd, FormatText(QStringLiteral("Medium"), {W / 2, H / 2}));
  ShowLabelText(txtLg, FormatText(QStringLiteral("Large"), {W, H}));
}

void TDSave::SelectMode(int Index) {
  FMode = ClampIndex(Index);
  for (int i = 0; i < 3; ++i) FModeButtons[i]->SetDown(i == FMode);
  UpdateFileName();
}

void TDSave::SelectSize(int Index) {
  FSize = ClampIndex(Index);
  for (int i = 0; i < 3; ++i) FSizeButtons[i]->SetDown(i == FSize);
}

void TDSave::SetFolder(const std::string& Path) {
  FFolder = Path;
  if (FFolder.empty() || (FFolder.back() != '\\' && FFolder.back() != '/')) FFolder += '\\';
  ShowLabelText(txtCurrentPath, DisplayPath(FFolder), true);
  UpdateFileName();
}

void TDSave::UpdateFileName() {
  // The name keeps the folder as written; the disk is asked with native
  // separators.
  FFileName = FirstFreeNumberedName(FFolder + FBaseName, SaveExtensions[size_t(FMode)],
                                    [](const std::string& Name) {
                                      return NameTakenOnDisk(NativePath(Name));
                                    });
  ShowLabelText(txtFileName, DisplayPath(FFileName), true);
}

bool TDSave::BrowseForFolder(const QString& Title, const QString& Root, QString& Folder) {
  QString Start = Folder;
  if (!Start.isEmpty() && !QFileInfo(Start).isDir()) Start.clear();
  bool Chosen = false;
  if (OnBrowseForFolder) {
    Chosen = OnBrowseForFolder(Title, Root, Start);
  } else {
    const QString Answer = QFileDialog::getExistingDirectory(
        this, Title, Start.isEmpty() ? Root : Start,
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    Chosen = !Answer.isEmpty();
    if (Chosen) Start = Answer;
  }
  if (Chosen) Folder = Start;
  return Chosen;
}

void TDSave::ChooseFolder() {
  QString Folder = QString::fromStdString(NativePath(FFolder));
  if (BrowseForFolder(txtPath->text(), QString::fromStdString(PicturesFolder()), Folder))
    SetFolder(Folder.toStdString());
}

void TDSave::ToggleAdvanced() {
  const bool WasExpanded = btnAdvanced->Down();
  btnAdvanced->SetDown(!WasExpanded);
  SetDialogHeight(WasExpanded ? height() - FCollapseHeight : height() + FCollapseHeight);
}

bool TDSave::Expanded() const { return btnAdvanced->Down(); }

bool TDSave::Save() {
  try {
    TQCSetting& Settings = QCSetting();
    Settings.WriteSaveMode(FMode);
    Settings.WriteSaveSize(FSize);
    Settings.WritePathSave(FFolder);
    WritePicture();
  } catch (const EAbort&) {
    throw;
  } catch (const std::exception& Error) {
    ShowWarning(Error.what());
    return false;
  }
  return true;
}

void TDSave::WritePicture() {
  if (!FPainter || !FPainter->HasPicture()) throw EError("There is no picture to save.");
  const std::vector<uint8_t> Bytes = EncodeForExtension(
      FSize == LargeSize ? FPainter->ColorLayer() : ShrinkColorLayer(FPainter->ColorLayer(), FSize),
      SaveExtensions[size_t(FMode)]);
  // Another program may take the proposed name while the dialog is open or
  // even during the write; the picture then goes to the next free number,
  // and no file is ever replaced.
  for (int Attempt = 0; Attempt < 1000; ++Attempt) {
    if (WriteNewFileAtomically(NativePath(FFileName), Bytes)) return;
    UpdateFileName();
  }
  throw EError("The picture cannot be saved: no free file name was found in \"" +
               NativePath(FFolder) + "\".");
}

void TDSave::DeferredInit() { move(x(), y() - FCollapseHeight / 2); }

void TDSave::resizeEvent(QResizeEvent* event) {
  ArrangeAnchored();
  TfrmQDialog::resizeEvent(event);
}

void TDSave::SetDialogHeight(int Height) {
  resize(width(), Height);
  // A hidden window gets its resize event only when shown; the layout
  // must follow at once.
  ArrangeAnchored();
}

void TDSave::ArrangeAnchored() {
  if (!pnlAdvanced) return;
  // The distances to the right and bottom edges of the designed layout.
  const int PanelRight = DesignWidth - (16 + 445);
  const int PanelBottom = DesignHeight - (108 + 192);
  const int ButtonsBottom = DesignHeight - 311;
  pnlAdvanced->setGeometry(16, 108, width() - 16 - PanelRight,
                           std::max(0, height() - 108 - PanelBottom));
  btnCancel->move(btnCancel->x(), height() - ButtonsBottom);
  btnSave->move(btnSave->x(), height() - ButtonsBottom);
}

bool TDSave::eventFilter(QObject* Watched, QEvent* Event) {
  auto* Label = qobject_cast<QLabel*>(Watched);
  if (!Label) return TfrmQDialog::eventFilter(Watched, Event);
  if (Event->type() == QEvent::MouseButtonPress) {
    if (static_cast<QMouseEvent*>(Event)->button() != Qt::LeftButton) return false;
    FPressedLabel = Label;
    return true;
  }
  if (Event->type() != QEvent::MouseButtonRelease) return false;
  const auto* Mouse = static_cast<QMouseEvent*>(Event);
  if (Mouse->button() != Qt::LeftButton || FPressedLabel != Label) return false;
  FPressedLabel = nullptr;
  // A click is a press and a release on the same label.
  if (!Label->rect().contains(Mouse->position().toPoint())) return false;
  if (Label == txtAdvanced || Label == txtPath) {
    ToggleAdvanced();
  } else if (Label == txtCurrentPath) {
    ChooseFolder();
  } else {
    const std::array<QLabel*, 3> SizeLabels = {txtSm, txtMd, txtLg};
    const std::array<QLabel*, 3> ModeLabels = {txtJPEG, txtGIF, txtBMP};
    for (int Tag = 0; Tag < 3; ++Tag) {
      if (Label == SizeLabels[Tag]) SelectSize(Tag);
      if (Label == ModeLabels[Tag]) SelectMode(Tag);
    }
  }
  return true;
}

void TDSave::ShowLabelText(QLabel* Label, const QString& Text, bool IsPath) {
  const QRect Design = Label->property(DesignRectProperty).toRect();
  Label->setText(Text);
  Label->setToolTip(QString());
  FitLabelToDesign(Label, Design, Label->property(DesignPixelSizeProperty).toInt(),
                   IsPath ? MinPathPixelSize : MinLabelPixelSize);
  if (!IsPath) return;
  const QFont Font = Label->font();
  const int Flags = int(Label->alignment()) | (Label->wordWrap() ? int(Qt::TextWordWrap) : 0);
  if (TextFitsDesign(Font, Flags, Text, Design)) return;
  // Still too long at the smallest size: keep its start and its end (the
  // file name), and give the whole path as the label's tip.
  Label->setText(QFontMetrics(Font).elidedText(Text, Qt::ElideMiddle, Design.width()));
  Label->setToolTip(Text);
  FitLabelToDesign(Label, Design, Font.pixelSize(), Font.pixelSize());
}

}  // namespace tw
