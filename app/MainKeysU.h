// TMainKeys: the main window's keyboard. It turns key presses and releases
// into the main window's commands (through IMainKeyTarget), steers the mouse
// pointer with the arrow keys and makes the space bar the left mouse button.
// It holds the keyboard pointer direction and the space-held flag; the main
// window only passes its key events on.
//
// The keys, by their place on a US keyboard:
//   Enter (main or keypad)     cycle the tool                 any modifiers
//   Escape                     undo                           any
//   Space                      mouse button down (once per hold; up on release)
//   Page Up / Page Down        previous / next picture        any
//   Home                       the picture chooser            any
//   arrows                     steer the pointer: 8 px with Shift, else 1 px;
//                              Ctrl and Alt do not matter
//   1 to 9, main keyboard      tool size, entry d of BrushSizes  any
//   Ctrl+P, Ctrl+S, Ctrl+Z     print, save, undo              Ctrl alone
//   Ctrl+Y                     redo                           Ctrl alone
//   Ctrl+Shift+Z               redo                           Ctrl and Shift
//   = and + key, keypad +      zoom in                        any
//   - and _ key, keypad -      zoom out                       any
//   F2                         information                    any
//   comma / full stop          previous / next paint well     any
//   slash                      next mix mode                  any
//   [ / ]                      previous / next palette        any
// "Ctrl alone" means Ctrl held and neither Shift nor Alt; other modifiers
// (Meta, the keypad flag) never matter. Keypad digits do nothing.
//
// Which key was pressed. Qt reports the character a key gives (key()),
// which depends on the layout and on Shift: Shift+= arrives as Qt::Key_Plus,
// Shift+1 on a US layout as Qt::Key_Exclam, the top row of a French layout
// unshifted as "&", "é", ..., "-" and "_". The key is found like this:
// 1. Keypad keys (Qt::KeypadModifier): only +, -, Enter and, with Num Lock
//    off, the navigation keys (Page Up/Down, arrows) count.
// 2. The digit row is physical where the platform tells the physical key:
//    on xcb and Wayland the native scan code is the xkb keycode (evdev code
//    + 8), the same on every layout, so keycodes 10 to 18 are the digits 1
//    to 9 with or without Shift and on any layout. The digits are one row
//    of keys whatever characters a layout puts on them, while letters and
//    punctuation are known to the child by what is printed on them.
// 3. Otherwise key() decides: the keys that give the same value on every
//    layout (Enter, arrows, F2, ...), the letters as the layout names them
//    (Ctrl+Z undoes on the key labelled Z, also on a German keyboard),
//    digits, and the punctuation by its unshifted character, plus the two
//    shifted characters of the zoom keys, "+" and "_".
// 4. When key() names no key of the table and is not a Latin letter (a
//    shifted symbol such as "<" or "{", a Cyrillic letter with Ctrl, a
//    national letter at a punctuation place), the physical key from the xkb
//    keycode decides, at its US place.
// nativeVirtualKey() is not used: on xcb and Wayland it is the keysym after
// Shift, which says no more than key(). On platforms without xkb keycodes
// only steps 1 and 3 apply, so there shifted punctuation and shifted digits
// are not recognised.
//
// Steering (the arrows and Space) is offered to the dialogs as well
// (IKeySteering), so a child can steer onto a dialog's buttons.
//
// The main window passes its keyPressEvent and keyReleaseEvent here
// (accepting the event when KeyPress or KeyRelease returns true) and calls
// ReleaseHeldKeys when it stops being the active window.
//
// Key releases that the platform marks as auto-repeat are ignored: X11
// reports a held key as repeated release/press pairs, and a release in the
// middle of a hold must neither let go of the emulated button nor take an
// extra steering step.
#pragma once

#include <QtGlobal>
#include <array>

#include "app/SendMouseU.h"
#include "controls/DialogKeysU.h"
#include "painter/PaintCommonU.h"

class QKeyEvent;

