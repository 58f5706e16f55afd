#include "tools/config/StoreCommandsU.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>
#include <tuple>

#include "settings/IniFileU.h"
#include "settings/QCSettingU.h"
#include "settings/SettingsTextU.h"
#include "tools/config/ParentCommandsU.h"

namespace tw {

namespace {

void ExpectWords(const TConfigContext& context, size_t least, size_t most, const std::string& usage) {
  const size_t count = context.Line.Words.size();
  if (count < least || count > most)
    throw EUsage(context.Line.Command + " takes " + usage + ".");
}

void RefuseTypeFlags(const TConfigCommandLine& line) {
  if (line.Kind != TValueKind::vkAuto)
    throw EUsage("--int, --string and --bool go with set only.");
  if (line.Yes && line.Command != "reset") throw EUsage("--yes goes with reset only.");
}

// Whether section is filter or lies below it.
bool InSection(const std::string& section, const std::string& filter) {
  if (SameTextAscii(section, filter)) return true;
  const std::string prefix = LowerAsciiText(filter) + "\\";
  return LowerAsciiText(section).compare(0, prefix.size(), prefix) == 0;
}

// Names in reading order: "Color2" before "Color10", the rest by folded text.
bool NaturalLess(const std::string& a, const std::string& b) {
  const auto split = [](const std::string& name) {
    size_t digits = name.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1]))) --digits;
    const std::string tail = name.substr(digits);
    return std::make_tuple(LowerAsciiText(name.substr(0, digits)), tail.size(), tail);
  };
  return split(a) < split(b);
}

// A section's values in reading order.
std::vector<TSetting::TValue> SortedValues(TSetting& store, const std::string& section) {
  std::vector<TSetting::TValue> values = store.Values(section);
  std::stable_sort(values.begin(), values.end(),
                   [](const TSetting::TValue& a, const TSetting::TValue& b) {
                     return NaturalLess(a.Name, b.Name);
                   });
  return values;
}

std::vector<std::string> SortedSections(TSetting& store) {
  std::vector<std::string> sections = store.SectionNames();
  std::stable_sort(sections.begin(), sections.end(), NaturalLess);
  return sections;
}

std::string ValueText(const TSetting::TValue& value) {
  return value.IsInteger ? std::to_string(value.Integer) : value.Text;
}

// Text in double quotes when the INI reader would otherwise trim its blanks
// or take off its own quotes; the reader strips exactly one outer pair.
std::string IniValueText(const std::string& text) {
  const bool quoted = text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
                      text.back() == text.front();
  return quoted || TrimBlanks(text) != text ? "\"" + text + "\"" : text;
}

bool IsValidName(void (*check)(const std::string&), const std::string& name) {
  try {
    check(name);
    return true;
  } catch (const EUsage&) {
    return false;
  }
}

}  // namespace

int RunGet(TConfigContext& context) {
  RefuseTypeFlags(context.Line);
  ExpectWords(context, 2, 2, "SECTION and NAME");
  const std::string& section = context.Line.Words[0];
  const std::string& name = context.Line.Words[1];
  for (const TSetting::TValue& value : context.Store.Values(section)) {
    if (SameTextAscii(value.Name, name)) {
      context.Console.Out << ValueText(value) << "\n";
      return ExitOk;
    }
  }
  if (const TMainSetting* known = FindMainSetting(section, name)) {
    // What the program uses; Booleans as the store keeps them.
    const std::string builtIn = known->BuiltIn;
    const bool isBool = known->Type == TSettingType::stBool;
    context.Console.Out << (isBool ? (builtIn == "true" ? "1" : "0") : builtIn) << "\n";
    context.Console.Err << "Note: nothing is stored for " << SectionMain << "\\" << known->Name
                        << "; this is the program's built-in default.\n";
    return ExitOk;
  }
  context.Console.Err << "There is no value \"" << name << "\" in section \"" << section << "\".\n";
  return ExitFailure;
}

