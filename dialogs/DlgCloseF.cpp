#include "dialogs/DlgCloseF.h"

#include <QLabel>
#include <memory>

#include "controls/ModalRunU.h"
#include "controls/QImgButtonU.h"
#include "dialogs/DlgInfoF.h"

namespace tw {

TDClose::TDClose(QWidget* parent) : TfrmQDialog(parent) {
  setObjectName(QStringLiteral("DClose"));
  resize(DesignWidth, DesignHeight);
  txtPrompt =
      CreateDialogLabel(this, QStringLiteral("txtPrompt"), QRect(20, 24, 309, 89),
                        DialogFont(PromptPixelSize, true), QColor(0, 0, 0), Qt::AlignCenter, true);
  txtPrompt->setText(Text(QStringLiteral("Prompt")));
  setWindowTitle(txtPrompt->text());
  FitLabelFont(txtPrompt, PromptPixelSize);
  btnYes = CreateDialogButton(this, QStringLiteral("btnYes"), QStringLiteral("btnGreen"),
                              QRect(84, 122, 120, 36), Text(QStringLiteral("Yes")), mrYes);
  btnNo = CreateDialogButton(this, QStringLiteral("btnNo"), QStringLiteral("btnRed"),
                             QRect(212, 122, 120, 36), Text(QStringLiteral("No")), mrNo);
}

void TDClose::resizeEvent(QResizeEvent* event) {
  TfrmQDialog::resizeEvent(event);
  if (!txtPrompt) return;
  // The prompt is anchored on all sides; the buttons keep their places.
  txtPrompt->setGeometry(20, 24, width() - (DesignWidth - 309), height() - (DesignHeight - 89));
  FitLabelFont(txtPrompt, PromptPixelSize);
}

bool CloseDialogRun() { return RunModalAndFree(std::make_unique<TDClose>(MainForm())) == mrYes; }

}  // namespace tw
