#include "controls/QImgButtonU.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "base/ErrorsU.h"
#include "pictures/qt/ArtResourceU.h"

namespace tw {

TQImgButton::TQImgButton(QWidget* parent) : TQHintControl(parent) {}

TQImgButton::~TQImgButton() = default;

void TQImgButton::SetCaption(const QString& Value) {
  FCaption = Value;
  update();
}

void TQImgButton::SetDown(bool Value) {
  FDown = Value;
  update();
}

void TQImgButton::SetFont(const QFont& Value) {
  setFont(Value);
  update();
}

void TQImgButton::SetFontColor(TColor Value) {
  FFontColor = Value;
  update();
}

void TQImgButton::LoadJpegPictures(const QString& Normal, const QString& Hover,
                                   const QString& Down, const QString& DownHover) {
  SetPictures(JpegResource(Normal), JpegResource(Hover), JpegResource(Down),
              JpegResource(DownHover));
}

void TQImgButton::LoadPngPictures(const QString& Name) {
  SetPictures(PngResource(Name + "0"), PngResource(Name + "1"), PngResource(Name + "2"),
              PngResource(Name + "3"));
}

void TQImgButton::SetPictures(const QImage& Normal, const QImage& Hover, const QImage& Down,
                              const QImage& DownHover) {
  FPictures = {Normal, Hover, Down, DownHover};
  FPicturesLoaded = true;
  update();
}

TQImgButton::TLook TQImgButton::CurrentLook() const {
  return TLook(((FDown || FPressed) ? 2 : 0) + (FHover ? 1 : 0));
}

QPoint TQImgButton::CaptionPos() const {
  const QFontMetrics metrics(font());
  // C++ integer division truncates toward zero, as the placement wants.
  int x = (width() - metrics.horizontalAdvance(FCaption)) / 2 - 1;
  int y = (height() - metrics.height()) / 2 - 1;
  if (FDown || FPressed) {
    x += 2;
    y += 2;
  }
  return {x, y};
}

void TQImgButton::Click() {
  const QPointer<TQImgButton> alive(this);
  TQHintControl::Click();
  // OnClick may have closed and freed the dialog and the button with it.
  if (!alive || FModalResult == mrNone) return;
  auto* form = dynamic_cast<IModalForm*>(window());
  if (!form) {
    const QString name = objectName().isEmpty() ? FCaption : objectName();
    throw EError("The button \"" + name.toStdString() +
                 "\" has a modal result but does not sit on a dialog.");
  }
  form->SetModalResult(FModalResult);
}

bool TQImgButton::event(QEvent* event) {
  // A window that loses activation loses the mouse too (a dialog opened
  // from a press takes the release), so the button must not stay lit or
  // pressed until the pointer comes back.
  if (event->type() == QEvent::WindowDeactivate && (FHover || FPressed)) {
    FHover = false;
    FPressed = false;
    update();
  }
  return TQHintControl::event(event);
}

void TQImgButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!FPicturesLoaded) {
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawRect(0, 0, width() - 1, height() - 1);
  } else {
    painter.drawImage(0, 0, FPictures[CurrentLook()]);
  }
  if (FCaption.isEmpty()) return;
  painter.setFont(font());
  painter.setPen(QColor(GetRValue(FFontColor), GetGValue(FFontColor), GetBValue(FFontColor)));
  const QPoint pos = CaptionPos();
  painter.drawText(pos.x(), pos.y() + QFontMetrics(font()).ascent(), FCaption);
}

void TQImgButton::enterEvent(QEnterEvent* event) {
  // Buttons of a window in the background do not light up.
  FHover = window()->isActiveWindow();
  update();
  TQHintControl::enterEvent(event);
}

void TQImgButton::leaveEvent(QEvent* event) {
  FHover = false;
  update();
  TQHintControl::leaveEvent(event);
}

void TQImgButton::mousePressEvent(QMouseEvent* event) {
  FPressed = true;
  update();
  TQHintControl::mousePressEvent(event);
}

void TQImgButton::mouseReleaseEvent(QMouseEvent* event) {
  FPressed = false;
  update();
  TQHintControl::mouseReleaseEvent(event);
}

}  // namespace tw
