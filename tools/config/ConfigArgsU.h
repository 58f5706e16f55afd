// Reading the config tool's command line into one plain record, and the
// typing rules for values given on it: the defaults file's rules, an explicit
// type flag, and the fixed types of the program's own keys in "Main". Nothing
// here touches the settings store or a file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/ErrorsU.h"
#include "tools/common/ToolExitU.h"

namespace tw {

enum class TValueKind { vkAuto, vkInteger, vkString, vkBool };

struct TConfigCommandLine {
  // Empty: TSetting::DefaultDatabasePath().
  std::string Database;
  // Unset: the installed program's defaults file, if there is one.
  std::optional<std::string> Defaults;
  bool Help = false;
  // The command ("get", "catalog", ...) and the words after it, options
  // removed.
  std::string Command;
  std::vector<std::string> Words;
  // --int, --string or --bool (for set).
  TValueKind Kind = TValueKind::vkAuto;
  // --yes (for reset).
  bool Yes = false;
  // --system (for password and lock): the system policy, not a user's store.
  bool System = false;
};

// Options may stand anywhere: "--database PATH" or "--database=PATH",
// "--defaults PATH", "--int", "--string", "--bool", "--yes", "--system",
// "-h"/"--help".
// "--" ends the options, so a value such as "-5" after it is a word; a word
// that looks like a negative number is a word anyway. Throws EUsage for
// an unknown option, a missing option argument or conflicting type flags.
TConfigCommandLine ParseConfigArgs(const std::vector<std::string>& args);

// A value as it is written to the store.
struct TTypedValue {
  TValueKind Kind = TValueKind::vkString;  // vkInteger, vkString or vkBool
  int32_t Integer = 0;
  bool Bool = false;
  std::string Text;
};

// The defaults file's rule: "true" or "false" in any case is a Boolean, an
// integer form (decimal, or hexadecimal after "$", "x" or "0x") a 32-bit
// integer, anything else text.
TTypedValue ClassifyIniValue(const std::string& text);

// The type the program reads a key of "Main" with (section and name compared
// without regard to case); vkAuto for keys of its own that the program does
// not know.
TValueKind KnownValueKind(const std::string& section, const std::string& name);

// The value of set: with vkAuto the key's known type, else the defaults
// file's rule; an explicit kind is used as given. Throws EUsage when
// text is no integer for vkInteger, no Boolean (true/false, yes/no, on/off,
// 1/0) for vkBool, or when the kind contradicts the known type of the key
// (the program would fail reading it).
TTypedValue TypedValueFor(const std::string& section, const std::string& name,
                          const std::string& text, TValueKind kind);

// Section paths and value names the store and an exported file both keep:
// not empty, no line breaks, no blanks at either end, no "[" or "]", and for
// names no "=" and no leading ";" or "#"; section paths have no empty part
// between backslashes. Throws EUsage naming what is wrong.
void CheckSectionPath(const std::string& section);
void CheckValueName(const std::string& name);

const char* ValueKindName(TValueKind kind);

}  // namespace tw
