#include "painter/qt/PainterQtU.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QRegion>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>

#include "base/ErrorsU.h"
#include "painter/StretchU.h"
#include "painter/qt/CurrentPrinterU.h"

namespace tw {
namespace {

// Printer device pixels left free around the printed picture, in each
// direction together.
constexpr int PrintMargin = 400;

// The start-up measurement (bench/app) times the program from outside up to
// its first painted picture: when TINTWELL_FIRST_FRAME_FILE names a file,
// the first paint with a picture writes the wall-clock time into it, in
// nanoseconds since the epoch, once per process.
void MarkFirstFrame() {
  static bool marked = false;
  if (marked) return;
  marked = true;
  const char* file = std::getenv("TINTWELL_FIRST_FRAME_FILE");
  if (file == nullptr || *file == 0) return;
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  std::ofstream(file) << std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()
                      << '\n';
}

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

// A read-only view onto the colour layer's rows, without copying.
QImage LayerView(const TRaster24& layer) {
  return QImage(layer.Data(), layer.Width(), layer.Height(), qsizetype(layer.Stride()),
                QImage::Format_RGB888);
}

}  // namespace

TPainter::TPainter(QWidget* parent) : QWidget(parent) {
  // Every pixel is drawn by paintEvent, so Qt need not clear the area first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  // OnMouseMove reports hovering too, not only drags.
  setMouseTracking(true);
}

TPainter::~TPainter() = default;

void TPainter::SetAutoSize(bool value) {
  FAutoSize = value;
  if (FAutoSize) {
    ApplyAutoSize();
  } else {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }
}

void TPainter::ApplyAutoSize() {
  if (!FAutoSize || UnscaledWidth() <= 0) return;
  // A fixed size, so layouts and scroll areas keep it too.
  setFixedSize(ScaledWidth(), ScaledHeight());
}

QSize TPainter::sizeHint() const {
  if (HasPicture()) return QSize(ScaledWidth(), ScaledHeight());
  return QWidget::sizeHint();
}

TPoint TPainter::ControlToPicture(QPoint pos) const {
  return {Nearest(pos.x() * InverseScale()), Nearest(pos.y() * InverseScale())};
}

void TPainter::InvalidatePicture(const TRect& pictureRect) {
  const TRect r = IntersectRect(pictureRect, PictureBounds());
  if (r.IsEmpty()) return;
  update(ToQRect(AffectedScreenRect(r, Scale())) & rect());
}

void TPainter::ScaleChanged() {
  ApplyAutoSize();
  update();
}

void TPainter::SetMouseCapture(bool capture) {
  // While a button is held Qt already sends every move and the release to the
  // widget that took the press, wherever the pointer goes; an explicit grab
  // would only outlive the button if a release were lost.
  (void)capture;
}

QRect TPainter::VisiblePart() const {
  const QWidget* parent = parentWidget();
  if (!parent || isWindow()) return rect();
  return (parent->rect() & geometry()).translated(-pos());
}

void TPainter::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (!HasPicture()) {
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    return;
  }
  const QRegion wanted = event->region() & VisiblePart();
  const QRect picture(0, 0, ScaledWidth(), ScaledHeight());
  for (const QRect& r : wanted & picture) DrawPicturePart(painter, r);
  // Beyond the picture (a control larger than the scaled picture) stays
  // plain white.
  for (const QRect& r : wanted - picture) painter.fillRect(r, Qt::white);
  MarkFirstFrame();
}

void TPainter::DrawPicturePart(QPainter& painter, const QRect& target) {
  const TRaster24& layer = ColorLayer();
  if (Scale() == 1.0) {
    painter.drawImage(target.topLeft(), LayerView(layer), target);
    return;
  }
  const qsizetype stride = (qsizetype(target.width()) * 3 + 3) & ~qsizetype(3);
  const size_t bytes = size_t(stride) * size_t(target.height());
  if (FStretchBuffer.size() < bytes) FStretchBuffer.resize(bytes);
  const TRect dest{target.left(), target.top(), target.right() + 1, target.bottom() + 1};
  StretchToScreen(layer, Scale(), dest, FStretchBuffer.data(), size_t(stride));
  const QImage shown(FStretchBuffer.data(), target.width(), target.height(), stride,
                     QImage::Format_RGB888);
  painter.drawImage(target.topLeft(), shown);
}

QPoint TPainter::EventPosition(const QMouseEvent* event) {
  // The pixel under the pointer, also when the position has a fraction.
  const QPointF p = event->position();
  return QPoint(int(std::floor(p.x())), int(std::floor(p.y())));
}

void TPainter::mousePressEvent(QMouseEvent* event) {
  const QPoint p = EventPosition(event);
  if (OnMouseDown)
    OnMouseDown(*this, event->button(), event->buttons(), event->modifiers(), p.x(), p.y());
  ApplyToolAt(ControlToPicture(p));
}

void TPainter::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = EventPosition(event);
  if (OnMouseMove)
    OnMouseMove(*this, Qt::NoButton, event->buttons(), event->modifiers(), p.x(), p.y());
  if (Stroking()) StrokeTo(ControlToPicture(p));
}

void TPainter::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = EventPosition(event);
  if (OnMouseUp)
    OnMouseUp(*this, event->button(), event->buttons(), event->modifiers(), p.x(), p.y());
  switch (PaintMode()) {
    case pmBrush:
    case pmMBrush:
    case pmMarker:
    case pmEraser:
      EndStroke();
      break;
    default:
      break;
  }
}

void TPainter::PrintPicture(const QString& title) { PrintPicture(CurrentPrinter(), title); }

void TPainter::PrintPicture(QPrinter& printer, const QString& title) {
  if (!HasPicture()) throw EError("There is no picture to print.");
  const int width = UnscaledWidth(), height = UnscaledHeight();
  printer.setPageOrientation(width >= height ? QPageLayout::Landscape : QPageLayout::Portrait);
  printer.setDocName(title);
  QPainter painter;
  if (!painter.begin(&printer)) {
    const QString name = printer.outputFileName().isEmpty() ? printer.printerName()
                                                            : printer.outputFileName();
    throw EError(name.isEmpty()
                     ? std::string("The picture could not be printed: no printer is available.")
                     : "The picture could not be printed: \"" + name.toStdString() +
                           "\" could not be started.");
  }
  const int pageWidth = printer.width(), pageHeight = printer.height();
  const double fit = std::min(double(std::max(pageWidth - PrintMargin, 1)) / width,
                              double(std::max(pageHeight - PrintMargin, 1)) / height);
  const int w = std::max(Nearest(fit * width), 1), h = std::max(Nearest(fit * height), 1);
  const int x = (pageWidth - w) / 2, y = (pageHeight - h) / 2;
  // The picture is enlarged many times on paper; without smoothing its line
  // art stays solid black with sharp edges instead of grey fringes, and the
  // job carries the layer once at its own size.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(QRect(x, y, w, h), LayerView(ColorLayer()));
  painter.setPen(QPen(Qt::black, 0));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(x, y, w, h));
  if (!painter.end())
    throw EError("The picture could not be printed: the print job could not be finished.");
}

}  // namespace tw
