// Every dialog in every shipped language draws each of its buttons and
// labels whole: judged on rendered pixels. Each control is drawn alone on a
// transparent canvas; its solid pixels must show unchanged in the dialog's
// own picture (nothing covers or clips them), a label's letters keep off
// its edges (a letter cut by its box touches them), a button shows all of
// its art, and its caption keeps off the button's edges.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "controls/QImgButtonU.h"
#include "dialogs/DlgCloseF.h"
#include "dialogs/DlgInfoF.h"
#include "dialogs/DlgOptionsF.h"
#include "dialogs/DlgPrintF.h"
#include "dialogs/DlgSaveF.h"
#include "dialogs/SaveDialogTestSupport.h"
#include "painter/PainterU.h"
#include "settings/LangU.h"

namespace tw::test {
namespace {

const std::vector<std::string> LanguageCodes = {"en_us", "de_de", "fr_fr", "es_es", "it_it",
                                                "nl_nl", "pl_pl", "pt_br", "ru_ru", "uk_ua"};

class TOnePrinter : public TPrinterSystem {
 public:
  QStringList PrinterNames() const override { return {QStringLiteral("Laser")}; }
  QString DefaultPrinterName() const override { return QStringLiteral("Laser"); }
  QString CurrentPrinterName() const override { return QString(); }
  void PrintOn(TPainter&, const QString&, const QString&) override {}
};

// Widget drawn by itself, without the window's background, on a transparent
// canvas of its own size in the screen's pixels (twice the size each way at
// a scale of 2).
QImage DrawnAlone(QWidget* Widget) {
  const qreal Ratio = Widget->devicePixelRatioF();
  QImage Image(Widget->size() * Ratio, QImage::Format_ARGB32);
  Image.setDevicePixelRatio(Ratio);
  Image.fill(Qt::transparent);
  Widget->render(&Image, QPoint(), QRegion(), QWidget::DrawChildren);
  return Image;
}

bool Near(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 &&
         std::abs(qBlue(a) - qBlue(b)) <= 2;
}

// A rectangle in the widget's coordinates as the screen's pixels cover it.
QRect InPixels(const QRect& Rect, qreal Ratio) {
  return QRect(Rect.topLeft() * Ratio, Rect.size() * Ratio);
}

bool OnEdge(const QImage& Image, int X, int Y) {
  return X == 0 || Y == 0 || X == Image.width() - 1 || Y == Image.height() - 1;
}

class TDrawnWhole {
 public:
  explicit TDrawnWhole(QWidget* Dialog) : FDialog(Dialog) {
    FShown = Dialog->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Screenshots of every dialog checked, for a person to look at.
    static int Shots = 0;
    if (const char* Folder = getenv("TINTWELL_DIALOG_SHOTS"))
      FShown.save(QStringLiteral("%1/%2-%3-%4.png")
                      .arg(QString::fromLocal8Bit(Folder), QString::fromStdString(Lang().Language()))
                      .arg(++Shots, 2, 10, QLatin1Char('0'))
                      .arg(Dialog->objectName()));
  }

  // The problems found, one a line; empty when everything is whole.
  std::string Check() {
    for (QLabel* Label : FDialog->findChildren<QLabel*>()) {
      if (!Label->isVisibleTo(FDialog) || Label->text().isEmpty()) continue;
      CheckShownUnchanged(Label, DrawnAlone(Label));
      CheckLabelLetters(Label);
    }
    for (TQImgButton* Button : FDialog->findChildren<TQImgButton*>()) {
      if (!Button->isVisibleTo(FDialog)) continue;
      CheckShownUnchanged(Button, DrawnAlone(Button));
      CheckButton(Button);
    }
    return FProblems.str();
  }

 private:
  static std::string NameOf(QWidget* Widget) {
    std::string Name = Widget->objectName().toStdString();
    if (auto* Label = qobject_cast<QLabel*>(Widget))
      Name += " \"" + Label->text().toStdString() + "\"";
    if (auto* Button = qobject_cast<TQImgButton*>(Widget))
      Name += " \"" + Button->Caption().toStdString() + "\"";
    return Name;
  }

