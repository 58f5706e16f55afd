#include "tools/config/ConfigArgsU.h"

#include <cctype>

#include "settings/QCSettingU.h"
#include "settings/SettingsTextU.h"

namespace tw {

namespace {

bool IsNumberLike(const std::string& word) {
  return word.size() >= 2 && word[0] == '-' && (std::isdigit((unsigned char)word[1]) ||
                                                word[1] == '$' || word[1] == 'x' || word[1] == 'X');
}

void SetKind(TConfigCommandLine& line, TValueKind kind) {
  if (line.Kind != TValueKind::vkAuto && line.Kind != kind)
    throw EUsage("Give only one of --int, --string and --bool.");
  line.Kind = kind;
}

bool HasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

bool HasOuterBlanks(const std::string& text) { return TrimBlanks(text) != text; }

std::optional<bool> ParseBoolWord(const std::string& text) {
  const std::string word = LowerAsciiText(TrimBlanks(text));
  if (word == "true" || word == "yes" || word == "on" || word == "1") return true;
  if (word == "false" || word == "no" || word == "off" || word == "0") return false;
  return std::nullopt;
}

}  // namespace

const char* ValueKindName(TValueKind kind) {
  switch (kind) {
    case TValueKind::vkInteger: return "an integer";
    case TValueKind::vkBool: return "a Boolean";
    case TValueKind::vkString: return "text";
    case TValueKind::vkAuto: break;
  }
  return "any value";
}

TConfigCommandLine ParseConfigArgs(const std::vector<std::string>& args) {
  TConfigCommandLine line;
  std::vector<std::string> words;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-" || IsNumberLike(arg)) {
      words.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "-h" || arg == "--help") {
      line.Help = true;
    } else if (arg == "--int") {
      SetKind(line, TValueKind::vkInteger);
    } else if (arg == "--string") {
      SetKind(line, TValueKind::vkString);
    } else if (arg == "--bool") {
      SetKind(line, TValueKind::vkBool);
    } else if (arg == "--yes") {
      line.Yes = true;
    } else if (arg == "--system") {
      line.System = true;
    } else if (arg.rfind("--database", 0) == 0 || arg.rfind("--defaults", 0) == 0) {
      const std::string option = arg.substr(0, 10);
      std::string value;
      if (arg.size() > 10 && arg[10] == '=') {
        value = arg.substr(11);
      } else if (arg.size() == 10 && i + 1 < args.size()) {
        value = args[++i];
      } else if (arg.size() == 10) {
        throw EUsage(option + " needs a PATH.");
      } else {
        throw EUsage("Unknown option \"" + arg + "\".");
      }
      if (value.empty()) throw EUsage(option + " needs a PATH.");
      if (option == "--database") {
        line.Database = value;
      } else {
        line.Defaults = value;
      }
    } else {
      throw EUsage("Unknown option \"" + arg + "\".");
    }
  }
  if (!words.empty()) {
    line.Command = words.front();
    line.Words.assign(words.begin() + 1, words.end());
  }
  return line;
}

TTypedValue ClassifyIniValue(const std::string& text) {
  TTypedValue value;
  value.Text = text;
  if (SameTextAscii(text, "true") || SameTextAscii(text, "false")) {
    value.Kind = TValueKind::vkBool;
    value.Bool = SameTextAscii(text, "true");
  } else if (TryParseSettingInteger(text, value.Integer)) {
    value.Kind = TValueKind::vkInteger;
  }
  return value;
}

TValueKind KnownValueKind(const std::string& section, const std::string& name) {
  const TMainSetting* setting = FindMainSetting(section, name);
  if (!setting) return TValueKind::vkAuto;
  switch (setting->Type) {
    case TSettingType::stBool:
      return TValueKind::vkBool;
    case TSettingType::stInteger:
      return TValueKind::vkInteger;
    case TSettingType::stString:
      break;
  }
  return TValueKind::vkString;
}

TTypedValue TypedValueFor(const std::string& section, const std::string& name,
                          const std::string& text, TValueKind kind) {
  const TValueKind known = KnownValueKind(section, name);
  if (kind != TValueKind::vkAuto && known != TValueKind::vkAuto && kind != known)
    throw EUsage(section + "\\" + name + " is " + ValueKindName(known) +
                       ", the program could not read it as " + ValueKindName(kind) + ".");
  if (kind == TValueKind::vkAuto) kind = known;
  TTypedValue value;
  value.Text = text;
  value.Kind = kind;
  switch (kind) {
    case TValueKind::vkAuto:
      return ClassifyIniValue(text);
    case TValueKind::vkString:
      return value;
    case TValueKind::vkInteger:
      if (!TryParseSettingInteger(text, value.Integer))
        throw EUsage("\"" + text + "\" is not a 32-bit integer (decimal, or hexadecimal after $ or 0x).");
      return value;
    case TValueKind::vkBool:
      if (const std::optional<bool> flag = ParseBoolWord(text)) {
        value.Bool = *flag;
        return value;
      }
      throw EUsage("\"" + text + "\" is not a Boolean: use true or false (yes/no, on/off, 1/0).");
  }
  return value;
}

void CheckSectionPath(const std::string& section) {
  if (section.empty()) throw EUsage("The section name is empty.");
  if (HasLineBreak(section) || HasOuterBlanks(section) ||
      section.find_first_of("[]") != std::string::npos)
    throw EUsage("The section name \"" + section +
                       "\" has a line break, \"[\", \"]\" or blanks at an end.");
  if (section.front() == '\\' || section.back() == '\\' || section.find("\\\\") != std::string::npos)
    throw EUsage("The section path \"" + section + "\" has an empty part between backslashes.");
}

void CheckValueName(const std::string& name) {
  if (name.empty()) throw EUsage("The value name is empty.");
  if (HasLineBreak(name) || HasOuterBlanks(name) || name.find_first_of("=[]") != std::string::npos ||
      name.front() == ';' || name.front() == '#')
    throw EUsage("The value name \"" + name +
                       "\" has a line break, \"=\", \"[\", \"]\", a leading \";\" or \"#\" or blanks at an end.");
}

}  // namespace tw
