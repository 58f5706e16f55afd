#include "dialogs/DlgInfoF.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <algorithm>
#include <array>

#include "controls/QImgButtonU.h"
#include "controls/QSlice9U.h"
#include "palette/qt/CursorTableU.h"
#include "pictures/qt/ArtResourceU.h"

namespace tw {

namespace {

// The space kept free on either side of a button's caption, so it never
// touches the artwork's rounded ends, also when drawn 2 pixels to the right
// while down.
constexpr int ButtonCaptionMargin = 6;

const QColor clNavyText(0, 0, 128);
const QColor clBlueText(0, 0, 255);
const QColor clBlackText(0, 0, 0);

}  // namespace

bool TextFits(const QFont& Font, int Flags, const QString& Text, int Width, int Height) {
  if (Text.isEmpty()) return true;
  const QRect Needed = QFontMetrics(Font).boundingRect(QRect(0, 0, Width, Height), Flags, Text);
  return Needed.width() <= Width && Needed.height() <= Height;
}

QImage ButtonArtForWidth(const QImage& Picture, int Width) {
  if (Picture.isNull() || Width <= 0 || Picture.width() == Width) return Picture;
  // Both ends come across whole; only the uniform middle loses or repeats
  // columns.
  const int Side = (std::min(Picture.width(), Width) - 2) / 2;
  if (Side <= 0) return Picture;
  return Slice9Image(Picture, TSlice9Settings{Side, Side, 0, 0, false, false},
                     QSize(Width, Picture.height()));
}

int FittedPixelSize(QFont Font, int MaxPixelSize, int Flags, const QString& Text, int Width,
                    int Height) {
  for (int Size = MaxPixelSize; Size > MinFittedPixelSize; --Size) {
    Font.setPixelSize(Size);
    if (TextFits(Font, Flags, Text, Width, Height)) return Size;
  }
  return MinFittedPixelSize;
}

void FitLabelFont(QLabel* Label, int MaxPixelSize) {
  QFont Font = Label->font();
  int Flags = int(Label->alignment());
  if (Label->wordWrap()) Flags |= Qt::TextWordWrap;
  const QRect Area = Label->contentsRect();
  Font.setPixelSize(
      FittedPixelSize(Font, MaxPixelSize, Flags, Label->text(), Area.width(), Area.height()));
  Label->setFont(Font);
}

void FitLabelToDesign(QLabel* Label, const QRect& Design, int MaxPixelSize) {
  QFont Font = Label->font();
  const int Flags = int(Label->alignment()) | (Label->wordWrap() ? int(Qt::TextWordWrap) : 0);
  QRect Needed;
  for (int Size = MaxPixelSize;; --Size) {
    Font.setPixelSize(Size);
    const QFontMetrics Metrics(Font);
    const int Room = std::max(Design.height(), Metrics.height());
    Needed = Metrics.boundingRect(QRect(0, 0, Design.width(), QWIDGETSIZE_MAX), Flags,
                                  Label->text());
    if (Size <= MinFittedPixelSize || (Needed.width() <= Design.width() && Needed.height() <= Room))
      break;
  }
  const int Grow = std::max(0, Needed.height() - Design.height());
  Label->setFont(Font);
  Label->setGeometry(Design.adjusted(0, -(Grow / 2), 0, Grow - Grow / 2));
}

void FitButtonFont(TQImgButton* Button, int MaxPixelSize) {
  QFont Font = Button->Font();
  Font.setPixelSize(FittedPixelSize(Font, MaxPixelSize, Qt::AlignCenter, Button->Caption(),
                                    Button->width() - 2 * ButtonCaptionMargin, Button->height()));
  Button->SetFont(Font);
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

int RunModalAndFree(std::unique_ptr<TfrmQDialog> Dialog) {
  const QPointer<TfrmQDialog> Alive(Dialog.get());
  const int Result = Dialog->ShowModal();
  // Its owner freed it while it ran; only forget it.
  if (!Alive) static_cast<void>(Dialog.release());
  return Result;
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