int RunSet(TConfigContext& context) {
  if (context.Line.Yes) throw EUsage("--yes goes with reset only.");
  ExpectWords(context, 3, 3, "SECTION, NAME and VALUE");
  const std::string& section = context.Line.Words[0];
  const std::string& name = context.Line.Words[1];
  CheckSectionPath(section);
  CheckValueName(name);
  if (const int refused = CheckParentValue(context, section, name); refused != ExitOk) return refused;
  const TTypedValue value = TypedValueFor(section, name, context.Line.Words[2], context.Line.Kind);
  switch (value.Kind) {
    case TValueKind::vkBool:
      context.Store.WriteBool(name, value.Bool, section);
      break;
    case TValueKind::vkInteger:
      context.Store.WriteInteger(name, value.Integer, section);
      break;
    case TValueKind::vkString:
    case TValueKind::vkAuto:
      if (value.Text.find_first_of("\r\n") != std::string::npos)
        throw EUsage("A value cannot hold a line break.");
      context.Store.WriteString(name, value.Text, section);
      break;
  }
  return ExitOk;
}

int RunList(TConfigContext& context) {
  RefuseTypeFlags(context.Line);
  ExpectWords(context, 0, 1, "at most a SECTION");
  const std::string filter = context.Line.Words.empty() ? std::string() : context.Line.Words[0];
  bool any = false;
  for (const std::string& section : SortedSections(context.Store)) {
    if (!filter.empty() && !InSection(section, filter)) continue;
    const std::vector<TSetting::TValue> values = SortedValues(context.Store, section);
    if (values.empty()) continue;
    context.Console.Out << (any ? "\n[" : "[") << section << "]\n";
    any = true;
    for (const TSetting::TValue& value : values) {
      context.Console.Out << value.Name << " = ";
      if (value.IsInteger) {
        context.Console.Out << value.Integer << "\n";
      } else {
        context.Console.Out << "\"" << value.Text << "\"\n";
      }
    }
  }
  if (!any && !filter.empty()) {
    context.Console.Err << "There are no values in section \"" << filter << "\".\n";
    return ExitFailure;
  }
  return ExitOk;
}

std::string ExportIniText(TSetting& store, std::vector<std::string>& problems) {
  std::ostringstream text;
  text << "; Tintwell settings. Read back with: tintwell-config import FILE.ini\n";
  for (const std::string& section : SortedSections(store)) {
    if (!IsValidName(CheckSectionPath, section)) {
      problems.push_back("left out section \"" + section + "\": an INI file cannot hold its name");
      continue;
    }
    text << "\n[" << section << "]\n";
    for (const TSetting::TValue& value : SortedValues(store, section)) {
      const std::string where = section + "\\" + value.Name;
      if (!IsValidName(CheckValueName, value.Name) ||
          value.Text.find_first_of("\r\n") != std::string::npos) {
        problems.push_back("left out " + where + ": an INI file cannot hold its name or value");
        continue;
      }
      text << value.Name << "=" << (value.IsInteger ? ValueText(value) : IniValueText(value.Text))
           << "\n";
      if (value.IsInteger) continue;
      const TTypedValue back = ClassifyIniValue(value.Text);
      if (back.Kind == TValueKind::vkBool ||
          (back.Kind == TValueKind::vkInteger && std::to_string(back.Integer) != value.Text))
        problems.push_back(where + " is the text \"" + value.Text +
                           "\"; importing the file stores it as a number");
    }
  }
  return text.str();
}

int RunExport(TConfigContext& context) {
  RefuseTypeFlags(context.Line);
  ExpectWords(context, 0, 0, "no arguments");
  std::vector<std::string> problems;
  context.Console.Out << ExportIniText(context.Store, problems);
  bool leftOut = false;
  for (const std::string& problem : problems) {
    context.Console.Err << "Warning: " << problem << ".\n";
    leftOut = leftOut || problem.rfind("left out", 0) == 0;
  }
  return leftOut ? ExitFailure : ExitOk;
}

