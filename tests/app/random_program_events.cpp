#include "app/random_program_events.h"

#include <algorithm>
#include <random>

namespace tw::test {

const std::vector<TButtonEntry> ProgramButtons = {
    {"btnFill", "tool Fill"},
    {"btnBrush", "tool Brush"},
    {"btnMBrush", "tool MaskedBrush"},
    {"btnDropper", "tool Dropper"},
    {"btnMarker", "tool Marker"},
    {"btnEraser", "tool Eraser"},
    {"btnWash", "tool Tap"},
    {"btnUndo", "Undo"},
    {"btnZoomOut", "ZoomOut"},
    {"btnZoomIn", "ZoomIn"},
    {"btnSave", "Save"},
    {"btnPrint", "Print"},
    {"btnInfo", "Info"},
    {"btnPrevPic", "PreviousPicture"},
    {"btnNextPic", "NextPicture"},
    {"btnOptions", "Options"},
    {"btnClose", "Close"},
    {"btnRestore", "Restore"},
    {"btnMin", "Minimize"},
    {"btnPrevPal", "PreviousPalette"},
    {"btnNextPal", "NextPalette"},
};

const std::vector<TDropFile> DropFiles = {
    {"Kite.png", true},
    {"notes.txt", false},
    {"broken.png", false},
};

const std::vector<TKeyEntry> ProgramKeys = {
    {Qt::Key_Return, {}, "Enter"},
    {Qt::Key_Enter, Qt::KeypadModifier, "KeypadEnter"},
    {Qt::Key_Escape, {}, "Escape"},
    {Qt::Key_Space, {}, "Space"},
    {Qt::Key_PageUp, {}, "PageUp"},
    {Qt::Key_PageDown, {}, "PageDown"},
    {Qt::Key_Left, {}, "Left"},
    {Qt::Key_Right, {}, "Right"},
    {Qt::Key_Up, {}, "Up"},
    {Qt::Key_Down, {}, "Down"},
    {Qt::Key_Left, Qt::ShiftModifier, "Shift+Left"},
    {Qt::Key_Right, Qt::ShiftModifier, "Shift+Right"},
    {Qt::Key_Up, Qt::ShiftModifier, "Shift+Up"},
    {Qt::Key_Down, Qt::ShiftModifier, "Shift+Down"},
    {Qt::Key_1, {}, "1"},
    {Qt::Key_2, {}, "2"},
    {Qt::Key_3, {}, "3"},
    {Qt::Key_4, {}, "4"},
    {Qt::Key_5, {}, "5"},
    {Qt::Key_6, {}, "6"},
    {Qt::Key_7, {}, "7"},
    {Qt::Key_8, {}, "8"},
    {Qt::Key_9, {}, "9"},
    {Qt::Key_P, Qt::ControlModifier, "Ctrl+P"},
    {Qt::Key_S, Qt::ControlModifier, "Ctrl+S"},
    {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z"},
    {Qt::Key_Y, Qt::ControlModifier, "Ctrl+Y"},
    {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "Ctrl+Shift+Z"},
    {Qt::Key_Home, {}, "Home"},
    {Qt::Key_Equal, {}, "="},
    {Qt::Key_Plus, Qt::ShiftModifier, "+"},
    {Qt::Key_Plus, Qt::KeypadModifier, "Keypad+"},
    {Qt::Key_Minus, {}, "-"},
    {Qt::Key_Underscore, Qt::ShiftModifier, "_"},
    {Qt::Key_Minus, Qt::KeypadModifier, "Keypad-"},
    {Qt::Key_F2, {}, "F2"},
    {Qt::Key_Comma, {}, ","},
    {Qt::Key_Period, {}, "."},
    {Qt::Key_Slash, {}, "/"},
    {Qt::Key_BracketLeft, {}, "["},
    {Qt::Key_BracketRight, {}, "]"},
    // Keys that must do nothing.
    {Qt::Key_Z, {}, "Z"},
    {Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier, "Ctrl+Shift+S"},
    {Qt::Key_5, Qt::KeypadModifier, "Keypad5"},
    {Qt::Key_A, {}, "A"},
};

int ButtonIndex(const std::string& Label) {
  for (size_t i = 0; i < ProgramButtons.size(); ++i)
    if (Label == ProgramButtons[i].Label) return int(i);
  return -1;
}

int KeyIndex(const std::string& Label) {
  for (size_t i = 0; i < ProgramKeys.size(); ++i)
    if (Label == ProgramKeys[i].Label) return int(i);
  return -1;
}

namespace {

std::string Point(const TProgramEvent& Event) {
  return "(" + std::to_string(Event.A) + "," + std::to_string(Event.B) + ")";
}

std::string KeyLabel(int Index) {
  return Index >= 0 && Index < int(ProgramKeys.size()) ? ProgramKeys[size_t(Index)].Label
                                                       : "#" + std::to_string(Index);
}

// Draws from the generator's own engine with fixed, portable arithmetic:
// the standard distributions may differ between library versions, which
// would change what a seed means.
class TDraw {
 public:
  explicit TDraw(uint32_t Seed) : FEngine(Seed) {}
  // 0 <= result < n.
  int Below(int n) { return int(uint64_t(FEngine()) * uint64_t(n) >> 32); }
  int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
  bool Percent(int p) { return Below(100) < p; }

 private:
  std::mt19937 FEngine;
};

class TGenerator {
 public:
  TGenerator(uint32_t Seed, const TPictureArea& Area) : FDraw(Seed), FArea(Area) {}

  std::vector<TProgramEvent> Run(int Count) {
    while (int(FEvents.size()) < Count) Step();
    FEvents.resize(size_t(Count));
    return std::move(FEvents);
  }

 private:
  void Add(TEventKind Kind, int A = 0, int B = 0) { FEvents.push_back({Kind, A, B}); }
  void AddAt(TEventKind Kind, int X, int Y) { Add(Kind, X, Y); }

  int X() { return FDraw.Between(-FArea.Margin, FArea.Width + FArea.Margin - 1); }
  int Y() { return FDraw.Between(-FArea.Margin, FArea.Height + FArea.Margin - 1); }

  void Step() {
    const int roll = FDraw.Below(100);
    if (roll < 22)
      Drag();
    else if (roll < 32)
      Click();
    else if (roll < 41)
      Add(TEventKind::Button, FDraw.Below(7));
    else if (roll < 46)
      Add(TEventKind::Button, ButtonIndex("Undo"));
    else if (roll < 53)
      Add(TEventKind::Button, 8 + FDraw.Below(int(ProgramButtons.size()) - 8));
    else if (roll < 61)
      Add(TEventKind::PaintWell, FDraw.Below(20));
    else if (roll < 68)
      Add(TEventKind::MixWell, FDraw.Below(12));
    else if (roll < 71)
      Add(TEventKind::Slider, FDraw.Between(0, 999));
    else if (roll < 93)
      Add(TEventKind::KeyClick, FDraw.Below(int(ProgramKeys.size())));
    else if (roll < 98)
      SpaceHold();
    else if (roll < 99)
      AddAt(TEventKind::PointerTo, X(), Y());
    else
      Add(TEventKind::DropFile, FDraw.Percent(60) ? 0 : 1 + FDraw.Below(2));
  }

  // Mostly a press and its release at one point (a fill, a dab, a drop);
  // sometimes a double-click, a click of the right button, or a lone
  // press, move or release.
  void Click() {
    const int x = X(), y = Y();
    const int roll = FDraw.Below(100);
    if (roll < 65) {
      AddAt(TEventKind::PainterPress, x, y);
      AddAt(TEventKind::PainterRelease, x, y);
    } else if (roll < 75) {
      // As the platform reports a double-click.
      AddAt(TEventKind::PainterPress, x, y);
      AddAt(TEventKind::PainterRelease, x, y);
      AddAt(TEventKind::PainterDouble, x, y);
      AddAt(TEventKind::PainterRelease, x, y);
    } else if (roll < 85) {
      AddAt(TEventKind::RightPress, x, y);
      AddAt(TEventKind::RightRelease, x, y);
    } else {
      AddAt(PainterKinds[FDraw.Below(3)], x, y);
    }
  }

  // A press, a walk of moves, and mostly a release.
  void Drag() {
    int x = X(), y = Y();
    AddAt(TEventKind::PainterPress, x, y);
    for (int n = FDraw.Below(7); n > 0; --n) {
      x = std::clamp(x + FDraw.Between(-30, 30), -FArea.Margin, FArea.Width + FArea.Margin - 1);
      y = std::clamp(y + FDraw.Between(-30, 30), -FArea.Margin, FArea.Height + FArea.Margin - 1);
      AddAt(TEventKind::PainterMove, x, y);
    }
    if (FDraw.Percent(90)) AddAt(TEventKind::PainterRelease, x, y);
  }

  // The pointer onto the picture, Space held while the arrows steer, and
  // mostly Space let go again.
  void SpaceHold() {
    static const int space = KeyIndex("Space");
    AddAt(TEventKind::PointerTo, X(), Y());
    Add(TEventKind::KeyPress, space);
    for (int n = FDraw.Below(7); n > 0; --n) {
      const int arrow = KeyIndex("Left") + FDraw.Below(8);
      Add(TEventKind::KeyPress, arrow);
      if (FDraw.Percent(70)) Add(TEventKind::KeyRelease, arrow);
    }
    if (FDraw.Percent(90)) Add(TEventKind::KeyRelease, space);
  }

  static constexpr TEventKind PainterKinds[3] = {
      TEventKind::PainterPress, TEventKind::PainterMove, TEventKind::PainterRelease};

  TDraw FDraw;
  TPictureArea FArea;
  std::vector<TProgramEvent> FEvents;
};

}  // namespace

std::string Describe(const TProgramEvent& Event) {
  switch (Event.Kind) {
    case TEventKind::Button:
      return Event.A >= 0 && Event.A < int(ProgramButtons.size())
                 ? std::string("click ") + ProgramButtons[size_t(Event.A)].Label
                 : "click button #" + std::to_string(Event.A);
    case TEventKind::PaintWell:
      return "click paint well " + std::to_string(Event.A);
    case TEventKind::MixWell:
      return "click mix well " + std::to_string(Event.A);
    case TEventKind::Slider:
      return "click slider at " + std::to_string(Event.A / 10) + "." +
             std::to_string(Event.A % 10) + "%";
    case TEventKind::PainterPress:
      return "press painter " + Point(Event);
    case TEventKind::PainterMove:
      return "move painter " + Point(Event);
    case TEventKind::PainterRelease:
      return "release painter " + Point(Event);
    case TEventKind::PainterDouble:
      return "double-click painter " + Point(Event);
    case TEventKind::RightPress:
      return "right press painter " + Point(Event);
    case TEventKind::RightRelease:
      return "right release painter " + Point(Event);
    case TEventKind::PointerTo:
      return "pointer to painter " + Point(Event);
    case TEventKind::KeyClick:
      return "key " + KeyLabel(Event.A);
    case TEventKind::KeyPress:
      return "key down " + KeyLabel(Event.A);
    case TEventKind::KeyRelease:
      return "key up " + KeyLabel(Event.A);
    case TEventKind::DropFile:
      return Event.A >= 0 && Event.A < int(DropFiles.size())
                 ? std::string("drop file ") + DropFiles[size_t(Event.A)].Name
                 : "drop file #" + std::to_string(Event.A);
  }
  return "unknown event";
}

std::string DescribeAll(const std::vector<TProgramEvent>& Events) {
  std::string text;
  for (size_t i = 0; i < Events.size(); ++i)
    text += "  " + std::to_string(i + 1) + ". " + Describe(Events[i]) + "\n";
  return text;
}

std::vector<TProgramEvent> GenerateEvents(uint32_t Seed, int Count, const TPictureArea& Area) {
  return TGenerator(Seed, Area).Run(Count);
}

}  // namespace tw::test
