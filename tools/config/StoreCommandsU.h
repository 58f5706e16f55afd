// The config tool's commands on the settings store itself: reading and
// writing single values, listing, importing and exporting INI text, and
// going back to the factory settings.
#pragma once

#include <string>
#include <vector>

#include "settings/SettingU.h"
#include "tools/config/ConfigArgsU.h"
#include "tools/config/ConsoleU.h"

namespace tw {

// What every command works on: the open store, already seeded from the
// defaults file the way the program seeds it at start.
struct TConfigContext {
  TSetting& Store;
  TConsole& Console;
  const TConfigCommandLine& Line;
};

int RunGet(TConfigContext& context);
int RunSet(TConfigContext& context);
int RunList(TConfigContext& context);
int RunExport(TConfigContext& context);
int RunReset(TConfigContext& context);

// Imports every section of file with the defaults file's rules into store,
// in one transaction; the program's own values of "Main" must have the type
// the program reads them with (as set checks them), else nothing is
// imported and each refused value is named.
int RunImport(TSetting& store, const std::string& file, TConsole& console);

// The INI text that RunExport writes: "[section]" and "name=value" lines for
// every section of the store, text quoted where the reader would otherwise
// drop blanks or quotes. Values that cannot be written so that an import
// gives them back are left out and described in problems.
std::string ExportIniText(TSetting& store, std::vector<std::string>& problems);

}  // namespace tw
