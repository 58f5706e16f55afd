// The config tool's catalog commands: listing the pictures a child steps
// through, adding checked picture files (copied into the catalog folder) and
// removing an entry. Also where the installed program and its defaults file
// are, since "[ProgramFolder]" in the settings means the program's folder,
// not this tool's.
#pragma once

#include <string>

#include "tools/config/StoreCommandsU.h"

namespace tw {

// The folder of the installed program, with a trailing "/": beside this tool
// in a build tree, "../lib/tintwell/" from it when installed.
std::string MainProgramFolder();
// The installed program's "default/default.ini", or empty when there is
// none.
std::string InstalledDefaultsFile();
// The catalog folder as the program resolves it: the "PathCatalog" setting
// with its folder macros expanded ("[ProgramFolder]" as MainProgramFolder),
// as a native path; it normally ends with a separator, and an entry's file is
// this text followed directly by the entry.
std::string CatalogFolder(TSetting& store);

int RunCatalog(TConfigContext& context);

}  // namespace tw
