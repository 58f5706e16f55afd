// TDialogKeys: the keyboard of a dialog, shared by every dialog of the
// program. The dialog passes it the keys its controls leave alone:
//   Escape            the cancel button (No on the close dialog); closes
//                     the dialog when it has none
//   Return, Enter     the focused button, else the default button
//   Tab, Shift+Tab    the focus mark to the next / previous control
//   arrows            on a button of a group of options: the focus mark to
//                     the neighbour in the group; otherwise they steer the
//                     pointer as in the main window, and the focus mark goes
//                     away so that Space is the mouse button again
//   Space             the focused button; with no focus mark, the mouse
//                     button at the pointer
// Sliders and lists with the focus take their own arrow keys.
//
// Steering belongs to the main window's keyboard, which offers it through
// IKeySteering (SetKeySteering); without it the arrows and Space with no
// focus mark do nothing.
#pragma once

#include <QMetaObject>
#include <QPointer>
#include <vector>

#include "controls/QImgButtonU.h"

class QKeyEvent;
class QWidget;

namespace tw {

class TFocusMark;

// Pointer steering by keyboard: the arrow keys move the pointer, Space is
// the left mouse button, with the main window's step sizes.
class IKeySteering {
 public:
  virtual ~IKeySteering() = default;
  // True when the key is a steering key and was used.
  virtual bool SteerKeyPress(const QKeyEvent& Event) = 0;
  virtual bool SteerKeyRelease(const QKeyEvent& Event) = 0;
  // The keys' releases go elsewhere from now on (the window lost the
  // keyboard): let go of the button and stop steering.
  virtual void ReleaseSteeringKeys() = 0;
};

// The program's steering; null when there is none.
void SetKeySteering(IKeySteering* Steering);
IKeySteering* KeySteering();

class TDialogKeys {
 public:
  // Dialog owns this helper and the focus mark it creates.
  explicit TDialogKeys(QWidget* Dialog);
  ~TDialogKeys();
  TDialogKeys(const TDialogKeys&) = delete;
  TDialogKeys& operator=(const TDialogKeys&) = delete;

  // When unset, the default button is the one that ends the dialog with OK
  // or Yes, the cancel button the one that ends it with Cancel or No.
  void SetDefaultButton(TQImgButton* Button) { FDefault = Button; }
  void SetCancelButton(TQImgButton* Button) { FCancel = Button; }
  TQImgButton* DefaultButton() const;
  TQImgButton* CancelButton() const;

  // Lets Tab reach the dialog's buttons and sliders (never the mouse: a
  // click must not leave a mark). Called when the dialog is shown.
  void PrepareControls();

  bool KeyPress(QKeyEvent& Event);
  bool KeyRelease(QKeyEvent& Event);
  // Tab and Shift+Tab; always true, the focus stays in the dialog.
  bool FocusNext(bool Forward);
  // The focus moved: the mark follows it.
  void FocusChanged();
  // The dialog lost the keyboard.
  void Deactivated();

  // The controls Tab reaches now, in order: enabled, shown and not cut
  // off by a folded panel.
  std::vector<QWidget*> FocusChain() const;
  TFocusMark* Mark() const { return FMark; }

 private:
  QWidget* Focused() const;
  bool MoveInGroup(TQImgButton* Button, int Delta);
  void Press(TQImgButton* Button);

  QWidget* FDialog;
  TFocusMark* FMark;
  QMetaObject::Connection FFocusConnection;
  // The keys whose presses went to the steering: only their releases
  // follow them there.
  std::vector<int> FSteeredKeys;
  QPointer<TQImgButton> FDefault;
  QPointer<TQImgButton> FCancel;
};

}  // namespace tw
