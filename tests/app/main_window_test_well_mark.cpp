// The ring on the well the current paint comes from: it follows clicks in
// both trays, the well keys, palette steps, squeezing the dropper into a mix
// well and washing a well, and it is drawn round that well alone.
#include <QImage>
#include <random>

#include "app/main_window_test_support.h"
#include "controls/PaintGridU.h"

namespace tw::test {
namespace {

// Pure white pixels in the band just outside a well (where the spacing
// between wells shows the tray, never pure white).
int WhiteAround(const QImage& Image, const TRect& Cell) {
  int Count = 0;
  for (int y = Cell.Top - 2; y < Cell.Bottom + 2; ++y) {
    for (int x = Cell.Left - 2; x < Cell.Right + 2; ++x) {
      const bool Outside = x < Cell.Left || x >= Cell.Right || y < Cell.Top || y >= Cell.Bottom;
      if (Outside && Image.rect().contains(x, y) && (Image.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
        ++Count;
    }
  }
  return Count;
}

class MainWindowWellMark : public MainWindowFixture {
 protected:
  TFMain& StartWith(const std::string& MainLines = "") {
    AddPicture("a.twf", "Apple");
    WriteDefaults({"a.twf"}, MainLines);
    return Start();
  }

  // The marked well, 0..19 in the paint tray and 20..31 in the mix tray,
  // or -1; checks that the drawn rings agree with it.
  int MarkedWell() const {
    int Marked = -1;
    int Marks = 0;
    for (auto [Grid, First] : {std::pair{&FWindow->PaintTray(), 0},
                               std::pair{&FWindow->MixTray(), int(PaintWellCount)}}) {
      Grid->Layout();
      const QImage Shown = Grid->grab().toImage().convertToFormat(QImage::Format_RGB32);
      for (int i = 0; i < Grid->Count(); ++i) {
        const int White = WhiteAround(Shown, Grid->Cells()[size_t(i)]);
        const bool Ringed = i == Grid->Marked();
        EXPECT_EQ(Ringed, White > 20) << "well " << First + i << ": " << White;
        if (Ringed) {
          Marked = First + i;
          ++Marks;
        }
      }
    }
    EXPECT_LE(Marks, 1);
    return Marked;
  }

  TColor Paint(int Well) const {
    const TColor c = Well < PaintWellCount ? FWindow->PaintTray().GetColor(Well)
                                           : FWindow->MixTray().GetColor(Well - PaintWellCount);
    return c == clBlack ? 1 : c;
  }
};

TEST_F(MainWindowWellMark, TheStartMarksWellZeroAndClicksAndKeysMoveTheMark) {
  TFMain& w = StartWith();
  EXPECT_EQ(MarkedWell(), 0);
  ClickWell(w.PaintTray(), 7);
  EXPECT_EQ(MarkedWell(), 7);
  // The well keys step on from the ringed well.
  Key(Qt::Key_Period);
  EXPECT_EQ(MarkedWell(), 8);
  EXPECT_EQ(w.Painter().PaintColor(), Paint(8));
  Key(Qt::Key_Comma);
  Key(Qt::Key_Comma);
  EXPECT_EQ(MarkedWell(), 6);
}

TEST_F(MainWindowWellMark, AMixWellTakesTheMarkAndLosesItWhenWashedOrRemixed) {
  TFMain& w = StartWith();
  Press("btnDropper");
  ClickWell(w.PaintTray(), 1);
  ClickWell(w.MixTray(), 3);
  // The squeezed well is the paint (MixToBrush is on by default).
  EXPECT_EQ(MarkedWell(), PaintWellCount + 3);
  // More paint mixed in: the well no longer holds the paint in use.
  ClickWell(w.PaintTray(), 2);
  ClickWell(w.MixTray(), 3);
  EXPECT_EQ(MarkedWell(), PaintWellCount + 3);
  EXPECT_EQ(w.Painter().PaintColor(), Paint(PaintWellCount + 3));
  Press("btnWash");
  ClickWell(w.MixTray(), 3);
  EXPECT_EQ(w.MixTray().GetColor(3), clNone);
  EXPECT_EQ(MarkedWell(), -1);
}

TEST_F(MainWindowWellMark, WithoutMixToBrushTheMarkStaysUntilItsWellChanges) {
  TFMain& w = StartWith("MixToBrush=false");
  ClickWell(w.MixTray(), 0);  // empty: nothing happens
  EXPECT_EQ(MarkedWell(), 0);
  Press("btnDropper");
  ClickWell(w.PaintTray(), 1);
  ClickWell(w.MixTray(), 2);
  EXPECT_EQ(MarkedWell(), 0);
  Press("btnBrush");
  ClickWell(w.MixTray(), 2);
  EXPECT_EQ(MarkedWell(), PaintWellCount + 2);
  // Mixing yellow into the marked well changes it under the paint.
  Press("btnDropper");
  ClickWell(w.PaintTray(), 0);
  ClickWell(w.MixTray(), 2);
  EXPECT_EQ(MarkedWell(), -1);
}

TEST_F(MainWindowWellMark, APaletteStepTakesTheMarkAwayAndBackWithThePaint) {
  TFMain& w = StartWith();
  ClickWell(w.PaintTray(), 4);
  Press("btnNextPal");
  // The paint stays, but no well of the new palette holds it.
  EXPECT_EQ(MarkedWell(), -1);
  Press("btnPrevPal");
  EXPECT_EQ(MarkedWell(), 4);
  Press("btnNextPal");
  ClickWell(w.PaintTray(), 5);
  EXPECT_EQ(MarkedWell(), 5);
}

// Random clicks, keys and palette steps: after each, at most one ring, on
// a well that holds the paint in use; a paint chosen from a well marks it.
TEST_F(MainWindowWellMark, RandomActionsKeepTheMarkOnTheWellOfThePaint) {
  TFMain& w = StartWith();
  std::mt19937 Random(17);
  for (int Step = 0; Step < 150; ++Step) {
    const int Action = int(Random() % 9);
    bool Chosen = false;
    switch (Action) {
      case 0: Press("btnBrush"); break;
      case 1: Press("btnDropper"); break;
      case 2: Press("btnWash"); break;
      case 3: Press(Random() % 2 ? "btnNextPal" : "btnPrevPal"); break;
      case 4: Key(Random() % 2 ? Qt::Key_Period : Qt::Key_Comma); Chosen = true; break;
      case 5: case 6: {
        const bool Brush = w.Painter().PaintMode() == pmBrush;
        ClickWell(w.PaintTray(), int(Random() % PaintWellCount));
        Chosen = Brush;
        break;
      }
      default: {
        const int Index = int(Random() % MixWellCount);
        const bool Brush = w.Painter().PaintMode() == pmBrush;
        const bool Full = w.MixTray().GetColor(Index) != clNone;
        ClickWell(w.MixTray(), Index);
        Chosen = Brush && Full;
        break;
      }
    }
    const int Marked = MarkedWell();
    SCOPED_TRACE("step " + std::to_string(Step) + ", action " + std::to_string(Action));
    if (Marked >= 0) {
      EXPECT_EQ(Paint(Marked), w.Painter().PaintColor());
      EXPECT_EQ(Marked, w.CurrentWell());
    }
    if (Chosen) {
      EXPECT_EQ(Marked, w.CurrentWell());
    }
  }
}

}  // namespace
}  // namespace tw::test
