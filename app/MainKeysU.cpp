#include "app/MainKeysU.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace tw {
namespace {

// xkb keycodes (evdev codes + 8) of the keys at their US places.
constexpr quint32 XkbDigit1 = 10;
constexpr quint32 XkbDigit9 = 18;

TMainKey PhysicalKey(quint32 scanCode) {
  switch (scanCode) {
    case 20: return mkZoomOut;
    case 21: return mkZoomIn;
    case 33: return mkP;
    case 34: return mkBracketLeft;
    case 35: return mkBracketRight;
    case 39: return mkS;
    case 29: return mkY;
    case 52: return mkZ;
    case 59: return mkComma;
    case 60: return mkPeriod;
    case 61: return mkSlash;
    default: return mkNone;
  }
}

// Keys that give the same value on any layout and with any modifier.
TMainKey FixedKey(int key) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return mkEnter;
    case Qt::Key_Escape: return mkEscape;
    case Qt::Key_Space: return mkSpace;
    case Qt::Key_PageUp: return mkPageUp;
    case Qt::Key_PageDown: return mkPageDown;
    case Qt::Key_Home: return mkHome;
    case Qt::Key_Left: return mkLeft;
    case Qt::Key_Up: return mkUp;
    case Qt::Key_Right: return mkRight;
    case Qt::Key_Down: return mkDown;
    case Qt::Key_F2: return mkF2;
    default: return mkNone;
  }
}

// Keys by the character the layout gives.
TMainKey CharacterKey(int key) {
  if (key >= Qt::Key_1 && key <= Qt::Key_9) return TMainKey(mkDigit1 + (key - Qt::Key_1));
  switch (key) {
    case Qt::Key_P: return mkP;
    case Qt::Key_S: return mkS;
    case Qt::Key_Y: return mkY;
    case Qt::Key_Z: return mkZ;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return mkZoomIn;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return mkZoomOut;
    case Qt::Key_Comma: return mkComma;
    case Qt::Key_Period: return mkPeriod;
    case Qt::Key_Slash: return mkSlash;
    case Qt::Key_BracketLeft: return mkBracketLeft;
    case Qt::Key_BracketRight: return mkBracketRight;
    default: return mkNone;
  }
}

bool PlatformHasXkbScanCodes() {
  const QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
}

bool CtrlAlone(Qt::KeyboardModifiers modifiers) {
  return (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) ==
         Qt::ControlModifier;
}

bool CtrlShift(Qt::KeyboardModifiers modifiers) {
  return (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) ==
         (Qt::ControlModifier | Qt::ShiftModifier);
}

}  // namespace

TPaintMixMode FollowingMixMode(TPaintMixMode mode) {
  switch (mode) {
    case mmOver: return mmDarken;
    case mmDarken: return mmLighten;
    default: return mmOver;
  }
}

TMainKeys::TMainKeys(IMainKeyTarget& target, IPointer& pointer)
    : FTarget(target),
      FPointer(pointer),
      FMouse(pointer),
      FXkbScanCodes(PlatformHasXkbScanCodes()) {}

TMainKey TMainKeys::KeyOf(int key, Qt::KeyboardModifiers modifiers, quint32 scanCode,
                          bool xkbScanCodes) {
  const TMainKey fixed = FixedKey(key);
  if (modifiers & Qt::KeypadModifier) {
    if (key == Qt::Key_Plus) return mkZoomIn;
    if (key == Qt::Key_Minus) return mkZoomOut;
    return fixed;
  }
  if (fixed != mkNone) return fixed;
  if (xkbScanCodes && scanCode >= XkbDigit1 && scanCode <= XkbDigit9)
    return TMainKey(mkDigit1 + int(scanCode - XkbDigit1));
  const TMainKey character = CharacterKey(key);
  if (character != mkNone) return character;
  const bool latinLetter = key >= Qt::Key_A && key <= Qt::Key_Z;
  if (xkbScanCodes && !latinLetter) return PhysicalKey(scanCode);
  return mkNone;
}

TMainKey TMainKeys::KeyOf(const QKeyEvent& event) const {
  return KeyOf(event.key(), event.modifiers(), event.nativeScanCode(), FXkbScanCodes);
}

