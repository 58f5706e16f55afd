// Command dispatch, help text and error reporting of the config tool.
#include "tools/config/ConfigToolU.h"

#include <new>
#include <utility>

#include "pictures/QUtilU.h"
#include "settings/IniFileU.h"
#include "settings/ParentControlsU.h"
#include "settings/QCSettingU.h"
#include "settings/SettingsTextU.h"
#include "settings/SettingU.h"
#include "tools/common/ToolHooksU.h"
#include "tools/config/CatalogCommandsU.h"
#include "tools/config/ColoringCommandsU.h"
#include "tools/config/ConfigArgsU.h"
#include "tools/config/ParentCommandsU.h"
#include "tools/config/StoreCommandsU.h"

namespace tw {

namespace {

constexpr const char* Help =
    R"(Usage: tintwell-config [OPTIONS] COMMAND [ARGUMENTS]

Shows and changes Tintwell's settings: the parent's password and locks, the
catalog of pictures, and any value of the settings store. Before each command
the store gets the factory settings for every part it does not have yet, as
the program does when it starts.

Commands:
  get SECTION NAME              show one value
  set SECTION NAME VALUE        store a value; without a type flag the
      [--int|--string|--bool]   program's own keys of Main keep their type and
                                others follow the defaults file's rules: true
                                or false is a Boolean, a decimal or $/0x
                                hexadecimal number an integer, else text
  list [SECTION]                show all values, or those of SECTION and the
                                sections below it (text in quotes)
  import FILE.ini               copy every section of an INI file into the
                                store, with the defaults file's rules
  export                        write the whole store as INI text to standard
                                output (import reads it back)
  reset [--yes]                 remove every setting and put back the factory
                                settings; asks for "yes" unless --yes is given
  password                      set the parent's password; asks for it twice,
                                hidden on a terminal, else reads two lines,
                                and keeps only a hash of it
  lock save|print on|off        whether saving or printing asks for the
                                parent's password
  lock                          show the locks and where they come from
  catalog list                  show the pictures of the catalog, in order
  catalog add FILE.twf...       check picture files, copy them into the catalog
                                folder and add them at the end of the catalog,
                                in the order given
  catalog remove NAME           take a picture out of the catalog (its file
                                stays in the catalog folder; a page made
                                from a dropped image is deleted with its
                                colouring)
  colorings                     show where the pictures' kept colourings are
                                and how many pictures have one
  colorings clear [--yes]       remove every kept colouring, so each picture
                                opens uncoloured; asks for "yes" unless --yes
                                is given

Options:
  --database PATH   the settings store to use (default:
                    $XDG_CONFIG_HOME/Tintwell/Tintwell/1/settings.sqlite3)
  --defaults PATH   the factory settings file (default: the installed
                    program's default/default.ini, if there is one)
  --system          with password and lock: the system policy for every
                    user of this computer (/etc/xdg/Tintwell/policy.ini, or
                    the first folder of $XDG_CONFIG_DIRS); changing it
                    needs root. While the policy exists it alone decides the
                    password and the locks, and users cannot change them
  -h, --help        show this help

Exit status: 0 done, 1 failed or refused, 2 wrong command line.

Examples:
  tintwell-config password
  tintwell-config lock save on
  sudo tintwell-config --system password
  sudo tintwell-config --system lock print on
  tintwell-config set Main Hints false
  tintwell-config catalog add ~/pictures/kite.twf
)";

struct TCommandShape {
  const char* Name;
  size_t Least, Most;
  const char* Words;
};

constexpr TCommandShape Commands[] = {
    {"get", 2, 2, "SECTION and NAME"},
    {"set", 3, 3, "SECTION, NAME and VALUE"},
    {"list", 0, 1, "at most a SECTION"},
    {"import", 1, 1, "one FILE.ini"},
    {"export", 0, 0, "no arguments"},
    {"reset", 0, 0, "no arguments"},
    {"password", 0, 0, "no arguments; it asks for the password"},
    {"lock", 0, 2, "nothing, or save or print, then on or off"},
    {"catalog", 1, size_t(-1), "list, add FILE.twf... or remove NAME"},
    {"colorings", 0, 1, "nothing or clear"},
};

void CheckShape(const TConfigCommandLine& line) {
  for (const TCommandShape& shape : Commands) {
    if (line.Command != shape.Name) continue;
    if (line.Words.size() < shape.Least || line.Words.size() > shape.Most)
      throw EUsage(line.Command + " takes " + shape.Words + ".");
    if (line.Kind != TValueKind::vkAuto && line.Command != "set")
      throw EUsage("--int, --string and --bool go with set only.");
    if (line.Yes && line.Command != "reset" && line.Command != "colorings")
      throw EUsage("--yes goes with reset and colorings clear only.");
    if (line.Command == "lock" && line.Words.size() == 1)
      throw EUsage("lock takes save or print, then on or off.");
    if (line.System && line.Command != "password" && line.Command != "lock")
      throw EUsage("--system goes with password and lock only.");
    if (line.System && (!line.Database.empty() || line.Defaults))
      throw EUsage("--system changes the system policy, not a settings store; leave out "
                   "--database and --defaults.");
    return;
  }
  throw EUsage("Unknown command \"" + line.Command +
                     "\"; the commands are get, set, list, import, export, reset, password, "
                     "lock, catalog and colorings.");
}

// Whether the command changes anything (a failure then changed nothing).
bool Changes(const TConfigCommandLine& line) {
  const std::string& command = line.Command;
  if (command == "lock" || command == "colorings") return !line.Words.empty();
  if (command == "catalog") return !line.Words.empty() && !SameTextAscii(line.Words[0], "list");
  return command != "get" && command != "list" && command != "export";
}

int RunStoreCommand(const TConfigCommandLine& line, TConsole& console) {
  const std::string database = line.Database.empty() ? TSetting::DefaultDatabasePath() : line.Database;
  const std::string defaults = line.Defaults ? *line.Defaults : InstalledDefaultsFile();
  if (line.Defaults && !TIniFile(defaults).Exists()) {
    console.Err << ConfigToolName << ": cannot read the defaults file \"" << defaults << "\".\n";
    return ExitFailure;
  }
  // The tool never works on settings kept in memory: what it shows must be
  // the file's, and what it changes must reach the file.
  TSetting store(database, ProductKey, defaults, TStoreFallback::Refuse);
  const TQCSetting seeded(store);
  TConfigContext context{store, console, line};
  const std::string& command = line.Command;
  if (command == "import") {
    const int imported = RunImport(store, line.Words[0], console);
    // A password the file held in clear is kept as a hash at once.
    try {
      if (imported == ExitOk) TParentControls(store).SealPassword();
    } catch (const EError& error) {
      console.Err << "Warning: the imported parent password is still stored as readable text: "
                  << error.what() << "\n";
    }
    return imported;
  }
  if (command == "get") return RunGet(context);
  if (command == "set") return RunSet(context);
  if (command == "list") return RunList(context);
  if (command == "export") return RunExport(context);
  if (command == "reset") return RunReset(context);
  if (command == "password") return RunPassword(context);
  if (command == "lock") return RunLock(context);
  if (command == "colorings") return RunColorings(context);
  return RunCatalog(context);
}

int RunCommand(const TConfigCommandLine& line, TConsole& console) {
  if (line.System) return RunSystemCommand(line, console);
  try {
    return RunStoreCommand(line, console);
  } catch (const EUsage&) {
    throw;
  } catch (const EAbort&) {
    throw;
  } catch (const EError& error) {
    std::string message = error.what();
    if (!message.empty() && message.back() != '.') message += '.';
    console.Err << ConfigToolName << ": " << message
                << (Changes(line) ? " Nothing was changed.\n" : " Nothing could be read.\n");
    return ExitFailure;
  }
}

}  // namespace

int RunConfigTool(const std::vector<std::string>& args, TConsole& console) {
  const THookScope hooks(console.Err, ConfigToolName);
  try {
    const TConfigCommandLine line = ParseConfigArgs(args);
    if (line.Help) {
      console.Out << Help;
      return ExitOk;
    }
    if (line.Command.empty()) {
      console.Err << Help;
      return ExitUsage;
    }
    if (line.Command == "help") {
      console.Out << Help;
      return ExitOk;
    }
    CheckShape(line);
    return RunCommand(line, console);
  } catch (const EUsage& e) {
    console.Err << ConfigToolName << ": " << e.what() << "\n"
                << "Run \"" << ConfigToolName << " --help\" for help.\n";
    return ExitUsage;
  } catch (const EAbort&) {
    // The problem has been shown through the warning hook already.
    return ExitFailure;
  } catch (const std::bad_alloc&) {
    console.Err << ConfigToolName << ": not enough memory.\n";
    return ExitFailure;
  } catch (const std::exception& e) {
    console.Err << ConfigToolName << ": " << e.what() << "\n";
    return ExitFailure;
  }
}

}  // namespace tw
