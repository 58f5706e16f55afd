// TDClose: the dialog that asks whether the program should really end, with
// a big prompt and Yes and No buttons. Only Yes ends the program; closing the
// dialog any other way counts as No.
#pragma once

#include "controls/QDialogF.h"

class QLabel;

namespace tw {

class TQImgButton;

class TDClose : public TfrmQDialog {
  Q_OBJECT

 public:
  // The size the controls are laid out for; the prompt grows with the dialog.
  static constexpr int DesignWidth = 347;
  static constexpr int DesignHeight = 174;
  static constexpr int PromptPixelSize = 32;

  explicit TDClose(QWidget* parent = nullptr);

  QLabel* txtPrompt = nullptr;
  TQImgButton* btnYes = nullptr;
  TQImgButton* btnNo = nullptr;

 protected:
  void resizeEvent(QResizeEvent* event) override;
};

// Asks over the main window; true only when the answer is Yes.
bool CloseDialogRun();

}  // namespace tw
