// TFMain and the picture chooser: opening it over the painting area from
// the title line or the Home key, the thumbnails' files, what a choice
// does, and keeping the rest of the window still while it is open.
#include <QApplication>
#include <QMouseEvent>

#include "app/ColoringAutosaveU.h"
#include "app/PaintF.h"
#include "app/PictureChooserU.h"
#include "app/ThumbnailKeyU.h"
#include "painter/qt/PainterQtU.h"
#include "pictures/CatalogEntryU.h"

namespace tw {

bool TFMain::ChooserOpen() const { return FChooser && FChooser->isVisible(); }

void TFMain::ConnectChooser() {
  FChooser->OnChoose = [this](int Index) { Guarded([&] { ChooserChose(Index); }); };
  FChooser->OnClose = [this] { Guarded([this] { CloseChooser(); }); };
}

void TFMain::CaptionClicked(QPoint Pos) {
  (void)Pos;
  Guarded([this] {
    if (ChooserOpen())
      CloseChooser();
    else
      ChoosePicture();
  });
}

void TFMain::ChoosePicture() {
  if (FCatalog.empty() || ChooserOpen()) return;
  HideHint();
  // A held Space or arrow must not go on steering under the chooser.
  FKeys->ReleaseHeldKeys();
  const std::string folder = CatalogFolder();
  const TStayColored stay = StayColored();
  FChooser->Thumbnails().OnJob = [folder, stay](const std::string& Entry) {
    TThumbnailJob Job;
    Job.PictureFile = CatalogEntryFile(Entry, folder);
    Job.Files = ColoringFileNames(Entry);
    Job.StayColored = stay;
    Job.CacheFile = ThumbnailFileName(Entry);
    return Job;
  };
  FChooser->setGeometry(FMainPanel->rect());
  // The open picture's files may lag behind what the child sees; its tile
  // shows the painter.
  const TRaster24* shown = PictureOpen() ? &FPainter->ColorLayer() : nullptr;
  FChooser->Open(FCatalog, FCurrentPicture, shown);
  UpdateEventFilter();
}

void TFMain::CloseChooser() {
  if (FChooser) FChooser->hide();
  UpdateEventFilter();
}

void TFMain::UpdateEventFilter() {
  if (ChooserOpen() || MakingPage())
    qApp->installEventFilter(this);
  else
    qApp->removeEventFilter(this);
}

void TFMain::ChooserChose(int Index) {
  CloseChooser();
  // The open picture chosen again stays as it is, its undo steps with it.
  if (Index == FCurrentPicture && PictureOpen()) return;
  OpenPicture(Index);
}

bool TFMain::eventFilter(QObject* watched, QEvent* event) {
  if (MakingPage() && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    switch (event->type()) {
      // While a page is being made the window holds still: the page opens
      // over whatever would be done now.
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::TouchBegin:
      case QEvent::KeyPress:
      case QEvent::ShortcutOverride: return true;
      default: break;
    }
  }
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      if (!ChooserOpen() || !watched->isWidgetType()) break;
      auto* widget = static_cast<QWidget*>(watched);
      if (widget->window() != this || widget == FChooser || FChooser->isAncestorOf(widget)) break;
      // A press beside the chooser closes it and does nothing else there.
      Guarded([this] { CloseChooser(); });
      return true;
    }
    default: break;
  }
  return TfrmQBase::eventFilter(watched, event);
}

}  // namespace tw
