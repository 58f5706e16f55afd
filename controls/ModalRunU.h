// RunModalAndFree: the one way the program runs a dialog of its own. The
// dialog is shown modally (TfrmQDialog::ShowModal) and freed afterwards.
// Its owner, the main window, may free it while it runs (the program
// closing): then the run ends with mrCancel and the dialog is only
// forgotten, never freed twice.
#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <type_traits>

#include "controls/QDialogF.h"

namespace tw {

// Returns the modal result. After, when given, sees the dialog once its run
// ended and before it goes, and only when it is still there.
template <class TDialog>
int RunModalAndFree(std::unique_ptr<TDialog> Dialog,
                    const std::function<void(TDialog&)>& After = nullptr) {
  static_assert(std::is_base_of_v<TfrmQDialog, TDialog>);
  const QPointer<TDialog> Alive(Dialog.get());
  const int Result = Dialog->ShowModal();
  if (!Alive) {
    static_cast<void>(Dialog.release());
    return Result;
  }
  if (After) After(*Dialog);
  return Result;
}

}  // namespace tw
