// The modal results a dialog ends with, and the one thing a control needs
// from the dialog it sits on: to end it with a result.
#pragma once

namespace tw {

constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
constexpr int mrYes = 6;
constexpr int mrNo = 7;

// A form that can be ended with a modal result (a button with a
// ModalResult other than mrNone sets it after its click).
class IModalForm {
 public:
  virtual ~IModalForm() = default;
  virtual void SetModalResult(int Result) = 0;
};

}  // namespace tw