namespace tw {

// The brush-size table: the digit keys pick entry d (1-based), the size
// slider entry position + 1.
inline constexpr std::array<int, 9> BrushSizes = {1, 2, 4, 6, 8, 12, 20, 30, 60};

// The mix mode the slash key goes to: mmOver -> mmDarken -> mmLighten ->
// mmOver.
TPaintMixMode FollowingMixMode(TPaintMixMode mode);

// The main window's commands that keys reach.
class IMainKeyTarget {
 public:
  virtual ~IMainKeyTarget() = default;
  virtual void CycleTool() = 0;
  virtual void UndoCommand() = 0;
  virtual void RedoCommand() = 0;
  // Opens the picture delta places on in the catalog (wrapping).
  virtual void StepPicture(int delta) = 0;
  // Opens the picture chooser over the painting area.
  virtual void ChoosePicture() = 0;
  // SetToolSize with entry d (1..9) of BrushSizes.
  virtual void SetToolSizeEntry(int d) = 0;
  virtual void PrintCommand() = 0;
  virtual void SaveCommand() = 0;
  virtual void ZoomIn() = 0;
  virtual void ZoomOut() = 0;
  virtual void InfoCommand() = 0;
  // SelectWell with the current well index + delta.
  virtual void StepWell(int delta) = 0;
  // The painter's mix mode becomes FollowingMixMode of the current one.
  virtual void NextMixMode() = 0;
  // SelectPalette with the current palette + delta.
  virtual void StepPalette(int delta) = 0;
};

// The keys of the table, by their US names.
enum TMainKey {
  mkNone,
  mkEnter,
  mkEscape,
  mkSpace,
  mkPageUp,
  mkPageDown,
  mkHome,
  mkLeft,
  mkUp,
  mkRight,
  mkDown,
  mkDigit1,
  mkDigit2,
  mkDigit3,
  mkDigit4,
  mkDigit5,
  mkDigit6,
  mkDigit7,
  mkDigit8,
  mkDigit9,
  mkP,
  mkS,
  mkY,
  mkZ,
  mkZoomIn,
  mkZoomOut,
  mkF2,
  mkComma,
  mkPeriod,
  mkSlash,
  mkBracketLeft,
  mkBracketRight
};

class TMainKeys : public IKeySteering {
 public:
  // Pointer steps of the arrow keys, in screen pixels.
  static constexpr int SlowStep = 1;
  static constexpr int FastStep = 8;

  TMainKeys(IMainKeyTarget& target, IPointer& pointer);
  TMainKeys(const TMainKeys&) = delete;
  TMainKeys& operator=(const TMainKeys&) = delete;

  // The key of the table a key event stands for (see the header comment);
  // xkbScanCodes: the scan code is an xkb keycode.
  static TMainKey KeyOf(int key, Qt::KeyboardModifiers modifiers, quint32 scanCode,
                        bool xkbScanCodes);
  TMainKey KeyOf(const QKeyEvent& event) const;

  // Whether the scan codes of key events are xkb keycodes; by default true
  // on the xcb and Wayland platforms.
  bool XkbScanCodes() const { return FXkbScanCodes; }
  void SetXkbScanCodes(bool value) { FXkbScanCodes = value; }

  // Runs the key's action; true when the key has one with these modifiers.
  bool KeyPress(const QKeyEvent& event);
  bool KeyRelease(const QKeyEvent& event);

  // Stores the direction (each -1, 0 or 1); unless both are 0, moves the
  // pointer by step * direction, step 8 when fast and 1 otherwise.
  void MoveMouse(int x, int y, bool fast);
  void SendMouseButton(bool down);
  // The main window stopped being the active window (a dialog opened, even
  // one that the emulated press itself opened): the releases of the held
  // keys go elsewhere, so Space lets go of the button now, as the real
  // button is let go, and the steering direction is cleared.
  void ReleaseHeldKeys();

  // IKeySteering: only the arrows and Space, exactly as in the main window.
  bool SteerKeyPress(const QKeyEvent& Event) override;
  bool SteerKeyRelease(const QKeyEvent& Event) override;
  void ReleaseSteeringKeys() override { ReleaseHeldKeys(); }

  int DirectionX() const { return FDirX; }
  int DirectionY() const { return FDirY; }
  bool SpaceHeld() const { return FSpaceHeld; }
  TMouseButtonEmulator& Mouse() { return FMouse; }

 private:
  IMainKeyTarget& FTarget;
  IPointer& FPointer;
  TMouseButtonEmulator FMouse;
  bool FXkbScanCodes;
  int FDirX = 0;
  int FDirY = 0;
  bool FSpaceHeld = false;
};

}  // namespace tw
