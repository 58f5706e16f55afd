// TDInfo: the information dialog. It shows a title, a longer text and a
// subtitle line with an OK button; the main window uses it for the picture
// information, for messages by language key and for the farewell at exit.
// A subtitle that is a web address works as a link.
//
// Also home of the pieces the small dialogs share: their fonts, labels and
// buttons (the fitting of their texts is controls/LabelFitU.h's).
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <memory>
#include <string>

#include "controls/LabelFitU.h"
#include "controls/QDialogF.h"

class QLabel;

namespace tw {

class TQImgButton;

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