  // Every solid pixel of the control shows in the dialog as drawn: nothing
  // covers or clips it. The save dialog's options panel is left out of this
  // part: a grab of the dialog does not show the panel's controls at all
  // on the offscreen platform, so the comparison would say nothing of them
  // (their letters and art are still checked below).
  void CheckShownUnchanged(QWidget* Widget, const QImage& Alone) {
    if (Widget->parentWidget() != FDialog) return;
    const QPoint Origin = Widget->pos() * Widget->devicePixelRatioF();
    int Lost = 0;
    for (int y = 0; y < Alone.height(); ++y) {
      for (int x = 0; x < Alone.width(); ++x) {
        const QRgb Own = Alone.pixel(x, y);
        if (qAlpha(Own) != 255) continue;
        const QPoint At = Origin + QPoint(x, y);
        if (!FShown.rect().contains(At) || !Near(FShown.pixel(At), Own)) ++Lost;
      }
    }
    if (Lost > 0)
      FProblems << NameOf(Widget) << ": " << Lost << " pixels covered or outside the dialog\n";
  }

  // A label draws its text clipped to its contents rectangle, so a letter
  // cut off shows as ink on that rectangle's edge: any solid ink on the edge
  // the text runs towards, or a run of it along the top or bottom (a single
  // descender's soft tip may just reach a tight line's last row).
  void CheckLabelLetters(QLabel* Label) {
    const QImage Alone = DrawnAlone(Label);
    const qreal Ratio = Label->devicePixelRatioF();
    const QRect Box = InPixels(Label->contentsRect(), Ratio);
    const QColor Background = Label->palette().color(Label->backgroundRole());
    const auto Ink = [&](int X, int Y) {
      const QRgb Pixel = Alone.pixel(X, Y);
      if (Label->autoFillBackground())
        return std::abs(qGray(Pixel) - qGray(Background.rgb())) > 96;
      return qAlpha(Pixel) >= 128;
    };
    // The edge the text starts from may hold the first letter's stem; the
    // edge it runs towards may not.
    const Qt::Alignment Align = Label->alignment();
    const bool CheckLeft = !(Align & Qt::AlignLeft) || (Align & Qt::AlignHCenter);
    const bool CheckRight = !(Align & Qt::AlignRight);
    int Sides = 0;
    for (int y = Box.top(); y <= Box.bottom(); ++y)
      Sides += (CheckLeft && Ink(Box.left(), y)) + (CheckRight && Ink(Box.right(), y));
    int Top = 0, Bottom = 0;
    for (int x = Box.left(); x <= Box.right(); ++x) {
      Top += Ink(x, Box.top());
      Bottom += Ink(x, Box.bottom());
    }
    if (Sides > 0 || Top > 2 * Ratio || Bottom > 2 * Ratio)
      FProblems << NameOf(Label) << ": letters cut off by the label's box (" << Sides << " "
                << Top << " " << Bottom << ")\n";
  }

  void CheckButton(TQImgButton* Button) {
    const QString Caption = Button->Caption();
    Button->SetCaption(QString());
    const QImage Bare = DrawnAlone(Button);
    Button->SetCaption(Caption);
    const QImage Captioned = DrawnAlone(Button);
    const auto Solid = [](const QImage& Image) {
      int Count = 0;
      for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x) Count += qAlpha(Image.pixel(x, y)) > 0;
      return Count;
    };
    const QImage& Art = Button->Picture(TQImgButton::lkNormal);
    const QImage ArtArgb = Art.convertToFormat(QImage::Format_ARGB32);
    if (!Art.isNull() && Solid(Bare) < Solid(ArtArgb))
      FProblems << NameOf(Button) << ": shows " << Solid(Bare) << " of its art's "
                << Solid(ArtArgb) << " pixels\n";
    int CaptionPixels = 0;
    int Touching = 0;
    for (int y = 0; y < Bare.height(); ++y) {
      for (int x = 0; x < Bare.width(); ++x) {
        if (Bare.pixel(x, y) == Captioned.pixel(x, y)) continue;
        ++CaptionPixels;
        Touching += OnEdge(Bare, x, y);
      }
    }
    if (!Caption.isEmpty() && CaptionPixels == 0)
      FProblems << NameOf(Button) << ": caption not drawn\n";
    if (Touching > 0)
      FProblems << NameOf(Button) << ": caption cut at the button's edge\n";
  }

