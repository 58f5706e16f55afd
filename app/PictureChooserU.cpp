#include "app/PictureChooserU.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "controls/FocusMarkU.h"

namespace tw {

namespace {

// The painting area's own background, so the chooser reads as part of it.
const QColor Background(253, 245, 232);
const QColor TileFace(255, 255, 255);
const QColor TileEdge(196, 186, 168);
const QColor Placeholder(238, 232, 220);
const QColor BrokenFace(200, 200, 200);
const QColor BrokenLines(150, 150, 150);
// The open picture: a green frame and a yellow star.
const QColor CurrentFrame(46, 160, 67);
const QColor StarFace(255, 205, 40);
const QColor StarEdge(150, 95, 0);
// The ring of the keys has the dialogs' focus ring colours.
const QColor& RingEdge = FocusRingEdge;
const QColor& RingCore = FocusRingCore;
const QColor ScrollMark(160, 150, 135);

constexpr double TileRadius = 14;
constexpr int CurrentFrameWidth = 6;
constexpr int RingWidth = 8;
// A wheel notch scrolls half a row.
constexpr int NotchStep = (TPictureChooser::TileSize + TPictureChooser::TileGap) / 2;
// Priorities of the thumbnail requests.
constexpr int OpenPicturePriority = 3;
constexpr int InViewPriority = 2;
constexpr int NearViewPriority = 1;

QPainterPath Star(QPointF Centre, double Outer) {
  QPainterPath Path;
  const double Inner = Outer * 0.45;
  for (int i = 0; i < 10; ++i) {
    const double Angle = -M_PI / 2 + i * M_PI / 5;
    const double Radius = i % 2 ? Inner : Outer;
    const QPointF At(Centre.x() + Radius * std::cos(Angle), Centre.y() + Radius * std::sin(Angle));
    if (i == 0)
      Path.moveTo(At);
    else
      Path.lineTo(At);
  }
  Path.closeSubpath();
  return Path;
}

}  // namespace

TPictureChooser::TPictureChooser(QWidget* Parent) : QWidget(Parent), FGrid(TileSize, TileGap) {
  setObjectName(QStringLiteral("PictureChooser"));
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  FThumbnails.OnChanged = [this](const std::string& Entry) { ThumbnailChanged(Entry); };
  hide();
}

void TPictureChooser::Open(const std::vector<std::string>& Entries, int Current,
                           const TRaster24* CurrentLayer) {
  show();
  raise();
  FEntries = Entries;
  FGrid.SetCount(int(Entries.size()));
  FCurrent = Current >= 0 && Current < int(Entries.size()) ? Current : -1;
  FMarked = FCurrent >= 0 ? FCurrent : (Entries.empty() ? -1 : 0);
  FPressed = false;
  FDragging = false;
  FThumbnails.SetSize(int(std::lround(ImageBox * devicePixelRatioF())));
  FThumbnails.Refresh();
  if (CurrentLayer && FCurrent >= 0)
    FThumbnails.WantFromLayer(FEntries[size_t(FCurrent)], *CurrentLayer, OpenPicturePriority);
  FGrid.SetView(width(), height());
  FScroll = 0;
  FScroll = FGrid.ScrollToShow(FMarked, FScroll);
  WantVisible();
  update();
}

void TPictureChooser::SetMarked(int Index) {
  if (Index < 0 || Index >= int(FEntries.size())) return;
  FMarked = Index;
  SetScrollOffset(FGrid.ScrollToShow(Index, FScroll));
  update();
}

void TPictureChooser::SetScrollOffset(int Offset) {
  const int Clamped = FGrid.ClampScroll(Offset);
  if (Clamped == FScroll) return;
  FScroll = Clamped;
  WantVisible();
  update();
}

QRect TPictureChooser::TileRect(int Index) const {
  const TTileRect r = FGrid.TileRect(Index);
  return QRect(r.Left, r.Top - FScroll, r.Width, r.Height);
}

bool TPictureChooser::KeyPress(const QKeyEvent& Event) {
  auto Move = [this](TGridMove How) {
    SetMarked(FGrid.Move(FMarked, How));
    return true;
  };
  switch (Event.key()) {
    case Qt::Key_Left: return Move(TGridMove::Left);
    case Qt::Key_Right: return Move(TGridMove::Right);
    case Qt::Key_Up: return Move(TGridMove::Up);
    case Qt::Key_Down: return Move(TGridMove::Down);
    case Qt::Key_PageUp: return Move(TGridMove::PageUp);
    case Qt::Key_PageDown: return Move(TGridMove::PageDown);
    case Qt::Key_Home: return Move(TGridMove::First);
    case Qt::Key_End: return Move(TGridMove::Last);
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // A key held down must not choose again in the next chooser.
      if (!Event.isAutoRepeat()) Choose(FMarked);
      return true;
    case Qt::Key_Escape:
      if (OnClose) OnClose();
      return true;
    default: return false;
  }
}

void TPictureChooser::Choose(int Index) {
  if (Index < 0 || Index >= int(FEntries.size())) return;
  FMarked = Index;
  update();
  if (OnChoose) OnChoose(Index);
}

void TPictureChooser::WantVisible() {
  if (FEntries.empty() || !isVisible()) return;
  const int First = FGrid.FirstVisible(FScroll);
  const int Last = FGrid.LastVisible(FScroll);
  for (int i = First; i <= Last; ++i) FThumbnails.Want(FEntries[size_t(i)], InViewPriority);
  // A page either side, so scrolling on finds most tiles ready.
  const int Page = FGrid.Columns() * FGrid.RowsPerPage();
  const int Before = std::max(0, First - Page);
  const int After = std::min(int(FEntries.size()) - 1, Last + Page);
  for (int i = Last + 1; i <= After; ++i) FThumbnails.Want(FEntries[size_t(i)], NearViewPriority);
  for (int i = First - 1; i >= Before; --i) FThumbnails.Want(FEntries[size_t(i)], NearViewPriority);
}

void TPictureChooser::ThumbnailChanged(const std::string& Entry) {
  const int First = FGrid.FirstVisible(FScroll);
  const int Last = FGrid.LastVisible(FScroll);
  for (int i = std::max(0, First); i <= Last && i < int(FEntries.size()); ++i)
    if (FEntries[size_t(i)] == Entry) update(TileRect(i).adjusted(-1, -1, 1, 1));
}

void TPictureChooser::resizeEvent(QResizeEvent* Event) {
  QWidget::resizeEvent(Event);
  FGrid.SetView(width(), height());
  FScroll = FGrid.ScrollToShow(FMarked, FGrid.ClampScroll(FScroll));
  WantVisible();
}

void TPictureChooser::paintEvent(QPaintEvent* Event) {
  QPainter Canvas(this);
  Canvas.fillRect(Event->rect(), Background);
  Canvas.setRenderHint(QPainter::Antialiasing);
  const int First = FGrid.FirstVisible(FScroll);
  const int Last = FGrid.LastVisible(FScroll);
  for (int i = First; i <= Last; ++i)
    if (Event->region().intersects(TileRect(i).adjusted(-TileGap, -TileGap, TileGap, TileGap)))
      DrawTile(Canvas, i);
  // Where the view is in a long list; the wheel and drags move it.
  const int Content = FGrid.ContentHeight();
  if (Content > height() && height() > 0) {
    const double Part = double(height()) / Content;
    const int BarHeight = std::max(24, int(height() * Part));
    const int Top = int((height() - BarHeight) * double(FScroll) / (Content - height()));
    Canvas.setPen(Qt::NoPen);
    Canvas.setBrush(ScrollMark);
    Canvas.drawRoundedRect(QRectF(width() - 9, Top + 2, 6, BarHeight - 4), 3, 3);
  }
}

void TPictureChooser::DrawTile(QPainter& Canvas, int Index) {
  const QRect Tile = TileRect(Index);
  const std::string& Entry = FEntries[size_t(Index)];
  const TThumbnailState State = FThumbnails.State(Entry);
  if (Index == FMarked) {
    // The ring lies in the gap around the tile.
    const QRectF Ring = QRectF(Tile).adjusted(-RingWidth / 2.0 - 2, -RingWidth / 2.0 - 2,
                                              RingWidth / 2.0 + 2, RingWidth / 2.0 + 2);
    Canvas.setBrush(Qt::NoBrush);
    Canvas.setPen(QPen(RingEdge, RingWidth));
    Canvas.drawRoundedRect(Ring, TileRadius + 5, TileRadius + 5);
    Canvas.setPen(QPen(RingCore, RingWidth - 4));
    Canvas.drawRoundedRect(Ring, TileRadius + 5, TileRadius + 5);
  }
  Canvas.setPen(
      QPen(Index == FCurrent ? CurrentFrame : TileEdge, Index == FCurrent ? CurrentFrameWidth : 2));
  Canvas.setBrush(State == TThumbnailState::Broken ? BrokenFace : TileFace);
  const double Inset = Index == FCurrent ? CurrentFrameWidth / 2.0 : 1;
  Canvas.drawRoundedRect(QRectF(Tile).adjusted(Inset, Inset, -Inset, -Inset), TileRadius,
                         TileRadius);
  const QRect Box(Tile.center().x() - ImageBox / 2 + 1, Tile.center().y() - ImageBox / 2 + 1,
                  ImageBox, ImageBox);
  switch (State) {
    case TThumbnailState::Shown: {
      const QImage& Image = FThumbnails.Image(Entry);
      const double Ratio = devicePixelRatioF();
      const QSizeF Size(Image.width() / Ratio, Image.height() / Ratio);
      const QRectF Target(Box.center().x() + 1 - Size.width() / 2,
                          Box.center().y() + 1 - Size.height() / 2, Size.width(), Size.height());
      Canvas.setRenderHint(QPainter::Antialiasing, false);
      Canvas.drawImage(Target.toRect(), Image);
      Canvas.setRenderHint(QPainter::Antialiasing);
      break;
    }
    case TThumbnailState::Waiting:
      Canvas.setPen(Qt::NoPen);
      Canvas.setBrush(Placeholder);
      Canvas.drawRoundedRect(QRectF(Box).adjusted(8, 24, -8, -24), 8, 8);
      break;
    case TThumbnailState::Broken: {
      // A picture frame with a crack: there is nothing to show here.
      const QRectF Frame = QRectF(Box).adjusted(32, 44, -32, -44);
      Canvas.setBrush(Qt::NoBrush);
      Canvas.setPen(QPen(BrokenLines, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      Canvas.drawRoundedRect(Frame, 6, 6);
      Canvas.drawLine(Frame.topLeft() + QPointF(Frame.width() * 0.55, 0),
                      Frame.center() + QPointF(-6, 4));
      Canvas.drawLine(Frame.center() + QPointF(-6, 4),
                      Frame.bottomLeft() + QPointF(Frame.width() * 0.4, 0));
      break;
    }
  }
  if (Index == FCurrent) {
    Canvas.setPen(QPen(StarEdge, 2));
    Canvas.setBrush(StarFace);
    Canvas.drawPath(Star(QPointF(Tile.left() + 22, Tile.top() + 22), 17));
  }
}

void TPictureChooser::wheelEvent(QWheelEvent* Event) {
  const QPoint Pixels = Event->pixelDelta();
  const int Delta = !Pixels.isNull() ? Pixels.y() : Event->angleDelta().y() * NotchStep / 120;
  SetScrollOffset(FScroll - Delta);
  Event->accept();
}

void TPictureChooser::mousePressEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton) {
    Event->accept();
    return;
  }
  FPressed = true;
  FDragging = false;
  FPressPos = Event->position().toPoint();
  FPressScroll = FScroll;
  FPressTile = FGrid.TileAt(FPressPos.x(), FPressPos.y() + FScroll);
  Event->accept();
}

void TPictureChooser::mouseMoveEvent(QMouseEvent* Event) {
  if (!FPressed) return;
  const QPoint Pos = Event->position().toPoint();
  if (!FDragging && (Pos - FPressPos).manhattanLength() >= QApplication::startDragDistance())
    FDragging = true;
  if (FDragging) SetScrollOffset(FPressScroll - (Pos.y() - FPressPos.y()));
  Event->accept();
}

void TPictureChooser::mouseReleaseEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton || !FPressed) return;
  FPressed = false;
  const QPoint Pos = Event->position().toPoint();
  Event->accept();
  if (FDragging) {
    FDragging = false;
    return;
  }
  const int Tile = FGrid.TileAt(Pos.x(), Pos.y() + FScroll);
  if (Tile >= 0 && Tile == FPressTile) Choose(Tile);
}

}  // namespace tw