namespace {

// The program's own values of "Main" take the type the program reads them
// with, by the same rules as set; an entry that cannot have it is refused.
bool TypeKnownValue(TSetting::TEntry& entry, const std::string& text, std::string& problem) {
  const TMainSetting* known = FindMainSetting(entry.Section, entry.Value.Name);
  if (!known || known->Type == TSettingType::stString || entry.Value.IsInteger) return true;
  try {
    const TTypedValue typed = TypedValueFor(entry.Section, entry.Value.Name, text, TValueKind::vkAuto);
    entry.Value.IsInteger = true;
    entry.Value.Integer = typed.Kind == TValueKind::vkBool ? (typed.Bool ? 1 : 0) : typed.Integer;
    entry.Value.Text.clear();
    return true;
  } catch (const EUsage& error) {
    problem = entry.Section + "\\" + entry.Value.Name + ": " + error.what();
    return false;
  }
}

}  // namespace

int RunImport(TSetting& store, const std::string& file, TConsole& console) {
  const TIniFile ini(file);
  if (!ini.Exists()) {
    console.Err << "Cannot read \"" << file << "\". Nothing was changed.\n";
    return ExitFailure;
  }
  // ReadIniSections takes a section with everything below it, so the top
  // parts of the section paths name each section once.
  std::vector<TSetting::TEntry> entries;
  std::set<std::string> seen;
  for (const std::string& section : ini.SectionNames()) {
    const std::string top = section.substr(0, section.find('\\'));
    if (top.empty() || !seen.insert(LowerAsciiText(top)).second) continue;
    const std::vector<TSetting::TEntry> part = TSetting::ReadIniSections(file, top);
    entries.insert(entries.end(), part.begin(), part.end());
  }
  std::vector<std::string> refused;
  size_t valueCount = 0;
  for (TSetting::TEntry& entry : entries) {
    if (entry.Value.Name.empty()) continue;
    ++valueCount;
    std::string problem;
    const std::string text = ini.ReadString(entry.Section, entry.Value.Name, "");
    if (!TypeKnownValue(entry, text, problem)) refused.push_back(problem);
  }
  if (!refused.empty()) {
    for (const std::string& problem : refused) console.Err << "Refused " << problem << "\n";
    console.Err << "Nothing was imported.\n";
    return ExitFailure;
  }
  store.ImportEntries(entries);
  console.Out << "Imported " << valueCount << (valueCount == 1 ? " value" : " values")
              << " from \"" << file << "\".\n";
  return ExitOk;
}

int RunReset(TConfigContext& context) {
  RefuseTypeFlags(context.Line);
  ExpectWords(context, 0, 0, "no arguments");
  TConsole& console = context.Console;
  if (!context.Line.Yes) {
    std::string answer;
    const std::string prompt = "This removes every setting in \"" + context.Store.DatabasePath() +
                               "\" and puts back the factory settings.\nType yes to go on: ";
    if (!ReadAnswer(console, prompt, false, answer) || !SameTextAscii(TrimBlanks(answer), "yes")) {
      console.Err << "Nothing was changed.\n";
      return ExitFailure;
    }
  }
  // One transaction: the store is either reset or left as it was.
  std::vector<TSetting::TEntry> entries;
  for (const char* section : {SectionMain, SectionLanguages, SectionPalettes, SectionCatalog}) {
    const auto part = TSetting::ReadIniSections(context.Store.DefaultsFile(), section);
    entries.insert(entries.end(), part.begin(), part.end());
  }
  context.Store.ImportEntries(entries, true);
  const TQCSetting seeded(context.Store);
  if (TIniFile(context.Store.DefaultsFile()).Exists()) {
    console.Out << "The settings are back to the factory settings of \""
                << context.Store.DefaultsFile() << "\".\n";
  } else {
    console.Out << "The settings are cleared; no defaults file was found, so the program's "
                   "built-in defaults apply.\n";
  }
  return ExitOk;
}

}  // namespace tw
