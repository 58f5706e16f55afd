// TDInfo: the information dialog. It shows a title, a longer text and a
// subtitle line with an OK button; the main window uses it for the picture
// information, for messages by language key and for the farewell at exit.
// A subtitle that is a web address works as a link.
//
// Also home of the font fitting the small dialogs share: a label or button
// keeps its design font size while its text fits its rectangle and shrinks
// step by step where a long text (a German or Russian prompt, a long picture
// description) would overflow.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <memory>
#include <string>

#include "controls/QDialogF.h"

class QLabel;

namespace tw {

class TQImgButton;

// The smallest pixel size a fitted text shrinks to; below it the text would
// be too small to read, so a text that still does not fit is cut off.
constexpr int MinFittedPixelSize = 9;

// Whether Text, drawn with Font and Flags (alignment, Qt::TextWordWrap),
// fits a Width x Height rectangle.
bool TextFits(const QFont& Font, int Flags, const QString& Text, int Width, int Height);
// The largest pixel size from MaxPixelSize down to MinFittedPixelSize at
// which Text fits; MinFittedPixelSize when none does.
int FittedPixelSize(QFont Font, int MaxPixelSize, int Flags, const QString& Text, int Width,
                    int Height);
// Gives Label the largest font, at most MaxPixelSize pixels, at which its
// text, line boxes included, fits its current size with its alignment and
// word wrap.
void FitLabelFont(QLabel* Label, int MaxPixelSize);
// As FitLabelFont for a label whose Design rectangle is lower than one line
// of the interface font (whose lines leave room for stacked accents): the
// text has to fit Design's width in at most the lines Design's height holds,
// one at least, and the label grows around Design, evenly up and down, to
// hold them.
void FitLabelToDesign(QLabel* Label, const QRect& Design, int MaxPixelSize);
// Gives Button the largest font, at most MaxPixelSize pixels, at which its
// caption fits on the button with a margin on either side, also when it is
// drawn shifted while down.
void FitButtonFont(TQImgButton* Button, int MaxPixelSize);

// Button art drawn for another width made Width pixels wide: the left and
// right ends are kept whole and columns of the middle are left out or
// repeated, so a pill-shaped button keeps its rounded ends.
QImage ButtonArtForWidth(const QImage& Picture, int Width);

// The font of the dialogs' texts: the interface font at PixelSize pixels.
QFont DialogFont(int PixelSize, bool Bold);
// A label with the given font, text colour and alignment; plain text only, so
// a picture's texts are never read as markup.
QLabel* CreateDialogLabel(QWidget* Parent, const QString& Name, const QRect& Bounds,
                          const QFont& Font, const QColor& Color, Qt::Alignment Alignment,
                          bool WordWrap);
// An image button with the dialog artwork Art ("btnGreen", "btnRed", the
// pictures Art + "0" to "3" fitted to the button's width) and a white bold
// caption.
TQImgButton* CreateDialogButton(QWidget* Parent, const QString& Name, const QString& Art,
                                const QRect& Bounds, const QString& Caption, int ModalResult);

// Shows Dialog modally and frees it; returns its modal result. When its
// owner frees it while it runs, the result is mrCancel.
int RunModalAndFree(std::unique_ptr<TfrmQDialog> Dialog);

class TDInfo : public TfrmQDialog {
  Q_OBJECT

 public:
  // The size the controls are laid out for; the text grows with the dialog.
  static constexpr int DesignWidth = 615;
  static constexpr int DesignHeight = 380;
  static constexpr int TitlePixelSize = 24;
  static constexpr int TextPixelSize = 16;

  explicit TDInfo(QWidget* parent = nullptr);

  // Shows the three texts (an empty subtitle leaves the line blank) and
  // turns the subtitle into a link to LinkTarget, or to itself when it is
  // a web address.
  void SetTexts(const QString& Title, const QString& Prompt, const QString& Subtitle,
                const QString& LinkTarget = QString());

  QLabel* txtTitle = nullptr;
  QLabel* txtPrompt = nullptr;
  QLabel* txtSubtitle = nullptr;
  TQImgButton* btnOK = nullptr;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FitTexts();
};

// Shows the information dialog modally over the main window and frees it.
void InfoDialogRun(const QString& Title, const QString& Text, const QString& Subtitle,
                   const QString& LinkTarget = QString());
// The same for UTF-8 texts.
void InfoDialogRun(const std::string& Title, const std::string& Text, const std::string& Subtitle,
                   const std::string& LinkTarget = std::string());

}  // namespace tw
