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

// Imports every section of file with the defaults file's rules into the
// store at databasePath. Runs on a store of its own (the file is its
// defaults file), so the caller's store must not be open in a transaction.
int RunImport(const std::string& databasePath, const std::string& file, TConsole& console);

// The INI text that RunExport writes: "[section]" and "name=value" lines for
// every section of the store, text quoted where the reader would otherwise
// drop blanks or quotes. Values that cannot be written so that an import
// gives them back are left out and described in problems.
std::string ExportIniText(TSetting& store, std::vector<std::string>& problems);

}  // namespace tw
