#include "dialogs/DlgInfoF.h"

#include <QFontMetrics>
#include <QLabel>
#include <algorithm>
#include <array>

#include "controls/ModalRunU.h"
#include "controls/QImgButtonU.h"
#include "controls/QSlice9U.h"
#include "palette/qt/CursorTableU.h"
#include "pictures/qt/ArtResourceU.h"

namespace tw {

namespace {

const QColor clNavyText(0, 0, 128);
const QColor clBlueText(0, 0, 255);
const QColor clBlackText(0, 0, 0);

}  // namespace

QImage ButtonArtForWidth(const QImage& Picture, int Width) {
  const QSize Design = DesignSize(Picture);
  if (Picture.isNull() || Width <= 0 || Design.width() == Width) return Picture;
  // Both ends come across whole; only the uniform middle loses or repeats
  // columns.
  const int Side = (std::min(Design.width(), Width) - 2) / 2;
  if (Side <= 0) return Picture;
  return Slice9Image(Picture, TSlice9Settings{Side, Side, 0, 0, false, false},
                     QSize(Width, Design.height()));
}

QFont DialogFont(int PixelSize, bool Bold) {
  QFont Font(InterfaceFontFamily());
  Font.setPixelSize(PixelSize);
  Font.setBold(Bold);
  return Font;
}

QLabel* CreateDialogLabel(QWidget* Parent, const QString& Name, const QRect& Bounds,
                          const QFont& Font, const QColor& Color, Qt::Alignment Alignment,
                          bool WordWrap) {
  auto* Label = new QLabel(Parent);
  Label->setObjectName(Name);
  Label->setTextFormat(Qt::PlainText);
  Label->setGeometry(Bounds);
  Label->setFont(Font);
  QPalette Palette = Label->palette();
  Palette.setColor(QPalette::WindowText, Color);
  Label->setPalette(Palette);
  Label->setAlignment(Alignment);
  Label->setWordWrap(WordWrap);
  return Label;
}

TQImgButton* CreateDialogButton(QWidget* Parent, const QString& Name, const QString& Art,
                                const QRect& Bounds, const QString& Caption, int ModalResult) {
  auto* Button = new TQImgButton(Parent);
  Button->setObjectName(Name);
  Button->setGeometry(Bounds);
  std::array<QImage, 4> Looks;
  for (int Look = 0; Look < 4; ++Look) {
    Looks[size_t(Look)] =
        ButtonArtForWidth(PngResource(Art + QString::number(Look)), Bounds.width());
  }
  Button->SetPictures(Looks[0], Looks[1], Looks[2], Looks[3]);
  Button->SetFont(DialogFont(16, true));
  Button->SetFontColor(clWhite);
  Button->SetCaption(Caption);
  Button->SetModalResult(ModalResult);
  FitButtonFont(Button, 16);
  return Button;
}

TDInfo::TDInfo(QWidget* parent) : TfrmQDialog(parent) {
  setObjectName(QStringLiteral("DInfo"));
  resize(DesignWidth, DesignHeight);
  txtTitle =
      CreateDialogLabel(this, QStringLiteral("txtTitle"), QRect(16, 12, 583, 33),
                        DialogFont(TitlePixelSize, false), clNavyText, Qt::AlignCenter, false);
  txtPrompt = CreateDialogLabel(this, QStringLiteral("txtPrompt"), QRect(16, 56, 580, 271),
                                DialogFont(TextPixelSize, true), clBlackText,
                                Qt::AlignLeft | Qt::AlignTop, true);
  txtSubtitle = CreateDialogLabel(this, QStringLiteral("txtSubtitle"), QRect(16, 336, 460, 23),
                                  DialogFont(TextPixelSize, true), clBlueText,
                                  Qt::AlignLeft | Qt::AlignVCenter, false);
  btnOK = CreateDialogButton(this, QStringLiteral("btnOK"), QStringLiteral("btnGreen"),
                             QRect(479, 330, 120, 36), Text(QStringLiteral("OK")), mrOk);
}

void TDInfo::SetTexts(const QString& Title, const QString& Prompt, const QString& Subtitle,
                      const QString& LinkTarget) {
  setWindowTitle(Title);
  txtTitle->setText(Title);
  txtPrompt->setText(Prompt);
  txtSubtitle->setText(Subtitle);
  FitTexts();
  SetupLink(txtSubtitle, LinkTarget);
  // The link shows the program's own hand wherever it has one.
  if (txtSubtitle->testAttribute(Qt::WA_SetCursor)) {
    txtSubtitle->setCursor(ProgramCursor(TProgramCursor::Hand));
  }
}

void TDInfo::resizeEvent(QResizeEvent* event) {
  TfrmQDialog::resizeEvent(event);
  if (!txtPrompt) return;
  // The text is anchored on all sides; everything else keeps its place.
  txtPrompt->setGeometry(16, 56, width() - (DesignWidth - 580), height() - (DesignHeight - 271));
  FitTexts();
}

void TDInfo::FitTexts() {
  FitLabelFont(txtTitle, TitlePixelSize);
  FitLabelFont(txtPrompt, TextPixelSize);
  FitLabelFont(txtSubtitle, TextPixelSize);
}

void InfoDialogRun(const QString& Title, const QString& Text, const QString& Subtitle,
                   const QString& LinkTarget) {
  auto Dialog = std::make_unique<TDInfo>(MainForm());
  Dialog->SetTexts(Title, Text, Subtitle, LinkTarget);
  RunModalAndFree(std::move(Dialog));
}

void InfoDialogRun(const std::string& Title, const std::string& Text, const std::string& Subtitle,
                   const std::string& LinkTarget) {
  InfoDialogRun(QString::fromStdString(Title), QString::fromStdString(Text),
                QString::fromStdString(Subtitle), QString::fromStdString(LinkTarget));
}

}  // namespace tw
