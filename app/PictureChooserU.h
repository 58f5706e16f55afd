// TPictureChooser: the picture chooser that covers the painting area. It
// shows every catalog picture as a large tile with its kept colouring,
// rings the tile the keys have reached (at first the open picture's) and
// marks the open picture's tile with a green frame and a star. Tiles whose
// thumbnail is not there yet show a pale placeholder, and a picture that
// cannot be read a grey tile; neither stops the chooser.
//
// Input: the wheel, a drag with the mouse or a finger (a touch arrives as
// the mouse) and the keys scroll; a click or tap on a tile, Space and
// Return choose (OnChoose with the catalog index); Escape asks to close
// (OnClose). The arrows move the ring by a tile or a row, Page Up and Page
// Down by the rows in view, Home and End to the first and last tile. The
// main window passes its keys here while the chooser is open, as the
// chooser never takes the focus.
#pragma once

#include <QPoint>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "app/ChooserThumbnailsU.h"
#include "app/PictureGridU.h"

class QKeyEvent;

namespace tw {

class TPictureChooser : public QWidget {
  Q_OBJECT

 public:
  // Tile size and gap in pixels, and the square a thumbnail fits in.
  static constexpr int TileSize = 184;
  static constexpr int TileGap = 20;
  static constexpr int ImageBox = 160;

  explicit TPictureChooser(QWidget* Parent);

  // Shows itself with Entries, the ring and the mark on Current (-1:
  // none) and the ring's tile in view. Kept thumbnails show at once; every
  // entry's is made again when its files changed since. CurrentLayer: the
  // open picture as the child sees it now, for its tile (null: from its
  // files like the others).
  void Open(const std::vector<std::string>& Entries, int Current,
            const TRaster24* CurrentLayer = nullptr);

  std::function<void(int Index)> OnChoose;
  std::function<void()> OnClose;

  // A key pressed while the chooser is open; true when it has a meaning
  // here.
  bool KeyPress(const QKeyEvent& Event);

  const std::vector<std::string>& Entries() const { return FEntries; }
  int Current() const { return FCurrent; }
  // The tile with the ring; -1 when there is none.
  int Marked() const { return FMarked; }
  void SetMarked(int Index);
  int ScrollOffset() const { return FScroll; }
  void SetScrollOffset(int Offset);
  const TPictureGrid& Grid() const { return FGrid; }
  // A tile's rectangle on the widget (it may lie partly outside).
  QRect TileRect(int Index) const;
  TChooserThumbnails& Thumbnails() { return FThumbnails; }

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void wheelEvent(QWheelEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;

 private:
  void Choose(int Index);
  // Asks for the thumbnails in view first, then those a page either side.
  void WantVisible();
  void ThumbnailChanged(const std::string& Entry);
  void DrawTile(QPainter& Canvas, int Index);

  TPictureGrid FGrid;
  TChooserThumbnails FThumbnails;
  std::vector<std::string> FEntries;
  int FCurrent = -1;
  int FMarked = -1;
  int FScroll = 0;
  // A press of the left button: where, the offset then, the tile under it,
  // and whether it has become a drag.
  bool FPressed = false;
  bool FDragging = false;
  QPoint FPressPos;
  int FPressScroll = 0;
  int FPressTile = -1;
};

}  // namespace tw
