// The random-input test's events: what a user can do to the main window,
// as plain data (a kind and up to two numbers), so that a sequence can be
// stored, replayed on a fresh window, shortened and printed. The generator
// makes a sequence from a seed alone, without looking at the program, so
// the same seed always gives the same sequence and any part of it is still
// a sequence that can be replayed.
#pragma once

#include <Qt>
#include <cstdint>
#include <string>
#include <vector>

namespace tw::test {

enum class TEventKind : uint8_t {
  Button,          // A: index into ProgramButtons
  PaintWell,       // A: paint-tray well 0..19
  MixWell,         // A: mix-tray well 0..11
  Slider,          // A: per mille of the slider's width, from its left end
  PainterPress,    // A, B: picture point; left button
  PainterMove,     // A, B: picture point; with the buttons held, if any
  PainterRelease,  // A, B: picture point; left button
  PainterDouble,   // A, B: picture point; the second press of a double-click
  RightPress,      // A, B: picture point; right button
  RightRelease,    // A, B: picture point; right button
  PointerTo,       // A, B: picture point; the screen pointer moves there
  KeyClick,        // A: index into ProgramKeys; press and release
  KeyPress,        // A: index into ProgramKeys
  KeyRelease,      // A: index into ProgramKeys
  DropFile,        // A: index into DropFiles; dragged onto the window and dropped
};

struct TProgramEvent {
  TEventKind Kind = TEventKind::Button;
  int A = 0;
  int B = 0;

  bool operator==(const TProgramEvent&) const = default;
};

// The main window's buttons by object name, with the names printed for
// them.
struct TButtonEntry {
  const char* ObjectName;
  const char* Label;
};
extern const std::vector<TButtonEntry> ProgramButtons;

// The keys the generator uses: every key of the keyboard table, with and
// without modifiers that matter, and a few that must do nothing.
struct TKeyEntry {
  int Key;
  Qt::KeyboardModifiers Modifiers;
  const char* Label;
};
extern const std::vector<TKeyEntry> ProgramKeys;

// The files a parent may drop on the window: a drawing, which becomes a
// page, and two that are refused with a message. The bench writes them.
struct TDropFile {
  const char* Name;
  bool IsImage;
};
extern const std::vector<TDropFile> DropFiles;

// The index of a button or key by its label; -1 when there is none.
int ButtonIndex(const std::string& Label);
int KeyIndex(const std::string& Label);

// "click tool Fill", "press painter (12,30)", "key Ctrl+Z", ...
std::string Describe(const TProgramEvent& Event);
// One event a line, numbered from 1.
std::string DescribeAll(const std::vector<TProgramEvent>& Events);

// The picture points the generator aims at: the picture's size, with a few
// pixels beyond every edge so that presses and drags also land just
// outside it.
struct TPictureArea {
  int Width = 160;
  int Height = 120;
  int Margin = 6;
};

// The whole-program runs: seeds 1 to RunSeedCount, RunEventCount events
// each.
inline constexpr int RunSeedCount = 20;
inline constexpr int RunEventCount = 1500;

// Count events from Seed. Drags (press, moves, release) and held space
// bars (press, steering, release) come as runs of events; everything else
// one at a time.
std::vector<TProgramEvent> GenerateEvents(uint32_t Seed, int Count, const TPictureArea& Area);

}  // namespace tw::test
