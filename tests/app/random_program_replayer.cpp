#include "app/random_program_replayer.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "app/ApplicationU.h"
#include "app/PaintF.h"
#include "app/main_window_test_support.h"
#include "controls/QImgButtonU.h"
#include "controls/QSliderU.h"
#include "painter/qt/PainterQtU.h"
#include "controls/PaintGridU.h"

namespace tw::test {

void DeliverQueuedEvents() {
  // Twice: what the first round delivers may queue more (a queued close
  // runs the close dialog, whose end frees it later).
  for (int round = 0; round < 2; ++round) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
  }
}

void TProgramReplayer::Apply(const TProgramEvent& Event) {
  // As the program's application object does for every event it delivers.
  DeliverGuarded([&] {
    Deliver(Event);
    return true;
  });
  DeliverQueuedEvents();
  if (FWindow.MakingPage()) {
    FWindow.PageMaker().WaitAndDeliver();
    DeliverQueuedEvents();
  }
}

void TProgramReplayer::Drop(const std::string& File) {
  QMimeData Data;
  Data.setUrls({QUrl::fromLocalFile(QString::fromStdString(File))});
  const QPoint Centre = FWindow.rect().center();
  QDragEnterEvent Enter(Centre, Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&FWindow, &Enter);
  if (!Enter.isAccepted()) return;
  QDropEvent Dropped(QPointF(Centre), Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&FWindow, &Dropped);
}

void TProgramReplayer::Deliver(const TProgramEvent& Event) {
  TPainter& painter = FWindow.Painter();
  const QPoint at = PainterPoint(painter, Event.A, Event.B);
  switch (Event.Kind) {
    case TEventKind::Button: {
      auto* button = FWindow.findChild<TQImgButton*>(ProgramButtons.at(size_t(Event.A)).ObjectName);
      if (button) QTest::mouseClick(button, Qt::LeftButton);
      break;
    }
    case TEventKind::PaintWell:
      QTest::mouseClick(&FWindow.PaintTray(), Qt::LeftButton, {},
                        WellCentre(FWindow.PaintTray(), Event.A));
      break;
    case TEventKind::MixWell:
      QTest::mouseClick(&FWindow.MixTray(), Qt::LeftButton, {},
                        WellCentre(FWindow.MixTray(), Event.A));
      break;
    case TEventKind::Slider: {
      TQSlider& slider = FWindow.BrushSizeSlider();
      QTest::mouseClick(&slider, Qt::LeftButton, {},
                        QPoint(slider.width() * Event.A / 1000, slider.height() / 2));
      break;
    }
    case TEventKind::PainterPress:
      QTest::mousePress(&painter, Qt::LeftButton, {}, at);
      break;
    case TEventKind::PainterMove:
      // With no button held this moves the screen pointer.
      QTest::mouseMove(&painter, at);
      break;
    case TEventKind::PainterRelease:
      QTest::mouseRelease(&painter, Qt::LeftButton, {}, at);
      break;
    case TEventKind::PainterDouble:
      QTest::mouseDClick(&painter, Qt::LeftButton, {}, at);
      break;
    case TEventKind::RightPress:
      QTest::mousePress(&painter, Qt::RightButton, {}, at);
      break;
    case TEventKind::RightRelease:
      QTest::mouseRelease(&painter, Qt::RightButton, {}, at);
      break;
    case TEventKind::PointerTo:
      QCursor::setPos(painter.mapToGlobal(at));
      break;
    case TEventKind::DropFile:
      Drop(FDropFolder + "/" + DropFiles.at(size_t(Event.A)).Name);
      break;
    case TEventKind::KeyClick:
    case TEventKind::KeyPress:
    case TEventKind::KeyRelease: {
      const TKeyEntry& key = ProgramKeys.at(size_t(Event.A));
      const Qt::Key code = Qt::Key(key.Key);
      if (Event.Kind == TEventKind::KeyClick)
        QTest::keyClick(&FWindow, code, key.Modifiers);
      else if (Event.Kind == TEventKind::KeyPress)
        QTest::keyPress(&FWindow, code, key.Modifiers);
      else
        QTest::keyRelease(&FWindow, code, key.Modifiers);
      break;
    }
  }
}

}  // namespace tw::test
