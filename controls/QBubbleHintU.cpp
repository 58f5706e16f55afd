#include "controls/QBubbleHintU.h"

#include <QBitmap>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include "base/ErrorsU.h"
#include "pictures/qt/ArtResourceU.h"

namespace tw {

std::vector<QString> WrapHintText(const QString& Text, int Width,
                                  const std::function<int(const QString&)>& TextWidth) {
  QStringList lines;
  qsizetype start = 0;
  for (qsizetype i = 0; i < Text.size(); ++i) {
    const QChar c = Text[i];
    if (c != '\r' && c != '\n') continue;
    lines.append(Text.mid(start, i - start));
    if (c == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  lines.append(Text.mid(start));

  std::vector<QString> pieces;
  for (const QString& line : lines) {
    QString rest = line;
    // Every round removes at least one character, so this ends.
    while (!rest.isEmpty()) {
      QString candidate = rest;
      while (TextWidth(candidate) >= Width) {
        const qsizetype space = candidate.lastIndexOf(' ');
        if (space < 0) break;  // one word wider than the area: drawn overhanging
        candidate.truncate(space);
        while (candidate.endsWith(' ')) candidate.chop(1);
      }
      pieces.push_back(candidate);
      // Only the one character after the piece goes: further spaces at a
      // wrap point start the next line.
      rest = rest.mid(candidate.size() + 1);
    }
  }
  return pieces;
}

namespace {

QWidget* RequireMainWindow(QWidget* MainWindow) {
  if (!MainWindow) throw EError("The bubble hint needs a main window to be placed against.");
  return MainWindow;
}

}  // namespace

TQBubbleHint::TQBubbleHint(QWidget* MainWindow)
    : QWidget(RequireMainWindow(MainWindow), Qt::ToolTip | Qt::FramelessWindowHint |
                              Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput),
      FMainWindow(MainWindow) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
}

TQBubbleHint::~TQBubbleHint() = default;

void TQBubbleHint::SetTextTitle(const QString& Value) {
  FTextTitle = Value;
  update();
}

void TQBubbleHint::SetTextSubtitle(const QString& Value) {
  FTextSubtitle = Value;
  update();
}

void TQBubbleHint::SetTextInfo(const QString& Value) {
  FTextInfo = Value;
  update();
}

void TQBubbleHint::SetPicture(TQHintDir Dir, const QImage& Value) {
  FPictures[Dir] = Value;
  if (Dir == FDir) ArtChanged();
  update();
}

void TQBubbleHint::SetDir(TQHintDir Value) {
  FDir = Value;
  resize(DesignSize(FPictures[FDir]));
  ArtChanged();
  update();
}

void TQBubbleHint::SetMarginLeft(int Value) {
  FMarginLeft = Value;
  update();
}

void TQBubbleHint::SetMarginTop(int Value) {
  FMarginTop = Value;
  update();
}

void TQBubbleHint::SetMarginBottom(int Value) {
  FMarginBottom = Value;
  update();
}

void TQBubbleHint::SetMarginRight(int Value) {
  FMarginRight = Value;
  update();
}

void TQBubbleHint::SetSpacing(int Value) {
  FSpacing = Value;
  update();
}

void TQBubbleHint::SetOverlap(int Value) {
  FOverlap = Value;
  update();
}

void TQBubbleHint::PlaceNear(const QRect& Rect) {
  // The main window is borderless, so its client area starts at its top
  // left corner on the screen.
  const QPoint origin = FMainWindow->mapToGlobal(QPoint(0, 0));
  const int left = Rect.x() + origin.x();
  const int top = Rect.y() + origin.y();
  const int right = left + Rect.width();
  const int bottom = top + Rect.height();
  // C++ integer division truncates toward zero, as the centres want.
  const int cx = (left + right) / 2;
  const int cy = (top + bottom) / 2;
  const int fx = (origin.x() + origin.x() + FMainWindow->width()) / 2;
  const int fy = (origin.y() + origin.y() + FMainWindow->height()) / 2;
  // A centre on a centre line counts as right of it or below it.
  const bool onLeft = fx > cx;
  const bool onTop = fy > cy;
  if (onLeft)
    SetDir(onTop ? dirDownRight : dirUpRight);
  else
    SetDir(onTop ? dirDownLeft : dirUpLeft);
  const int x = onLeft ? right - FOverlap : left + FOverlap - width();
  const int y = onTop ? bottom - FOverlap : top + FOverlap - height();
  setGeometry(x, y, width(), height());
}

QRect TQBubbleHint::TextArea() const {
  const bool mirrored = FDir == dirUpLeft || FDir == dirDownLeft;
  const bool down = FDir == dirDownRight || FDir == dirDownLeft;
  const int left = mirrored ? FMarginRight : FMarginLeft;
  const int right = width() - (mirrored ? FMarginLeft : FMarginRight);
  const int top = down ? FMarginBottom : FMarginTop;
  const int bottom = height() - (down ? FMarginTop : FMarginBottom);
  return QRect(left, top, right - left, bottom - top);
}

// The bubble writes in the main window's font and text colour, read at
// each paint so it follows the main window's changes.
QFont TQBubbleHint::TitleFont() const {
  QFont f = FMainWindow->font();
  f.setBold(true);
  return f;
}

QFont TQBubbleHint::TextFont() const {
  QFont f = FMainWindow->font();
  f.setBold(false);
  return f;
}

std::vector<TQBubbleLine> TQBubbleHint::TextLayout() const {
  const QRect area = TextArea();
  const int w = area.width();
  const QFontMetrics bold(TitleFont());
  const QFontMetrics regular(TextFont());
  std::vector<TQBubbleLine> lines;
  int y = area.y();
  // A line wider than the area overhangs both sides equally; the division
  // truncates toward zero.
  auto centred = [&](const QString& text, const QFontMetrics& metrics, bool isBold) {
    lines.push_back({text, area.x() + (w - metrics.horizontalAdvance(text)) / 2, y, isBold});
    y += metrics.height();
  };
  centred(FTextTitle, bold, true);
  y += FSpacing;
  centred(FTextSubtitle, regular, false);
  y += FSpacing;
  const QFontMetrics info(InfoFont());
  const auto width = [&](const QString& text) { return info.horizontalAdvance(text); };
  for (const QString& piece : WrapHintText(FTextInfo, w, width)) centred(piece, info, false);
  return lines;
}

QFont TQBubbleHint::InfoFont() const {
  // Long translations would run below the box into the trail: the
  // information text steps down in size until its lines fit the text area,
  // but never below a size a child can still read.
  constexpr int SmallestPixelSize = 8;
  QFont font = TextFont();
  const QRect area = TextArea();
  const int top = area.y() + QFontMetrics(TitleFont()).height() +
                  QFontMetrics(TextFont()).height() + 2 * FSpacing;
  const int available = area.bottom() + 1 - top;
  for (;;) {
    const QFontMetrics metrics(font);
    const auto width = [&](const QString& text) { return metrics.horizontalAdvance(text); };
    const int needed = int(WrapHintText(FTextInfo, area.width(), width).size()) * metrics.height();
    const int size = QFontInfo(font).pixelSize();
    if (needed <= available || size <= SmallestPixelSize) return font;
    font.setPixelSize(size - 1);
  }
}

void TQBubbleHint::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QImage& art = FPictures[FDir];
  if (!art.isNull()) painter.drawImage(rect(), art);
  painter.setPen(FMainWindow->palette().color(QPalette::WindowText));
  const QFont bold = TitleFont();
  const QFont regular = TextFont();
  const QFont info = InfoFont();
  const std::vector<TQBubbleLine> lines = TextLayout();
  // The title and subtitle come first; the rest is the information text.
  for (size_t i = 0; i < lines.size(); ++i) {
    const TQBubbleLine& line = lines[i];
    const QFont& font = line.Bold ? bold : i < 2 ? regular : info;
    painter.setFont(font);
    painter.drawText(line.X, line.Y + QFontMetrics(font).ascent(), line.Text);
  }
}

void TQBubbleHint::resizeEvent(QResizeEvent* event) {
  ArtChanged();
  QWidget::resizeEvent(event);
}

void TQBubbleHint::ArtChanged() {
  const QImage& art = FPictures[FDir];
  if (art.isNull() || !art.hasAlphaChannel() || width() <= 0 || height() <= 0) {
    clearMask();
    return;
  }
  // The mask is in design pixels, whatever the art's density.
  QImage shown = art.size() == size() ? art : art.scaled(size());
  shown.setDevicePixelRatio(1);
  setMask(QBitmap::fromImage(shown.createAlphaMask(Qt::ThresholdAlphaDither)));
}

}  // namespace tw
