#include "settings/SettingU.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>
#include <system_error>

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
                   const std::string& defaultsFile, TStoreFallback fallback)
    : FDatabasePath(databasePath), FRootKey("\\Software\\" + productKey),
      FRootFold(LowerAsciiText(NormalizeSection(FRootKey))), FDefaultsFile(defaultsFile) {
  Open(fallback);
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

TSetting::TStored TSetting::FromColumn(const TStatement& statement, int column) {
  TStored stored;
  stored.Found = true;
  stored.IsInteger = statement.ColumnType(column) == SQLITE_INTEGER;
  if (stored.IsInteger)
    stored.Integer = statement.ColumnInteger(column);
  else
    stored.Text = statement.ColumnText(column);
  return stored;
}

TSetting::TStored TSetting::Lookup(sqlite3* db, const std::string& rootFold,
                                   const std::string& name, const std::string& section) {
  TStored stored;
  try {
    TStatement select(db,
                      "SELECT v.value FROM setting_values v JOIN sections s ON s.id = v.section_id "
                      "WHERE s.root_key = ? AND s.path_key = ? AND v.name_key = ?");
    select.Bind(1, rootFold)
        .Bind(2, LowerAsciiText(NormalizeSection(section)))
        .Bind(3, LowerAsciiText(name));
    if (select.Step()) stored = FromColumn(select, 0);
  } catch (const ESqliteError& error) {
    throw EError("Cannot read the " + Where(name, section) + ": " + error.what());
  }
  return stored;
}

void TSetting::LoadCache() {
  TCache cache;
  TStatement select(FDb,
                    "SELECT s.path_key, v.name_key, v.value FROM sections s "
                    "LEFT JOIN setting_values v ON v.section_id = s.id WHERE s.root_key = ?");
  select.Bind(1, FRootFold);
  while (select.Step()) {
    auto& values = cache[select.ColumnText(0)];
    if (select.ColumnType(2) != SQLITE_NULL) values[select.ColumnText(1)] = FromColumn(select, 2);
  }
  FCache = std::move(cache);
}

TSetting::TStored TSetting::Cached(const std::string& name, const std::string& section) const {
  const auto values = FCache.find(LowerAsciiText(NormalizeSection(section)));
  if (values == FCache.end()) return {};
  const auto value = values->second.find(LowerAsciiText(name));
  return value == values->second.end() ? TStored{} : value->second;
}

void TSetting::CacheValue(const std::string& section, const std::string& name,
                          const TStored& value) {
  const std::string path = LowerAsciiText(NormalizeSection(section));
  // Writing a value makes its section and every section above it.
  for (size_t end = path.find('\\'); end != std::string::npos; end = path.find('\\', end + 1))
    FCache[path.substr(0, end)];
  FCache[path][LowerAsciiText(name)] = value;
}

TSetting::TStored TSetting::LookupFresh(const std::string& name, const std::string& section) {
  if (!InMemory()) {
    const TStored stored = Lookup(FDb, FRootFold, name, section);
    if (stored.Found) CacheValue(section, name, stored);
    return stored;
  }
  // The file could not be read at start; it may be readable now. A file
  // that is not there or still empty holds nothing a parent set.
  std::error_code error;
  const auto size = std::filesystem::file_size(FDatabasePath, error);
  if (error || size == 0) return Cached(name, section);
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(FDatabasePath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  const std::unique_ptr<sqlite3, int (*)(sqlite3*)> closer(db, sqlite3_close_v2);
  if (rc != SQLITE_OK)
    throw EError("Cannot read the " + Where(name, section) + ": " +
                 (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_timeout(db, BusyTimeout());
  return Lookup(db, FRootFold, name, section);
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

bool TSetting::BoolOf(const TStored& stored, bool defaultValue, const std::string& name,
                      const std::string& section) const {
  return stored.Found ? ToInteger(stored, name, section) != 0 : defaultValue;
}

std::string TSetting::TextOf(const TStored& stored, const std::string& defaultValue) {
  if (!stored.Found) return defaultValue;
  return stored.IsInteger ? std::to_string(stored.Integer) : stored.Text;
}

bool TSetting::ReadBool(const std::string& name, bool defaultValue, const std::string& section) {
  return BoolOf(Cached(name, section), defaultValue, name, section);
}

int32_t TSetting::ReadInteger(const std::string& name, int32_t defaultValue,
                              const std::string& section) {
  const TStored stored = Cached(name, section);
  return stored.Found ? ToInteger(stored, name, section) : defaultValue;
}

std::string TSetting::ReadString(const std::string& name, const std::string& defaultValue,
                                 const std::string& section) {
  return TextOf(Cached(name, section), defaultValue);
}

bool TSetting::ReadFreshBool(const std::string& name, bool defaultValue,
                             const std::string& section) {
  return BoolOf(LookupFresh(name, section), defaultValue, name, section);
}

std::string TSetting::ReadFreshString(const std::string& name, const std::string& defaultValue,
                                      const std::string& section) {
  return TextOf(LookupFresh(name, section), defaultValue);
}

int32_t TSetting::ListCount(const std::string& name, const std::string& section) {
  const int32_t count = ReadInteger(name + "Count", 0, section);
  return count < 0 ? 0 : std::min(count, MaxListCount);
}

void TSetting::ReadList(const std::string& name, std::vector<std::string>& list,
                        const std::string& section) {
  list.clear();
  const int32_t count = ListCount(name, section);
  for (int32_t i = 0; i < count; ++i) list.push_back(ReadString(name + std::to_string(i), "", section));
}

void TSetting::ReadNameValueList(const std::string& name, std::vector<std::string>& list,
                                 const std::string& section) {
  list.clear();
  const int32_t count = ListCount(name, section);
  for (int32_t i = 0; i < count; ++i) {
    const std::string index = std::to_string(i);
    list.push_back(ReadString("Name" + index, "", section) + "=" +
                   ReadString("Value" + index, "", section));
  }
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

void TSetting::Write(const std::string& key, const std::string& what,
                     const std::function<void()>& write) {
  // Once another process has held the file past the wait, later writes of
  // this run try it without waiting: a held file costs one wait, and a file
  // that is free again takes the writes at once.
  if (FHeldByOther) sqlite3_busy_timeout(FDb, 0);
  try {
    write();
    sqlite3_busy_timeout(FDb, BusyTimeout());
    FUnstored.erase(key);
    FHeldByOther = false;
  } catch (const ESqliteError& error) {
    sqlite3_busy_timeout(FDb, BusyTimeout());
    FUnstored[key] = write;
    if ((error.Code & 0xFF) == SQLITE_BUSY) FHeldByOther = true;
    throw EError("Cannot store the " + what + ": " + error.what());
  }
}

void TSetting::WriteValue(const std::string& name, const int64_t* integer, const std::string* text,
                          const std::string& section) {
  TStored value;
  value.Found = true;
  value.IsInteger = integer != nullptr;
  if (integer)
    value.Integer = *integer;
  else
    value.Text = *text;
  // In effect for this run whether or not the file takes it.
  CacheValue(section, name, value);
  Write(NormalizeSection(section) + "\\" + name, Where(name, section), [this, name, section, value] {
    TTransaction transaction(FDb, true);
    Put(SectionId(section, true), name, value.IsInteger ? &value.Integer : nullptr,
        value.IsInteger ? nullptr : &value.Text);
    transaction.Commit();
  });
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
  const int64_t count = int64_t(list.size());
  CacheValue(section, name + "Count", TStored{true, true, count, std::string()});
  for (size_t i = 0; i < list.size(); ++i)
    CacheValue(section, name + std::to_string(i), TStored{true, false, 0, list[i]});
  Write(NormalizeSection(section) + "\\" + name, "list " + Where(name, section),
        [this, name, section, list, count] {
          // One transaction: another copy of the program never sees a count
          // that does not match its items.
          TTransaction transaction(FDb, true);
          const int64_t sectionId = SectionId(section, true);
          Put(sectionId, name + "Count", &count, nullptr);
          for (size_t i = 0; i < list.size(); ++i)
            Put(sectionId, name + std::to_string(i), nullptr, &list[i]);
          transaction.Commit();
        });
}

std::vector<std::string> TSetting::UnstoredSettings() const {
  std::vector<std::string> names;
  for (const auto& [key, retry] : FUnstored) names.push_back(key);
  return names;
}

std::vector<std::string> TSetting::StoreUnstored() {
  const auto pending = FUnstored;
  for (const auto& [key, retry] : pending) {
    try {
      retry();
      FUnstored.erase(key);
    } catch (const ESqliteError&) {
      // Still refused; named in the result.
    }
  }
  return UnstoredSettings();
}

bool TSetting::SectionExists(const std::string& section) {
  return FCache.count(LowerAsciiText(NormalizeSection(section))) > 0;
}

std::vector<TSetting::TEntry> TSetting::ReadIniSections(const std::string& iniFile,
                                                        const std::string& section) {
  const TIniFile file(iniFile);
  const std::string wanted = NormalizeSection(section);
  std::vector<TEntry> entries;
  if (wanted.empty()) return entries;
  const std::string wantedFold = LowerAsciiText(wanted) + "\\";
  for (const std::string& fileSection : file.SectionNames()) {
    const std::string path = NormalizeSection(fileSection);
    const std::string pathFold = LowerAsciiText(path) + "\\";
    if (pathFold.compare(0, wantedFold.size(), wantedFold) != 0) continue;
    entries.push_back({path, TValue{"", false, 0, ""}});
    for (const auto& [name, text] : file.SectionValues(fileSection)) {
      TValue value{name, true, 0, std::string()};
      if (SameTextAscii(text, "true") || SameTextAscii(text, "false")) {
        value.Integer = SameTextAscii(text, "true") ? 1 : 0;
      } else if (!TryParseSettingInteger(text, value.Integer)) {
        value.IsInteger = false;
        value.Text = text;
      }
      entries.push_back({path, value});
    }
  }
  return entries;
}

void TSetting::ImportDefaults(const std::string& section) {
  const std::vector<TEntry> entries = ReadIniSections(FDefaultsFile, section);
  if (!entries.empty()) ImportEntries(entries);
}

void TSetting::ImportEntries(const std::vector<TEntry>& entries, bool replace) {
  if (replace) FCache.clear();
  // In effect for this run even when the file cannot take them.
  for (const TEntry& entry : entries) {
    FCache[LowerAsciiText(NormalizeSection(entry.Section))];
    if (!entry.Value.Name.empty())
      CacheValue(entry.Section, entry.Value.Name,
                 TStored{true, entry.Value.IsInteger, entry.Value.Integer, entry.Value.Text});
  }
  const std::string key = entries.empty() ? std::string() : NormalizeSection(entries[0].Section);
  Write(key, "settings of section " + Quoted(key), [this, entries, replace] {
    TTransaction transaction(FDb, true);
    if (replace) DeleteEverything();
    for (const TEntry& entry : entries) {
      const int64_t sectionId = SectionId(entry.Section, true);
      if (entry.Value.Name.empty()) continue;
      const int64_t integer = entry.Value.Integer;
      Put(sectionId, entry.Value.Name, entry.Value.IsInteger ? &integer : nullptr,
          entry.Value.IsInteger ? nullptr : &entry.Value.Text);
    }
    transaction.Commit();
  });
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
  const bool deleted = sqlite3_changes(FDb) > 0;
  auto values = FCache.find(LowerAsciiText(NormalizeSection(section)));
  if (values != FCache.end()) values->second.erase(LowerAsciiText(name));
  return deleted;
}

void TSetting::DeleteEverything() {
  TStatement values(FDb,
                    "DELETE FROM setting_values WHERE section_id IN "
                    "(SELECT id FROM sections WHERE root_key = ?)");
  values.Bind(1, FRootFold).Run();
  TStatement sections(FDb, "DELETE FROM sections WHERE root_key = ?");
  sections.Bind(1, FRootFold).Run();
}

void TSetting::Clear() {
  TTransaction transaction(FDb, true);
  DeleteEverything();
  transaction.Commit();
  FCache.clear();
  FUnstored.clear();
}

}  // namespace tw