  QWidget* FDialog;
  QImage FShown;
  std::ostringstream FProblems;
};

class DialogsDrawnWhole : public SaveDialogFixture {
 protected:
  static std::string Check(QWidget* Dialog) { return TDrawnWhole(Dialog).Check(); }
};

TEST_F(DialogsDrawnWhole, EveryDialogInEveryShippedLanguage) {
  const auto Painter = PainterWith(ColourfulPicture(640, 480));
  TOnePrinter Printers;
  int Checked = 0;
  for (const std::string& Code : LanguageCodes) {
    Lang().SetLanguage(Code);
    {
      TDSave Dialog;
      Dialog.SetFolder(SaveFolder());
      Dialog.SetPicture(*Painter, "house");
      EXPECT_EQ(Check(&Dialog), "") << "save dialog in " << Code;
    }
    {
      TDPrint Dialog(nullptr, &Printers);
      Dialog.SetPicture(Painter.get(), QStringLiteral("House"));
      EXPECT_EQ(Check(&Dialog), "") << "print dialog in " << Code;
    }
    {
      TDOptions Dialog;
      EXPECT_EQ(Check(&Dialog), "") << "options dialog in " << Code;
    }
    {
      TDClose Dialog;
      EXPECT_EQ(Check(&Dialog), "") << "close dialog in " << Code;
    }
    {
      TDInfo Dialog;
      Dialog.SetTexts(QString::fromStdString(Lang().GetText("DExitTitle")),
                      QString::fromStdString(Lang().GetText("DExitDescr")),
                      QStringLiteral("file:///usr/share/doc/tintwell/help.html"));
      EXPECT_EQ(Check(&Dialog), "") << "farewell in " << Code;
      Dialog.SetTexts(QString::fromStdString(Lang().GetText("capNotFound")),
                      QString::fromStdString(Lang().GetText("msgNotFound")),
                      QString::fromStdString(Lang().GetText("msgAnon")));
      EXPECT_EQ(Check(&Dialog), "") << "message in " << Code;
    }
    ++Checked;
  }
  EXPECT_EQ(Checked, int(LanguageCodes.size()));
}

// The check itself sees what it is for: a button whose art is wider than
// the button, a label whose text runs past its box, a label under another
// control.
TEST_F(DialogsDrawnWhole, TheCheckFindsCutButtonsCutLettersAndCoveredLabels) {
  QWidget Form;
  Form.resize(300, 200);
  auto* Button = new TQImgButton(&Form);
  Button->setObjectName("btnCut");
  Button->setGeometry(10, 10, 100, 36);
  Button->LoadPngPictures(QStringLiteral("btnGreen"));
  ASSERT_GT(Button->Picture(TQImgButton::lkNormal).width(), 100);
  EXPECT_NE(Check(&Form).find("btnCut"), std::string::npos);
  Button->hide();

  auto* Label = new QLabel(QStringLiteral("A rather long text for this box"), &Form);
  Label->setObjectName("txtCut");
  Label->setGeometry(10, 60, 60, 20);
  EXPECT_NE(Check(&Form).find("txtCut"), std::string::npos);
  Label->setGeometry(10, 60, 280, 30);
  EXPECT_EQ(Check(&Form), "");

  auto* Cover = new QWidget(&Form);
  Cover->setAutoFillBackground(true);
  Cover->setGeometry(10, 60, 100, 30);
  Cover->show();
  EXPECT_NE(Check(&Form).find("covered"), std::string::npos);
}

}  // namespace
}  // namespace tw::test
