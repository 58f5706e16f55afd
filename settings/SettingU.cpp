#include "settings/SettingU.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <unordered_map>

#include "settings/IniFileU.h"
#include "settings/SettingsTextU.h"
#include "settings/SqliteU.h"

namespace tw {

// Company folder, product and the major version from the build's project
// version.
const char* const ProductKey = "Tintwell\\Tintwell\\" TINTWELL_VERSION_MAJOR;

namespace {

// A stored count is a number a person can edit; this bound keeps a damaged
// one from asking for billions of list items.
constexpr int32_t MaxListCount = 100000;

// "\Main\\Sub\" and "Main\Sub" name the same section: empty parts between
// backslashes are dropped, as the section paths the program uses never
// have any.
std::string NormalizeSection(const std::string& section) {
  std::string out;
  size_t start = 0;
  while (start <= section.size()) {
    size_t end = section.find('\\', start);
    if (end == std::string::npos) end = section.size();
    if (end > start) {
      if (!out.empty()) out += '\\';
      out.append(section, start, end - start);
    }
    start = end + 1;
  }
  return out;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Where(const std::string& name, const std::string& section) {
  return "setting " + Quoted(name) + " in section " + Quoted(section);
}

std::string ConfigHome() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  // The base directory rules ignore a relative XDG_CONFIG_HOME.
  if (config && config[0] == '/') return config;
  const char* home = std::getenv("HOME");
  return std::string(home && home[0] ? home : ".") + "/.config";
}

}  // namespace

TSetting::TSetting(const std::string& databasePath, const std::string& productKey,
                   const std::string& defaultsFile)
    : FDatabasePath(databasePath), FRootKey("\\Software\\" + productKey),
      FRootFold(LowerAsciiText(NormalizeSection(FRootKey))), FDefaultsFile(defaultsFile) {
  Open();
}

TSetting::~TSetting() { CloseDatabase(); }

std::string TSetting::DefaultDatabasePath() {
  std::string relative = ProductKey;
  for (char& c : relative)
    if (c == '\\') c = '/';
  return ConfigHome() + "/" + relative + "/settings.sqlite3";
}

std::string TSetting::SettingsFolder() {
  const std::string key = ProductKey;
  return ConfigHome() + "/" + key.substr(0, key.find('\\'));
}

int64_t TSetting::SectionId(const std::string& section, bool create) {
  const std::string path = NormalizeSection(section);
  if (create) {
    // Each level is a section of its own, as a subkey implies its parents.
    size_t end = 0;
    do {
      end = path.find('\\', end + 1);
      const std::string part = path.substr(0, end);
      TStatement insert(FDb,
                        "INSERT INTO sections(root_key, path, path_key) VALUES(?, ?, ?) "
                        "ON CONFLICT(root_key, path_key) DO NOTHING");
      insert.Bind(1, FRootFold).Bind(2, part).Bind(3, LowerAsciiText(part)).Run();
    } while (end != std::string::npos);
  }
  TStatement select(FDb, "SELECT id FROM sections WHERE root_key = ? AND path_key = ?");
  select.Bind(1, FRootFold).Bind(2, LowerAsciiText(path));
  return select.Step() ? select.ColumnInteger(0) : -1;
}

TSetting::TStored TSetting::Lookup(const std::string& name, const std::string& section) {
  TStored stored;
  try {
    TStatement select(FDb,
                      "SELECT v.value FROM setting_values v JOIN sections s ON s.id = v.section_id "
                      "WHERE s.root_key = ? AND s.path_key = ? AND v.name_key = ?");
    select.Bind(1, FRootFold)
        .Bind(2, LowerAsciiText(NormalizeSection(section)))
        .Bind(3, LowerAsciiText(name));
    if (!select.Step()) return stored;
    stored.Found = true;
    stored.IsInteger = select.ColumnType(0) == SQLITE_INTEGER;
    if (stored.IsInteger)
      stored.Integer = select.ColumnInteger(0);
    else
      stored.Text = select.ColumnText(0);
  } catch (const ESqliteError& error) {
    throw EError("Cannot read the " + Where(name, section) + ": " + error.what());
  }
  return stored;
}

int32_t TSetting::ToInteger(const TStored& stored, const std::string& name,
                            const std::string& section) const {
  if (!stored.IsInteger)
    throw EInvalidDataType("The " + Where(name, section) +
                           " is stored as text, not as a number, and cannot be read as one");
  if (stored.Integer < std::numeric_limits<int32_t>::min() ||
      stored.Integer > std::numeric_limits<int32_t>::max())
    throw EInvalidDataType("The " + Where(name, section) + " holds " +
                           std::to_string(stored.Integer) + ", which is not a 32-bit integer");
  return int32_t(stored.Integer);
}

bool TSetting::ReadBool(const std::string& name, bool defaultValue, const std::string& section) {
  const TStored stored = Lookup(name, section);
  return stored.Found ? ToInteger(stored, name, section) != 0 : defaultValue;
}

int32_t TSetting::ReadInteger(const std::string& name, int32_t defaultValue,
                              const std::string& section) {
  const TStored stored = Lookup(name, section);
  return stored.Found ? ToInteger(stored, name, section) : defaultValue;
}

std::string TSetting::ReadString(const std::string& name, const std::string& defaultValue,
                                 const std::string& section) {
  const TStored stored = Lookup(name, section);
  if (!stored.Found) return defaultValue;
  return stored.IsInteger ? std::to_string(stored.Integer) : stored.Text;
}

int32_t TSetting::ListCount(const std::string& name, const std::string& section) {
  const int32_t count = ReadInteger(name + "Count", 0, section);
  return count < 0 ? 0 : std::min(count, MaxListCount);
}

void TSetting::ReadList(const std::string& name, std::vector<std::string>& list,
                        const std::string& section) {
  list.clear();
  // One read transaction: a copy writing meanwhile cannot mix old and new items.
  TTransaction transaction(FDb, false);
  const int32_t count = ListCount(name, section);
  for (int32_t i = 0; i < count; ++i) list.push_back(ReadString(name + std::to_string(i), "", section));
  transaction.Commit();
}

void TSetting::ReadNameValueList(const std::string& name, std::vector<std::string>& list,
                                 const std::string& section) {
  list.clear();
  TTransaction transaction(FDb, false);
  const int32_t count = ListCount(name, section);
  for (int32_t i = 0; i < count; ++i) {
    const std::string index = std::to_string(i);
    list.push_back(ReadString("Name" + index, "", section) + "=" +
                   ReadString("Value" + index, "", section));
  }
  transaction.Commit();
}

void TSetting::Put(int64_t sectionId, const std::string& name, const int64_t* integer,
                   const std::string* text) {
  TStatement upsert(FDb,
                    "INSERT INTO setting_values(section_id, name, name_key, value) "
                    "VALUES(?, ?, ?, ?) "
                    "ON CONFLICT(section_id, name_key) DO UPDATE SET value = excluded.value");
  upsert.Bind(1, sectionId).Bind(2, name).Bind(3, LowerAsciiText(name));
  if (integer)
    upsert.Bind(4, *integer);
  else
    upsert.Bind(4, *text);
  upsert.Run();
}

void TSetting::WriteValue(const std::string& name, const int64_t* integer, const std::string* text,
                          const std::string& section) {
  try {
    TTransaction transaction(FDb, true);
    Put(SectionId(section, true), name, integer, text);
    transaction.Commit();
  } catch (const ESqliteError& error) {
    throw EError("Cannot store the " + Where(name, section) + ": " + error.what());
  }
}

void TSetting::WriteBool(const std::string& name, bool value, const std::string& section) {
  const int64_t integer = value ? 1 : 0;
  WriteValue(name, &integer, nullptr, section);
}

void TSetting::WriteInteger(const std::string& name, int32_t value, const std::string& section) {
  const int64_t integer = value;
  WriteValue(name, &integer, nullptr, section);
}

void TSetting::WriteString(const std::string& name, const std::string& value,
                           const std::string& section) {
  WriteValue(name, nullptr, &value, section);
}

void TSetting::WriteList(const std::string& name, const std::vector<std::string>& list,
                         const std::string& section) {
  if (list.size() > size_t(std::numeric_limits<int32_t>::max()))
    throw EError("The list " + Where(name, section) + " is too long to store");
  try {
    // One transaction: another copy of the program never sees a count that
    // does not match its items.
    TTransaction transaction(FDb, true);
    const int64_t sectionId = SectionId(section, true);
    const int64_t count = int64_t(list.size());
    Put(sectionId, name + "Count", &count, nullptr);
    for (size_t i = 0; i < list.size(); ++i) Put(sectionId, name + std::to_string(i), nullptr, &list[i]);
    transaction.Commit();
  } catch (const ESqliteError& error) {
    throw EError("Cannot store the list " + Where(name, section) + ": " + error.what());
  }
}

bool TSetting::SectionExists(const std::string& section) {
  try {
    return SectionId(section, false) >= 0;
  } catch (const ESqliteError& error) {
    throw EError("Cannot read the settings section " + Quoted(section) + ": " + error.what());
  }
}

void TSetting::ImportDefaults(const std::string& section) {
  const TIniFile defaults(FDefaultsFile);
  const std::string wanted = NormalizeSection(section);
  if (wanted.empty()) return;
  const std::string wantedFold = LowerAsciiText(wanted) + "\\";
  std::string current;
  std::string currentName;
  try {
    TTransaction transaction(FDb, true);
    for (const std::string& fileSection : defaults.SectionNames()) {
      const std::string path = NormalizeSection(fileSection);
      const std::string pathFold = LowerAsciiText(path) + "\\";
      if (pathFold.compare(0, wantedFold.size(), wantedFold) != 0) continue;
      current = path;
      const int64_t sectionId = SectionId(path, true);
      for (const auto& [name, value] : defaults.SectionValues(fileSection)) {
        currentName = name;
        int32_t parsed = 0;
        if (SameTextAscii(value, "true") || SameTextAscii(value, "false")) {
          const int64_t flag = SameTextAscii(value, "true") ? 1 : 0;
          Put(sectionId, name, &flag, nullptr);
        } else if (TryParseSettingInteger(value, parsed)) {
          const int64_t integer = parsed;
          Put(sectionId, name, &integer, nullptr);
        } else {
          Put(sectionId, name, nullptr, &value);
        }
      }
    }
    transaction.Commit();
  } catch (const ESqliteError& error) {
    throw EError("Cannot import the default " + Where(currentName, current) + ": " + error.what());
  }
}

std::vector<std::string> TSetting::SectionNames() {
  std::vector<std::string> names;
  TStatement select(FDb,
                    "SELECT path FROM sections WHERE root_key = ? AND path_key <> '' "
                    "ORDER BY path_key");
  select.Bind(1, FRootFold);
  while (select.Step()) names.push_back(select.ColumnText(0));
  return names;
}

std::vector<TSetting::TValue> TSetting::Values(const std::string& section) {
  std::vector<TValue> values;
  TStatement select(FDb,
                    "SELECT v.name, v.value FROM setting_values v "
                    "JOIN sections s ON s.id = v.section_id "
                    "WHERE s.root_key = ? AND s.path_key = ? ORDER BY v.name_key");
  select.Bind(1, FRootFold).Bind(2, LowerAsciiText(NormalizeSection(section)));
  while (select.Step()) {
    TValue value{select.ColumnText(0), select.ColumnType(1) == SQLITE_INTEGER, 0, std::string()};
    if (value.IsInteger) {
      const int64_t integer = select.ColumnInteger(1);
      value.Integer = int32_t(std::clamp<int64_t>(integer, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
      value.Text = std::to_string(integer);
    } else {
      value.Text = select.ColumnText(1);
    }
    values.push_back(value);
  }
  return values;
}

bool TSetting::DeleteValue(const std::string& name, const std::string& section) {
  TStatement remove(FDb,
                    "DELETE FROM setting_values WHERE name_key = ? AND section_id = "
                    "(SELECT id FROM sections WHERE root_key = ? AND path_key = ?)");
  remove.Bind(1, LowerAsciiText(name))
      .Bind(2, FRootFold)
      .Bind(3, LowerAsciiText(NormalizeSection(section)))
      .Run();
  return sqlite3_changes(FDb) > 0;
}

void TSetting::Clear() {
  TTransaction transaction(FDb, true);
  TStatement values(FDb,
                    "DELETE FROM setting_values WHERE section_id IN "
                    "(SELECT id FROM sections WHERE root_key = ?)");
  values.Bind(1, FRootFold).Run();
  TStatement sections(FDb, "DELETE FROM sections WHERE root_key = ?");
  sections.Bind(1, FRootFold).Run();
  transaction.Commit();
}

}  // namespace tw
