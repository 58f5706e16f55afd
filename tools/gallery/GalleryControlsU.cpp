// The gallery's control sections: the image buttons in every look, the
// sliders, the paint and mix trays and the bubble hint in its four
// directions.
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <array>
#include <memory>

#include "GalleryU.h"
#include "controls/QBubbleHintU.h"
#include "controls/QImgButtonU.h"
#include "controls/QPanel.h"
#include "controls/QSliderU.h"
#include "controls/PaintGridU.h"
#include "pictures/QUtilU.h"
#include "pictures/qt/ArtResourceU.h"

namespace tw::gallery {

namespace {

// The controls of the main window that have a hint.
const std::array<const char*, 21> HintKeys = {
    "Undo",    "ZoomOut", "ZoomIn",  "Save",    "Print",     "Info",      "PrevPic",
    "NextPic", "PrevPal", "NextPal", "Fill",    "Brush",     "MBrush",    "Dropper",
    "Marker",  "Eraser",  "Wash",    "Options", "BrushSize", "PaintTray", "MixTray"};

QString Translated(const QString& Key) {
  return QString::fromStdString(TranslateKey(Key.toStdString()));
}

// A button that always shows Picture; Down only moves the caption.
TQImgButton* FixedLookButton(const QImage& Picture, const QString& Caption, bool Down) {
  auto* Button = new TQImgButton;
  Button->SetPictures(Picture, Picture, Picture, Picture);
  Button->setFixedSize(DesignSize(Picture));
  if (!Caption.isEmpty()) {
    QFont Font(InterfaceFontFamily());
    Font.setPixelSize(16);
    Font.setBold(true);
    Button->SetFont(Font);
    Button->SetFontColor(clWhite);
    Button->SetCaption(Caption);
  }
  Button->SetDown(Down);
  return Button;
}

// A row of widgets side by side with a small gap.
QWidget* Row(std::initializer_list<QWidget*> Items, QWidget* Host = nullptr) {
  auto* Box = Host ? Host : new QWidget;
  auto* Layout = new QHBoxLayout(Box);
  Layout->setContentsMargins(Host ? 10 : 0, Host ? 10 : 0, Host ? 10 : 0, Host ? 10 : 0);
  Layout->setSpacing(6);
  for (QWidget* Item : Items) Layout->addWidget(Item, 0, Qt::AlignVCenter);
  return Box;
}

// A panel with the dialog art, the background the dialog buttons sit on.
TQPanel* DialogBackdrop() {
  auto* Panel = new TQPanel;
  Panel->SetSliceSettings(TSlice9Settings{8, 8, 8, 8, false, false});
  Panel->SetPicture(JpegResource(QStringLiteral("dialog")));
  return Panel;
}

TQSlider* Slider(const QString& Art, int Max, int Value) {
  auto* Result = new TQSlider;
  Result->SetPicBackground(PngResource(Art + "Track"));
  Result->SetPicThumb(PngResource(Art + "Thumb"));
  Result->SetMinValue(0);
  Result->SetMaxValue(Max);
  Result->SetValue(Value);
  Result->setFixedSize(126, 18);
  return Result;
}

TPaintGrid* Tray(int Columns, int Rows, QSize Size, const std::vector<TColor>& Colors) {
  auto* Grid = new TPaintGrid;
  Grid->SetGridSize(Columns, Rows);
  Grid->SetEdgeColor(0xA7A7A7);
  Grid->SetSpacing(4);
  for (int32_t I = 0; I < Grid->Count() && I < int32_t(Colors.size()); ++I) {
    Grid->SetColor(I, Colors[size_t(I)]);
  }
  Grid->setFixedSize(Size);
  return Grid;
}

}  // namespace

QWidget* MainButtonsSection(QWidget* Parent) {
  TFlowBox* Cells = nullptr;
  QWidget* Result =
      Section(Parent, QStringLiteral("Main window buttons (normal, hover, down, live)"), Cells);
  for (const char* Name :
       {"Close", "Restore", "Min",     "Undo",    "ZoomOut", "ZoomIn",  "Save",
        "Print", "Info",    "PrevPic", "NextPic", "Options", "PrevPal", "NextPal",
        "Fill",  "Brush",   "MBrush",  "Dropper", "Marker",  "Eraser",  "Tap"}) {
    const QString Base = QString::fromLatin1(Name);
    auto* Live = new TQImgButton;
    Live->LoadJpegPictures(Base + "0", Base + "1", Base + "2", Base + "2");
    Live->setFixedSize(DesignSize(Live->Picture(TQImgButton::lkNormal)));
    Live->setToolTip(QStringLiteral("Live: hover and press it"));
    Cells->AddCell(Cell(Row({FixedLookButton(JpegResource(Base + "0"), QString(), false),
                             FixedLookButton(JpegResource(Base + "1"), QString(), false),
                             FixedLookButton(JpegResource(Base + "2"), QString(), false), Live}),
                        Base));
  }
  return Result;
}

QWidget* DialogButtonsSection(QWidget* Parent) {
  TFlowBox* Cells = nullptr;
  QWidget* Result = Section(
      Parent, QStringLiteral("Dialog buttons on the dialog art (normal, hover, down, down+hover)"),
      Cells);
  const std::array<std::pair<const char*, QString>, 6> Sets = {{
      {"btnGreen", Translated(QStringLiteral("DInfoOK"))},
      {"btnRed", Translated(QStringLiteral("DSaveCancel"))},
      {"chk", QString()},
      {"opt", QString()},
      {"exp", QString()},
      {"btnPath", QString()},
  }};
  for (const auto& [Name, Caption] : Sets) {
    std::array<QWidget*, 4> Looks{};
    for (int Look = 0; Look < 4; ++Look) {
      const QImage Picture = PngResource(QString::fromLatin1(Name) + QString::number(Look));
      Looks[size_t(Look)] = FixedLookButton(Picture, Caption, Look >= 2);
    }
    TQPanel* Backdrop = DialogBackdrop();
    Row({Looks[0], Looks[1], Looks[2], Looks[3]}, Backdrop);
    Backdrop->adjustSize();
    Backdrop->setFixedSize(Backdrop->sizeHint());
    Cells->AddCell(Cell(Backdrop, QString::fromLatin1(Name)));
  }
  return Result;
}

QWidget* SlidersSection(QWidget* Parent) {
  TFlowBox* Cells = nullptr;
  QWidget* Result =
      Section(Parent, QStringLiteral("Sliders (brush size 0..8, volume 0..100)"), Cells);
  for (const int Value : {0, 4, 8}) {
    Cells->AddCell(
        Cell(Slider(QStringLiteral("size"), 8, Value), QStringLiteral("brush size %1").arg(Value)));
  }
  for (const int Value : {0, 50, 100}) {
    Cells->AddCell(
        Cell(Slider(QStringLiteral("vol"), 100, Value), QStringLiteral("volume %1").arg(Value)));
  }
  TQSlider* Live = Slider(QStringLiteral("vol"), 100, 30);
  QWidget* LiveCell = Cell(Live, QStringLiteral("live: 30"));
  auto* Caption = LiveCell->findChild<QLabel*>();
  Live->OnChanging = [Live, Caption](TQHintControl&) {
    Caption->setText(QStringLiteral("live: %1").arg(Live->Value()));
  };
  Live->OnChange = Live->OnChanging;
  Cells->AddCell(LiveCell);
  return Result;
}

QWidget* TraysSection(QWidget* Parent) {
  TFlowBox* Cells = nullptr;
  QWidget* Result =
      Section(Parent, QStringLiteral("Paint tray and mix tray (colours and empty wells)"), Cells);
  const std::vector<TColor> Paints = {0x0000FF, 0x0080FF, 0x00FFFF, 0x00C000, 0x008000,
                                      0xFFFF00, 0xFF8000, 0xFF0000, 0x800080, 0xFF80FF,
                                      0x004080, 0x80C0FF, 0xFFFFFF, 0x808080, 0x000000,
                                      0x40A0A0, 0xC0FFC0, clNone,   clNone,   clNone};
  Cells->AddCell(Cell(Tray(2, 10, QSize(126, 353), Paints), QStringLiteral("paint tray 2 x 10")));
  const std::vector<TColor> Mixes = {0x00C000, 0xFF80FF, clNone, 0x0080FF, clNone, clNone,
                                     0x804000, clNone,   clNone, clNone,   clNone, 0xFFFFFF};
  auto* Column = new QWidget;
  auto* Layout = new QVBoxLayout(Column);
  Layout->setContentsMargins(0, 0, 0, 0);
  Layout->setSpacing(12);
  Layout->addWidget(Cell(Tray(12, 1, QSize(372, 48), Mixes), QStringLiteral("mix tray 12 x 1")));
  Layout->addWidget(Cell(Tray(12, 1, QSize(372, 48), std::vector<TColor>(12, clNone)),
                         QStringLiteral("mix tray, all empty")));
  Layout->addWidget(
      Cell(Tray(2, 10, QSize(96, 260), Paints), QStringLiteral("paint tray, smaller window")));
  Layout->addStretch();
  Cells->AddCell(Column);
  return Result;
}

QWidget* BubblesSection(QWidget* Parent, QWidget* MainWindow) {
  TFlowBox* Cells = nullptr;
  QWidget* Result = Section(Parent, QStringLiteral("Bubble hint in its four directions"), Cells);
  const std::array<std::pair<TQHintDir, const char*>, 4> Dirs = {{
      {dirUpRight, "up right (hint_ur)"},
      {dirUpLeft, "up left (hint_ul)"},
      {dirDownRight, "down right (hint_dr)"},
      {dirDownLeft, "down left (hint_dl)"},
  }};
  // The hint with the longest text in the shown language, to see how it
  // wraps and where it ends.
  QString LongestHint;
  for (const char* Key : HintKeys) {
    const QString Name = QString::fromLatin1(Key);
    if (Translated("hinf" + Name).size() > Translated("hinf" + LongestHint).size()) {
      LongestHint = Name;
    }
  }
  for (const auto& [Dir, Caption] : Dirs) {
    auto Bubble = std::make_unique<TQBubbleHint>(MainWindow);
    Bubble->SetPicUpRight(PngResource(QStringLiteral("hint_ur")));
    Bubble->SetPicUpLeft(PngResource(QStringLiteral("hint_ul")));
    Bubble->SetPicDownRight(PngResource(QStringLiteral("hint_dr")));
    Bubble->SetPicDownLeft(PngResource(QStringLiteral("hint_dl")));
    Bubble->SetMarginTop(8);
    Bubble->SetMarginLeft(8);
    Bubble->SetMarginBottom(48);
    Bubble->SetMarginRight(8);
    Bubble->SetSpacing(4);
    Bubble->SetTextTitle(Translated("httl" + LongestHint));
    Bubble->SetTextSubtitle(Translated("hsbt" + LongestHint));
    Bubble->SetTextInfo(Translated("hinf" + LongestHint));
    Bubble->SetDir(Dir);
    const int Scale = ScreenArtScale();
    QImage Shot(Bubble->size() * Scale, QImage::Format_ARGB32_Premultiplied);
    Shot.setDevicePixelRatio(Scale);
    Shot.fill(Qt::transparent);
    QPainter Canvas(&Shot);
    Bubble->render(&Canvas, QPoint(), QRegion(), QWidget::DrawChildren);
    Canvas.end();
    Cells->AddCell(PictureCell(Shot, QString::fromLatin1(Caption)));
  }
  return Result;
}

}  // namespace tw::gallery
