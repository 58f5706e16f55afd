// TfrmQDialog: the base of the program's dialogs. A skinned window with the
// dialog art (margins 8), centred over the main window when shown, run
// modally with a modal result; it looks up its language texts under its own
// name and turns web-address labels into links. Its keys (Escape, Return,
// Tab, the arrows and Space) are TDialogKeys'. Also keeps the program-wide
// pointer to the main window that dialogs centre over.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "controls/ModalFormU.h"
#include "controls/QBaseF.h"
#include "settings/LangU.h"

class QEventLoop;
class QKeyEvent;
class QLabel;

namespace tw {

class TDialogKeys;
class TQImgButton;

// The main window, which dialogs centre over; null until set and again once
// that window is destroyed.
void SetMainForm(QWidget* Form);
QWidget* MainForm();

class TfrmQDialog : public TfrmQBase, public IModalForm {
  Q_OBJECT

 public:
  // Loads the built-in art "dialog"; throws EError when it is missing.
  explicit TfrmQDialog(QWidget* parent = nullptr);
  ~TfrmQDialog() override;

  int ModalResult() const { return FModalResult; }
  // A result other than mrNone ends ShowModal's loop, which then hides the
  // dialog; outside ShowModal it is only stored.
  void SetModalResult(int Result) override;

  // Shows the dialog application-modal and runs its own event loop until a
  // modal result is set or the dialog is closed (mrCancel); returns the
  // result and leaves the dialog hidden. Throws EError when the dialog is
  // already running modally.
  int ShowModal();

  // The language text whose key is this dialog's name (objectName, e.g.
  // "DOptions") followed by Key.
  QString Text(const QString& Key) const;
  // That text used as a format pattern filled with Args.
  QString FormatText(const QString& Key, const std::vector<TFormatArg>& Args) const;

  // Makes Label a link to Target: the hand cursor, an underline while the
  // pointer is over it, and a click opens Target with the default handler
  // (a failure is ignored). Without a Target, a label whose text starts
  // with "http://", "https://" or "www." (letter case ignored) links to its
  // text, and any other label is left unchanged.
  static void SetupLink(QLabel* Label, const QString& Target = QString());

  // Return presses the default button, Escape the cancel button; see
  // TDialogKeys for the buttons used when these are not set.
  void SetDefaultButton(TQImgButton* Button);
  void SetCancelButton(TQImgButton* Button);
  TDialogKeys& Keys() const { return *FKeys; }

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void CentreOverMainForm();

  int FModalResult = mrNone;
  QEventLoop* FModalLoop = nullptr;
  std::unique_ptr<TDialogKeys> FKeys;
};

}  // namespace tw
