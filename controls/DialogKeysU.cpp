#include "controls/DialogKeysU.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>

#include "controls/FocusMarkU.h"
#include "controls/ModalFormU.h"
#include "controls/QImgButtonU.h"
#include "controls/QSliderU.h"

namespace tw {
namespace {

IKeySteering*& SteeringPointer() {
  static IKeySteering* Steering = nullptr;
  return Steering;
}

bool IsArrow(int Key) {
  return Key == Qt::Key_Left || Key == Qt::Key_Right || Key == Qt::Key_Up || Key == Qt::Key_Down;
}

// A button the keyboard may press: shown and enabled.
bool Usable(const TQImgButton* Button, const QWidget* Dialog) {
  return Button && Button->isEnabled() && Button->isVisibleTo(Dialog);
}

TQImgButton* ButtonWithResult(const QWidget* Dialog, int First, int Second) {
  for (TQImgButton* Button : Dialog->findChildren<TQImgButton*>()) {
    if (!Usable(Button, Dialog)) continue;
    if (Button->ModalResult() == First || Button->ModalResult() == Second) return Button;
  }
  return nullptr;
}

// Whether some of Control can be seen on Dialog: a panel folded in cuts
// off the controls it holds without hiding them.
bool ShowsOnDialog(const QWidget* Control, const QWidget* Dialog) {
  QRect Seen(Control->mapTo(Dialog, QPoint(0, 0)), Control->size());
  for (const QWidget* Parent = Control->parentWidget(); Parent && Parent != Dialog;
       Parent = Parent->parentWidget())
    Seen &= QRect(Parent->mapTo(Dialog, QPoint(0, 0)), Parent->size());
  return !(Seen & Dialog->rect()).isEmpty();
}

}  // namespace

void SetKeySteering(IKeySteering* Steering) { SteeringPointer() = Steering; }

IKeySteering* KeySteering() { return SteeringPointer(); }

TDialogKeys::TDialogKeys(QWidget* Dialog) : FDialog(Dialog), FMark(new TFocusMark(Dialog)) {
  FFocusConnection =
      QObject::connect(qApp, &QApplication::focusChanged, FMark, [this] { FocusChanged(); });
}

// The dialog's children, the mark among them, outlive this helper for a
// moment and lose their focus as they go.
TDialogKeys::~TDialogKeys() { QObject::disconnect(FFocusConnection); }

TQImgButton* TDialogKeys::DefaultButton() const {
  if (FDefault) return Usable(FDefault, FDialog) ? FDefault.data() : nullptr;
  return ButtonWithResult(FDialog, mrOk, mrYes);
}

TQImgButton* TDialogKeys::CancelButton() const {
  if (FCancel) return Usable(FCancel, FDialog) ? FCancel.data() : nullptr;
  return ButtonWithResult(FDialog, mrCancel, mrNo);
}

void TDialogKeys::PrepareControls() {
  for (QWidget* Control : FDialog->findChildren<QWidget*>()) {
    if (qobject_cast<TQImgButton*>(Control) || qobject_cast<TQSlider*>(Control))
      Control->setFocusPolicy(Qt::TabFocus);
  }
  // The dialog itself takes the keys until Tab is pressed: no control is
  // marked when it opens, so Space is the mouse button as in the main
  // window.
  QWidget* Current = FDialog->focusWidget();
  if (!Current || !FDialog->isAncestorOf(Current)) FDialog->setFocus(Qt::OtherFocusReason);
  FocusChanged();
}

QWidget* TDialogKeys::Focused() const {
  QWidget* Current = FDialog->focusWidget();
  if (!Current || Current == FDialog || !FDialog->isAncestorOf(Current)) return nullptr;
  return Current;
}

std::vector<QWidget*> TDialogKeys::FocusChain() const {
  std::vector<QWidget*> Chain;
  for (QWidget* w = FDialog->nextInFocusChain(); w && w != FDialog; w = w->nextInFocusChain()) {
    if (w == FMark || w->window() != FDialog || !(w->focusPolicy() & Qt::TabFocus)) continue;
    if (!w->isEnabled() || !w->isVisibleTo(FDialog) || !ShowsOnDialog(w, FDialog)) continue;
    // A list's own parts belong to the list.
    if (w->focusProxy()) continue;
    if (std::find(Chain.begin(), Chain.end(), w) == Chain.end()) Chain.push_back(w);
  }
  return Chain;
}

bool TDialogKeys::FocusNext(bool Forward) {
  const std::vector<QWidget*> Chain = FocusChain();
  if (Chain.empty()) return true;
  const auto At = std::find(Chain.begin(), Chain.end(), Focused());
  const int Count = int(Chain.size());
  int Index;
  if (At == Chain.end())
    Index = Forward ? 0 : Count - 1;
  else
    Index = (int(At - Chain.begin()) + (Forward ? 1 : Count - 1)) % Count;
  Chain[size_t(Index)]->setFocus(Forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  FocusChanged();
  return true;
}

bool TDialogKeys::MoveInGroup(TQImgButton* Button, int Delta) {
  std::vector<QWidget*> Group;
  for (QWidget* w : FocusChain()) {
    auto* Other = qobject_cast<TQImgButton*>(w);
    if (Other && Other->Group() == Button->Group()) Group.push_back(w);
  }
  const auto At = std::find(Group.begin(), Group.end(), Button);
  if (At == Group.end()) return false;
  const int Count = int(Group.size());
  const int Index = (int(At - Group.begin()) + Delta + Count) % Count;
  Group[size_t(Index)]->setFocus(Qt::TabFocusReason);
  FocusChanged();
  return true;
}

void TDialogKeys::FocusChanged() { FMark->SetTarget(Focused()); }

void TDialogKeys::Press(TQImgButton* Button) { Button->Click(); }

bool TDialogKeys::KeyPress(QKeyEvent& Event) {
  const int Key = Event.key();
  auto* FocusedButton = qobject_cast<TQImgButton*>(Focused());
  switch (Key) {
    case Qt::Key_Escape:
      if (Event.isAutoRepeat()) return true;
      if (TQImgButton* Cancel = CancelButton())
        Press(Cancel);
      else
        FDialog->close();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      if (Event.isAutoRepeat()) return true;
      TQImgButton* Button = FocusedButton ? FocusedButton : DefaultButton();
      if (Button) Press(Button);
      return true;
    }
    case Qt::Key_Space:
      if (FocusedButton) {
        if (!Event.isAutoRepeat()) Press(FocusedButton);
        return true;
      }
      break;
    default:
      if (!IsArrow(Key)) return false;
      if (FocusedButton && FocusedButton->Group() != 0) {
        const int Delta = Key == Qt::Key_Left || Key == Qt::Key_Up ? -1 : 1;
        if (MoveInGroup(FocusedButton, Delta)) return true;
      }
      // Steering takes over: the mark goes, so Space is the mouse button.
      if (Focused()) {
        FDialog->setFocus(Qt::OtherFocusReason);
        FocusChanged();
      }
      break;
  }
  IKeySteering* Steering = KeySteering();
  if (!Steering || !Steering->SteerKeyPress(Event)) return false;
  if (std::find(FSteeredKeys.begin(), FSteeredKeys.end(), Key) == FSteeredKeys.end())
    FSteeredKeys.push_back(Key);
  return true;
}

bool TDialogKeys::KeyRelease(QKeyEvent& Event) {
  if (Event.isAutoRepeat()) return false;
  const auto Steered = std::find(FSteeredKeys.begin(), FSteeredKeys.end(), Event.key());
  if (Steered == FSteeredKeys.end()) return false;
  FSteeredKeys.erase(Steered);
  IKeySteering* Steering = KeySteering();
  return Steering && Steering->SteerKeyRelease(Event);
}

void TDialogKeys::Deactivated() {
  FSteeredKeys.clear();
  if (IKeySteering* Steering = KeySteering()) Steering->ReleaseSteeringKeys();
}

}  // namespace tw
