// The program-wide objects that live from start-up to exit: the settings
// store, the typed settings over it and the language strings. The program
// creates them once before its main window; dialogs and the main window
// reach them here. Tests create them on a temporary store the same way.
#pragma once

#include <string>

#include "settings/LangU.h"
#include "settings/QCSettingU.h"
#include "settings/SettingU.h"

namespace tw {

// Creates the store on DatabasePath (importing DefaultsFile where the store
// lacks a section), the typed settings and the language strings (files in
// LangFolder, no language selected yet), in this order. Replaces objects
// created earlier.
void CreateProgramGlobals(const std::string& DatabasePath, const std::string& DefaultsFile,
                          const std::string& LangFolder);
// Frees them in the reverse order.
void FreeProgramGlobals();
bool ProgramGlobalsExist();

// The objects; throw EError when they have not been created.
TSetting& Setting();
TQCSetting& QCSetting();
TLang& Lang();

}  // namespace tw
