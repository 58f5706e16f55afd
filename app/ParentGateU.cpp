#include "app/ParentGateU.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>

#include "settings/LangU.h"
#include "settings/QCSettingU.h"

namespace tw {

namespace {

// The platform box's own focus frame is faint; the focused button gets the
// same bright ring as the program's dialogs, so Tab can be followed.
const char* const FocusRingStyle =
    "QPushButton:focus { border: 3px solid rgb(255, 140, 0); border-radius: 4px;"
    " padding: 4px 12px; }";

}  // namespace

std::string QtTextInputBox(const std::string& caption, const std::string& prompt) {
  // Escape cancels, Return confirms, Tab moves between the field and the
  // buttons and Space presses a focused button: the box's own keys.
  QInputDialog box(QApplication::activeWindow());
  box.setWindowTitle(QString::fromStdString(caption));
  box.setLabelText(QString::fromStdString(prompt));
  box.setTextEchoMode(QLineEdit::Normal);
  box.setTextValue(QString());
  box.setStyleSheet(QString::fromLatin1(FocusRingStyle));
  const bool ok = box.exec() == QDialog::Accepted;
  return ok ? box.textValue().toStdString() : std::string();
}

bool AskParentPassword(TQCSetting& settings, const TLang& lang, const TTextInputBox& inputBox) {
  for (;;) {
    const std::string entered =
        inputBox(lang.GetText("DPasswordCaption"), lang.GetText("DPasswordPrompt"));
    const bool right = settings.CheckParentPassword(entered);
    if (right || entered.empty()) return right;
  }
}

}  // namespace tw
