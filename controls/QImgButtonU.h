// TQImgButton: the program's push button. It shows one of four pictures
// (normal, hover, down, down-and-hover) by its state, with an optional
// caption centred over it, and respects the pictures' own transparency so
// the parent shows through. It can latch down (Down, set by the program)
// and, on a dialog, end the dialog with its ModalResult after OnClick.
#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <array>

#include "controls/ModalFormU.h"
#include "controls/QHintControlU.h"
#include "painter/PaintCommonU.h"

namespace tw {

class TQImgButton : public TQHintControl {
  Q_OBJECT

 public:
  // The four looks, indexed by (down or pressed ? 2 : 0) + (hover ? 1 : 0).
  enum TLook { lkNormal = 0, lkHover = 1, lkDown = 2, lkDownHover = 3 };

  explicit TQImgButton(QWidget* parent = nullptr);
  ~TQImgButton() override;

  const QString& Caption() const { return FCaption; }
  void SetCaption(const QString& Value);

  // Latching down state; only the program changes it, pressing does not.
  bool Down() const { return FDown; }
  void SetDown(bool Value);

  // The caption's font (the widget's own font; any later change repaints)
  // and colour, 0x00BBGGRR.
  QFont Font() const { return font(); }
  void SetFont(const QFont& Value);
  TColor FontColor() const { return FFontColor; }
  void SetFontColor(TColor Value);

  // Given to the dialog the button sits on after OnClick; mrNone gives
  // nothing.
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int Value) { FModalResult = Value; }

  // Buttons of one group of options share a number other than 0; on a
  // dialog the arrow keys move the focus among them.
  int Group() const { return FGroup; }
  void SetGroup(int Value) { FGroup = Value; }

  // Built-in JPEG pictures by name for the four looks. All four are read
  // before any is replaced, so a missing one (EError) changes nothing.
  void LoadJpegPictures(const QString& Normal, const QString& Hover, const QString& Down,
                        const QString& DownHover);
  // Built-in PNG pictures Name + "0" to Name + "3", with their alpha.
  void LoadPngPictures(const QString& Name);
  // The four looks from pictures at hand (copied).
  void SetPictures(const QImage& Normal, const QImage& Hover, const QImage& Down,
                   const QImage& DownHover);
  bool PicturesLoaded() const { return FPicturesLoaded; }
  const QImage& Picture(TLook Look) const { return FPictures[Look]; }

  bool Pressed() const { return FPressed; }
  bool Hovered() const { return FHover; }
  // The look painted now.
  TLook CurrentLook() const;
  // Where the caption's top left corner is drawn now.
  QPoint CaptionPos() const;

  // The inherited click, then the modal result to the dialog. Throws EError
  // when the button has a modal result but does not sit on a dialog.
  void Click() override;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::array<QImage, 4> FPictures;
  bool FPicturesLoaded = false;
  bool FDown = false;
  bool FPressed = false;
  bool FHover = false;
  QString FCaption;
  TColor FFontColor = clBlack;
  int FModalResult = mrNone;
  int FGroup = 0;
};

}  // namespace tw