bool TMainKeys::KeyPress(const QKeyEvent& event) {
  const TMainKey key = KeyOf(event);
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  const bool fast = modifiers & Qt::ShiftModifier;
  switch (key) {
    case mkNone: return false;
    case mkEnter: FTarget.CycleTool(); break;
    case mkEscape: FTarget.UndoCommand(); break;
    case mkSpace:
      // Key repeat while Space is held sends nothing more.
      // The flag is set first: a press that opens a modal dialog returns
      // only when the dialog closes, and the window's deactivation in
      // between must find the hold (ReleaseHeldKeys).
      if (!FSpaceHeld) {
        FSpaceHeld = true;
        SendMouseButton(true);
      }
      break;
    case mkPageUp: FTarget.StepPicture(-1); break;
    case mkPageDown: FTarget.StepPicture(1); break;
    case mkHome: FTarget.ChoosePicture(); break;
    case mkLeft: MoveMouse(-1, FDirY, fast); break;
    case mkUp: MoveMouse(FDirX, -1, fast); break;
    case mkRight: MoveMouse(1, FDirY, fast); break;
    case mkDown: MoveMouse(FDirX, 1, fast); break;
    case mkDigit1:
    case mkDigit2:
    case mkDigit3:
    case mkDigit4:
    case mkDigit5:
    case mkDigit6:
    case mkDigit7:
    case mkDigit8:
    case mkDigit9: FTarget.SetToolSizeEntry(1 + int(key - mkDigit1)); break;
    case mkY:
      if (!CtrlAlone(modifiers)) return false;
      FTarget.RedoCommand();
      break;
    case mkP:
    case mkS:
    case mkZ:
      if (key == mkZ && CtrlShift(modifiers)) {
        FTarget.RedoCommand();
        break;
      }
      if (!CtrlAlone(modifiers)) return false;
      if (key == mkP)
        FTarget.PrintCommand();
      else if (key == mkS)
        FTarget.SaveCommand();
      else
        FTarget.UndoCommand();
      break;
    case mkZoomIn: FTarget.ZoomIn(); break;
    case mkZoomOut: FTarget.ZoomOut(); break;
    case mkF2: FTarget.InfoCommand(); break;
    case mkComma: FTarget.StepWell(-1); break;
    case mkPeriod: FTarget.StepWell(1); break;
    case mkSlash: FTarget.NextMixMode(); break;
    case mkBracketLeft: FTarget.StepPalette(-1); break;
    case mkBracketRight: FTarget.StepPalette(1); break;
  }
  return true;
}

bool TMainKeys::KeyRelease(const QKeyEvent& event) {
  if (event.isAutoRepeat()) return false;
  const bool fast = event.modifiers() & Qt::ShiftModifier;
  switch (KeyOf(event)) {
    case mkSpace:
      SendMouseButton(false);
      FSpaceHeld = false;
      return true;
    case mkLeft:
    case mkRight: MoveMouse(0, FDirY, fast); return true;
    case mkUp:
    case mkDown: MoveMouse(FDirX, 0, fast); return true;
    default: return false;
  }
}

bool TMainKeys::SteerKeyPress(const QKeyEvent& Event) {
  switch (KeyOf(Event)) {
    case mkSpace:
    case mkLeft:
    case mkUp:
    case mkRight:
    case mkDown: return KeyPress(Event);
    default: return false;
  }
}

bool TMainKeys::SteerKeyRelease(const QKeyEvent& Event) { return KeyRelease(Event); }

void TMainKeys::MoveMouse(int x, int y, bool fast) {
  FDirX = x;
  FDirY = y;
  if (x == 0 && y == 0) return;
  const int step = fast ? FastStep : SlowStep;
  FPointer.SetPos(FPointer.Pos() + QPoint(step * x, step * y));
  FMouse.PointerMoved();
}

void TMainKeys::SendMouseButton(bool down) { FMouse.SendMouseButton(down); }

void TMainKeys::ReleaseHeldKeys() {
  FDirX = 0;
  FDirY = 0;
  if (!FSpaceHeld) return;
  FSpaceHeld = false;
  SendMouseButton(false);
}

}  // namespace tw
