#include "app/HostWindowU.h"

#include <QKeyEvent>
#include <QLabel>
#include <QScrollArea>
#include <QStatusBar>
#include <algorithm>
#include <array>
#include <cmath>

#include "app/SamplePictureU.h"
#include "painter/qt/PainterQtU.h"

namespace tw {
namespace {

constexpr std::array<TColor, 8> Colors = {0x2020E0, 0x1090F0, 0x20E0F0, 0x30B030,
                                          0xE07020, 0xB03090, 0xC0A0F0, 0x204080};
constexpr std::array<int, 9> BrushSizes = {1, 2, 4, 6, 8, 12, 20, 30, 60};
constexpr std::array<double, 13> Zooms = {0.25, 0.33, 0.5, 0.67, 0.8, 1.0, 1.25,
                                          1.5,  2.0,  3.0, 4.0,  6.0, 8.0};

const char* ModeName(TPaintMode mode) {
  switch (mode) {
    case pmFill: return "fill";
    case pmBrush: return "brush";
    case pmMBrush: return "masked brush";
    case pmDropper: return "dropper";
    case pmMarker: return "marker";
    case pmEraser: return "eraser";
    case pmTap: return "tap";
  }
  return "?";
}

const char* MixName(TPaintMixMode mode) {
  switch (mode) {
    case mmOver: return "over";
    case mmDarken: return "darken";
    case mmLighten: return "lighten";
  }
  return "?";
}

}  // namespace

THostWindow::THostWindow(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle("Tintwell");
  FScroll = new QScrollArea(this);
  FScroll->setAlignment(Qt::AlignCenter);
  FScroll->setBackgroundRole(QPalette::Dark);
  FPainter = new TPainter;
  FPainter->SetAutoSize(true);
  FPainter->SetPaintColor(Colors[0]);
  FPainter->LoadPicture(MakeSamplePicture());
  FPainter->ClearHistory();
  FScroll->setWidget(FPainter);
  setCentralWidget(FScroll);
  FStatus = new QLabel(this);
  statusBar()->addWidget(FStatus, 1);

  FPainter->OnClickAt = [this](TPainterModel&, TPoint pt) {
    if (FPainter->PaintMode() == pmDropper) {
      if (const TColor c = FPainter->ColorAt(pt)) FPainter->SetPaintColor(c);
    } else if (FPainter->PaintMode() == pmTap) {
      FPainter->Wash();
    }
  };
  FPainter->OnSetPaintColor = [this](TPainterModel&, TColor) { UpdateStatus(); };
  FPainter->OnSetPaintMode = [this](TPainterModel&, TPaintMode&) { UpdateStatus(); };
  resize(1000, 760);
  UpdateStatus();
}

THostWindow::~THostWindow() {
  FPainter->OnClickAt = nullptr;
  FPainter->OnSetPaintColor = nullptr;
  FPainter->OnSetPaintMode = nullptr;
}

void THostWindow::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool keypad = event->modifiers() & Qt::KeypadModifier;
  if (event->matches(QKeySequence::Undo)) {
    FPainter->Undo();
  } else if (key >= Qt::Key_1 && key <= Qt::Key_9 && !keypad) {
    FPainter->SetBrushSize(BrushSizes[size_t(key - Qt::Key_1)]);
  } else if (key == Qt::Key_0 && !keypad) {
    FPainter->SetScale(1.0);
  } else if (key == Qt::Key_Plus || key == Qt::Key_Equal) {
    StepZoom(1);
  } else if (key == Qt::Key_Minus) {
    StepZoom(-1);
  } else if (key == Qt::Key_X) {
    FPainter->SetMixMode(TPaintMixMode((FPainter->MixMode() + 1) % 3));
  } else if (key == Qt::Key_C) {
    FColorIndex = (FColorIndex + 1) % int(Colors.size());
    FPainter->SetPaintColor(Colors[size_t(FColorIndex)]);
  } else {
    static constexpr std::pair<int, TPaintMode> Tools[] = {
        {Qt::Key_F, pmFill},   {Qt::Key_B, pmBrush},  {Qt::Key_M, pmMBrush}, {Qt::Key_K, pmMarker},
        {Qt::Key_E, pmEraser}, {Qt::Key_D, pmDropper}, {Qt::Key_T, pmTap}};
    const auto* tool = std::find_if(std::begin(Tools), std::end(Tools),
                                    [key](const auto& t) { return t.first == key; });
    if (tool == std::end(Tools)) {
      QMainWindow::keyPressEvent(event);
      return;
    }
    FPainter->SetPaintMode(tool->second);
  }
  UpdateStatus();
}

void THostWindow::StepZoom(int direction) {
  // The step nearest to the current scale, then one further.
  const double scale = FPainter->Scale();
  const auto nearest = std::min_element(Zooms.begin(), Zooms.end(), [scale](double a, double b) {
    return std::fabs(std::log(a / scale)) < std::fabs(std::log(b / scale));
  });
  const int index = std::clamp(int(nearest - Zooms.begin()) + direction, 0, int(Zooms.size()) - 1);
  FPainter->SetScale(Zooms[size_t(index)]);
}

void THostWindow::UpdateStatus() {
  if (!FStatus) return;
  const TColor c = FPainter->PaintColor();
  FStatus->setText(
      QString("Tool: %1 (F B M K E D T)   Mix: %2 (X)   Size: %3 (1-9)   Colour: #%4 (C)   "
              "Scale: %5 (+ - 0)   Undo: Ctrl+Z")
          .arg(ModeName(FPainter->PaintMode()), MixName(FPainter->MixMode()))
          .arg(FPainter->BrushSize())
          .arg(QString::asprintf("%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c)))
          .arg(FPainter->Scale(), 0, 'f', 2));
}

}  // namespace tw
