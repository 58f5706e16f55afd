// The gallery's building blocks (flow box, cells, sections) and its window.
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "GalleryU.h"
#include "pictures/qt/ArtResourceU.h"

namespace tw::gallery {

namespace {

const QColor GalleryBackground(0xF4, 0xF1, 0xEA);

}  // namespace

TFlowBox::TFlowBox(QWidget* Parent, int Width, int Gap)
    : QWidget(Parent), FWidth(Width), FGap(Gap) {}

void TFlowBox::AddCell(QWidget* Child) {
  Child->setParent(this);
  Child->adjustSize();
  Child->show();
  Place();
}

void TFlowBox::Place() {
  int X = 0;
  int Y = 0;
  int RowHeight = 0;
  for (QObject* Object : children()) {
    auto* Child = qobject_cast<QWidget*>(Object);
    if (!Child) continue;
    const QSize Size = Child->size();
    if (X > 0 && X + Size.width() > FWidth) {
      X = 0;
      Y += RowHeight + FGap;
      RowHeight = 0;
    }
    Child->move(X, Y);
    X += Size.width() + FGap;
    RowHeight = std::max(RowHeight, Size.height());
  }
  setFixedSize(FWidth, Y + RowHeight);
}

QWidget* Cell(QWidget* Content, const QString& Caption) {
  auto* Box = new QWidget;
  auto* Layout = new QVBoxLayout(Box);
  Layout->setContentsMargins(0, 0, 0, 0);
  Layout->setSpacing(3);
  Content->setParent(Box);
  Layout->addWidget(Content, 0, Qt::AlignLeft | Qt::AlignTop);
  auto* Label = new QLabel(Caption, Box);
  QFont Font = Label->font();
  Font.setPixelSize(11);
  Label->setFont(Font);
  Label->setStyleSheet(QStringLiteral("color: #555"));
  Layout->addWidget(Label, 0, Qt::AlignLeft);
  return Box;
}

QWidget* PictureCell(const QImage& Picture, const QString& Caption) {
  auto* Label = new QLabel;
  Label->setPixmap(QPixmap::fromImage(OverChecks(Picture)));
  Label->setFixedSize(DesignSize(Picture));
  return Cell(Label, Caption);
}

QWidget* Section(QWidget* Parent, const QString& Heading, TFlowBox*& Cells) {
  auto* Box = new QWidget(Parent);
  auto* Layout = new QVBoxLayout(Box);
  Layout->setContentsMargins(0, 0, 0, 0);
  Layout->setSpacing(8);
  auto* Title = new QLabel(Heading, Box);
  QFont Font(InterfaceFontFamily());
  Font.setPixelSize(20);
  Font.setBold(true);
  Title->setFont(Font);
  Title->setStyleSheet(QStringLiteral("color: #203060"));
  Layout->addWidget(Title);
  Cells = new TFlowBox(Box, GalleryWidth - 40);
  Layout->addWidget(Cells);
  return Box;
}

QImage OverChecks(const QImage& Picture) {
  // As dense as the picture, with checks of the same design size.
  QImage Result(Picture.size(), QImage::Format_ARGB32_Premultiplied);
  Result.setDevicePixelRatio(Picture.devicePixelRatio());
  const QSize Design = DesignSize(Picture);
  QPainter Canvas(&Result);
  constexpr int Check = 6;
  for (int Y = 0; Y < Design.height(); Y += Check)
    for (int X = 0; X < Design.width(); X += Check) {
      const bool Light = ((X / Check) + (Y / Check)) % 2 == 0;
      Canvas.fillRect(X, Y, Check, Check,
                      Light ? QColor(0xFF, 0xFF, 0xFF) : QColor(0xDD, 0xDD, 0xDD));
    }
  Canvas.drawImage(0, 0, Picture);
  return Result;
}

TGalleryWindow::TGalleryWindow() {
  setWindowTitle(QStringLiteral("Tintwell gallery"));
  QFont Font(InterfaceFontFamily());
  // The main window's font, which the bubbles take.
  Font.setPixelSize(11);
  setFont(Font);

  auto* Scroll = new QScrollArea(this);
  FContent = new QWidget;
  QPalette Palette = FContent->palette();
  Palette.setColor(QPalette::Window, GalleryBackground);
  FContent->setPalette(Palette);
  FContent->setAutoFillBackground(true);
  auto* Column = new QVBoxLayout(FContent);
  Column->setContentsMargins(20, 16, 20, 20);
  Column->setSpacing(22);
  Column->addWidget(MainButtonsSection(FContent));
  Column->addWidget(DialogButtonsSection(FContent));
  Column->addWidget(SlidersSection(FContent));
  Column->addWidget(TraysSection(FContent));
  Column->addWidget(BubblesSection(FContent, this));
  Column->addWidget(SkinsSection(FContent));
  Column->addWidget(CursorsSection(FContent));
  Column->addWidget(DialogsSection(FContent));
  Column->addWidget(AllArtworkSection(FContent));
  Column->addStretch();
  FContent->setFixedWidth(GalleryWidth);
  FContent->adjustSize();
  Scroll->setWidget(FContent);

  auto* Layout = new QVBoxLayout(this);
  Layout->setContentsMargins(0, 0, 0, 0);
  Layout->addWidget(Scroll);
  resize(GalleryWidth + 24, 980);
}

QImage TGalleryWindow::Screenshot() {
  FContent->adjustSize();
  return FContent->grab().toImage();
}

}  // namespace tw::gallery
