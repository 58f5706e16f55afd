// The parental password gate: before a gated save or print, asks for the
// parent's password until it is given right, or the box is cancelled or
// confirmed empty.
#pragma once

#include <functional>
#include <string>

namespace tw {

class TLang;
class TQCSetting;

// A simple text-input box: caption, prompt above one text field, initially
// empty, with OK and Cancel; returns the text entered, the empty text on
// Cancel.
using TTextInputBox =
    std::function<std::string(const std::string& caption, const std::string& prompt)>;

// The platform's text-input box (QInputDialog::getText over the active
// window); the typed text is shown as typed.
std::string QtTextInputBox(const std::string& caption, const std::string& prompt);

// Shows the box (caption DPasswordCaption, prompt DPasswordPrompt) and
// compares the entry with ParentPassword, read anew from the settings for
// every attempt, exactly (characters, case, length). Returns true at the
// first equal entry; an empty entry or Cancel that does not equal it ends
// with false; any other entry asks again.
bool AskParentPassword(TQCSetting& settings, const TLang& lang,
                       const TTextInputBox& inputBox = QtTextInputBox);

}  // namespace tw
