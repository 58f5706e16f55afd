#include "app/ParentGateU.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>

#include "settings/LangU.h"
#include "settings/QCSettingU.h"

namespace tw {

std::string QtTextInputBox(const std::string& caption, const std::string& prompt) {
  bool ok = false;
  const QString text =
      QInputDialog::getText(QApplication::activeWindow(), QString::fromStdString(caption),
                            QString::fromStdString(prompt), QLineEdit::Normal, QString(), &ok);
  return ok ? text.toStdString() : std::string();
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
