// The gallery's artwork sections: nine-slice skins at several sizes, every
// pointer tinted red, the close and information dialogs (in every shipped
// language) and, last, every built-in picture as it is.
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

#include "GalleryU.h"
#include "controls/QPanel.h"
#include "controls/QSlice9U.h"
#include "dialogs/DlgCloseF.h"
#include "dialogs/DlgInfoF.h"
#include "palette/qt/ToolCursorsU.h"
#include "pictures/QUtilU.h"
#include "pictures/qt/ArtResourceU.h"

namespace tw::gallery {

namespace {

constexpr TColor Red = 0x0000FF;

QString Translated(const char* Key) { return QString::fromStdString(TranslateKey(Key)); }

TQPanel* SkinPanel(const QImage& Art, const TSlice9Settings& Settings, QSize Size) {
  auto* Panel = new TQPanel;
  Panel->SetSliceSettings(Settings);
  Panel->SetPicture(Art);
  Panel->setFixedSize(Size);
  return Panel;
}

QString SizeText(QSize Size) {
  return QStringLiteral("%1 x %2").arg(Size.width()).arg(Size.height());
}

// A pointer's picture over checks, with its hot spot ringed, in a cell that
// shows the pointer itself when the mouse is over it.
QWidget* CursorCell(const QCursor& Cursor, const QString& Caption) {
  QImage Picture = OverChecks(Cursor.pixmap().toImage());
  QPainter Canvas(&Picture);
  Canvas.setRenderHint(QPainter::Antialiasing);
  Canvas.setPen(QPen(QColor(0, 160, 255), 1.5));
  Canvas.drawEllipse(QPointF(Cursor.hotSpot()) + QPointF(0.5, 0.5), 3.5, 3.5);
  Canvas.end();
  QWidget* Result = PictureCell(Picture, Caption);
  Result->setCursor(Cursor);
  return Result;
}

QImage DialogShot(QWidget& Dialog) { return Dialog.grab().toImage(); }

}  // namespace

QWidget* SkinsSection(QWidget* Parent) {
  TFlowBox* Cells = nullptr;
  QWidget* Result = Section(Parent, QStringLiteral("Nine-slice skins at several sizes"), Cells);
  const QImage Dialog = JpegResource(QStringLiteral("dialog"));
  const TSlice9Settings DialogSlices{8, 8, 8, 8, false, false};
  for (const QSize Size : {QSize(12, 12), QSize(60, 40), QSize(200, 120), QSize(464, 332)}) {
    Cells->AddCell(
        PictureCell(Slice9Image(Dialog, DialogSlices, Size), "dialog " + SizeText(Size)));
  }
  const QImage Group = PngResource(QStringLiteral("grpBlue"));
  const TSlice9Settings GroupSlices{4, 4, 13, 4, false, false};
  for (const QSize Size : {QSize(16, 16), QSize(90, 50), QSize(200, 110), QSize(360, 180)}) {
    Cells->AddCell(Cell(SkinPanel(Group, GroupSlices, Size), "grpBlue panel " + SizeText(Size)));
  }
  const QImage Main = JpegResource(QStringLiteral("main"));
  const TSlice9Settings MainSlices{144, 29, 64, 64, false, false};
  for (const QSize Size : {QSize(240, 198), QSize(420, 300), QSize(760, 420)}) {
    Cells->AddCell(Cell(SkinPanel(Main, MainSlices, Size), "main window " + SizeText(Size)));
  }
  return Result;
}

QWidget* CursorsSection(QWidget* Parent) {
  TFlowBox* Cells = nullptr;
  QWidget* Result = Section(
      Parent, QStringLiteral("Pointers tinted red, hot spots ringed (hover a cell to use it)"),
      Cells);
  TToolCursors Cursors(true);
  Cursors.TintPaint(Red);
  for (int Drops = 1; Drops <= MaxDropperDrops; ++Drops) Cursors.TintDropper(Drops, Red);
  for (int32_t Id = 1; Id <= ToolCursorCount; ++Id) {
    const TColorCursor* Cursor = Cursors.Cursor(Id);
    if (!Cursor) continue;
    Cells->AddCell(
        CursorCell(Cursor->Cursor(), QString::fromLatin1(ToolCursorTable[size_t(Id - 1)].Name)));
  }
  const std::array<std::pair<TProgramCursor, const char*>, 3> Program = {{
      {TProgramCursor::Hand, "qc_hand"},
      {TProgramCursor::Arrow, "qc_arrow"},
      {TProgramCursor::No, "qc_no"},
  }};
  for (const auto& [Which, Name] : Program) {
    Cells->AddCell(CursorCell(ProgramCursor(Which), QString::fromLatin1(Name)));
  }
  return Result;
}

QWidget* DialogsSection(QWidget* Parent) {
  TFlowBox* Cells = nullptr;
  QWidget* Result = Section(Parent, QStringLiteral("Close and information dialogs"), Cells);
  const std::string Shown = GalleryLanguage();
  for (const std::string& Code : GalleryLanguages()) {
    SetGalleryLanguage(Code);
    TDClose Close;
    Cells->AddCell(PictureCell(DialogShot(Close), "close dialog, " + QString::fromStdString(Code)));
  }
  SetGalleryLanguage(Shown);

  TDInfo Information;
  Information.SetTexts(
      QStringLiteral("The Happy Dragon"),
      QStringLiteral("A friendly dragon sits in a garden full of flowers. Give him bright scales, "
                     "paint the flowers in every colour you like and do not forget the little "
                     "butterflies above his head! When you are done, the sun behind the hill "
                     "and the clouds in the sky would like some colour too. Dragons love "
                     "stripes, dots and zigzags, so try the brush and the marker."),
      QStringLiteral("www.example.org/colouring-pictures"));
  Cells->AddCell(PictureCell(DialogShot(Information), QStringLiteral("picture information")));

  TDInfo Farewell;
  Farewell.SetTexts(Translated("DExitTitle"), Translated("DExitDescr"), QString());
  Cells->AddCell(PictureCell(DialogShot(Farewell), QStringLiteral("farewell, no subtitle")));

  TDInfo Missing;
  Missing.SetTexts(Translated("capNotFound"),
                   QString::fromStdString(TranslateKey("msgNotFound"))
                       .replace(QStringLiteral("%s"), QStringLiteral("%PICTURES%\\Dragon.twf")),
                   QStringLiteral("Anna Smith"));
  Cells->AddCell(
      PictureCell(DialogShot(Missing), QStringLiteral("message by key, plain subtitle")));

  auto* Buttons = new QWidget;
  auto* Layout = new QVBoxLayout(Buttons);
  Layout->setContentsMargins(0, 0, 0, 0);
  auto* Ask = new QPushButton(QStringLiteral("Run the close dialog"), Buttons);
  auto* Answer = new QLabel(QStringLiteral("(not asked yet)"), Buttons);
  QObject::connect(Ask, &QPushButton::clicked, Answer, [Answer] {
    Answer->setText(CloseDialogRun() ? QStringLiteral("answered Yes")
                                     : QStringLiteral("answered No"));
  });
  auto* Inform = new QPushButton(QStringLiteral("Run the information dialog"), Buttons);
  QObject::connect(Inform, &QPushButton::clicked, Inform, [] {
    InfoDialogRun(QStringLiteral("The Happy Dragon"),
                  QStringLiteral("A friendly dragon sits in a garden full of flowers."),
                  QStringLiteral("https://example.org"));
  });
  Layout->addWidget(Ask);
  Layout->addWidget(Answer);
  Layout->addWidget(Inform);
  Cells->AddCell(Cell(Buttons, QStringLiteral("live")));
  return Result;
}

QWidget* AllArtworkSection(QWidget* Parent) {
  TFlowBox* Cells = nullptr;
  QWidget* Result = Section(Parent, QStringLiteral("Every built-in picture"), Cells);
  const QStringList Files =
      QDir(QStringLiteral(":/art")).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
  for (const QString& File : Files) {
    const QFileInfo Info(File);
    const QString Name = Info.completeBaseName();
    const bool Jpeg = Info.suffix().compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0;
    const QImage Picture = Jpeg ? JpegResource(Name) : PngResource(Name);
    Cells->AddCell(PictureCell(Picture, Name + "  " + SizeText(DesignSize(Picture))));
  }
  return Result;
}

}  // namespace tw::gallery
