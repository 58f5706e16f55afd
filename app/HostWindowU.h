// THostWindow: a plain window for trying the painter by hand until the real
// main window exists. It shows the painter in a scroll area on a sample
// picture, switches tools, sizes, colours, mix modes and zoom from the
// keyboard, and shows the current settings in a status line.
#pragma once

#include <QMainWindow>

class QLabel;
class QScrollArea;

namespace tw {

class TPainter;

class THostWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit THostWindow(QWidget* parent = nullptr);
  ~THostWindow() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void StepZoom(int direction);
  void UpdateStatus();

  QScrollArea* FScroll = nullptr;
  TPainter* FPainter = nullptr;
  QLabel* FStatus = nullptr;
  int FColorIndex = 0;
};

}  // namespace tw
