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
// checks the entry against the parent's password, read anew for every
// attempt (the system policy's when one is in force, else the user's
// store's), exactly: characters, case, length. Returns true at the first
// right entry; an empty entry or Cancel that is not right ends with false;
// any other entry asks again.
bool AskParentPassword(TQCSetting& settings, const TLang& lang,
                       const TTextInputBox& inputBox = QtTextInputBox);

}  // namespace tw
