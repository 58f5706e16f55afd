// Every text key the program looks up in the language files, with the
// placeholders its text must carry, so the program and the check of the
// shipped language files share one list.
#pragma once

#include <string>
#include <vector>

namespace tw {

struct TLangKey {
  std::string Key;
  // In order, "%s" or "%d", as FormatPlaceholders reports them.
  std::vector<std::string> Placeholders;
};

// The hint names of the main window's controls; each has the texts "httl"
// (title), "hsbt" (subtitle) and "hinf" (information) followed by the name.
const std::vector<std::string>& HintNames();

// Plain keys, message pairs, error keys, dialog texts (form name + item)
// and the three hint texts of every hint name.
const std::vector<TLangKey>& ProgramLanguageKeys();

}  // namespace tw
