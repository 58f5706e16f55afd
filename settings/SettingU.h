// The settings store: sections of typed values (32-bit integers and strings)
// kept in one SQLite database, with the first-run import of the shipped
// defaults file.
//
// The values are read once when the store opens and kept in memory: another
// process holding the file (a second copy writing, a backup, the parent's
// tool) then costs one wait at start, not one per read. Writes go to the
// file at once and into memory. Values that must be fresh (the parent's
// password and locks) are read from the file with the Fresh calls; another
// copy's other writes are seen at the next start.
//
// Section paths and value names compare without regard to case. The
// comparison folds ASCII letters only (the database keeps a lower-case key
// next to the spelling as written); every name the program uses is ASCII.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/ErrorsU.h"

struct sqlite3;

namespace tw {

class TStatement;

// "Tintwell\Tintwell\1": company folder, product, major version.
extern const char* const ProductKey;

// What a store does when its file cannot be used at all.
enum class TStoreFallback {
  Memory,  // the program: this run keeps its settings in memory
  Refuse,  // the parent's tool: the constructor throws EError
};

// What happened to the file when the store opened, for the program to show
// once its window is up (the store reports it through ShowWarning at once
// too, which reaches only standard error that early).
struct TStoreNotice {
  // The damaged file was moved aside to this path; empty when it was not.
  std::string AsidePath;
  // The file could not be used and the store runs in memory.
  bool InMemory = false;
  // Why, in SQLite's or the system's words.
  std::string Problem;
};

class TSetting {
 public:
  // Opens or creates the database; the store's root is "\Software\" +
  // productKey; ImportDefaults reads defaultsFile. A damaged database is
  // moved aside (kept), reported once through ShowWarning
  // (pictures/QUtilU.h) and a fresh one is started. A file that can be
  // read but not written (a read-only file or folder, another copy holding
  // the write lock) is used as it is: reads work and each write throws.
  // When the file cannot even be read (a foreign database, a lock held past
  // the busy time-out), fallback decides: this run keeps its settings in
  // memory and says so once, the file on disk left as it was, or EError.
  TSetting(const std::string& databasePath, const std::string& productKey,
           const std::string& defaultsFile, TStoreFallback fallback = TStoreFallback::Memory);
  ~TSetting();
  TSetting(const TSetting&) = delete;
  TSetting& operator=(const TSetting&) = delete;

  // $XDG_CONFIG_HOME (or ~/.config) + "/Tintwell/Tintwell/1/settings.sqlite3"
  static std::string DefaultDatabasePath();
  // The company folder above it, $XDG_CONFIG_HOME + "/Tintwell": a store at
  // the default path has it and the folders below it made private (0700).
  // A store anywhere gets mode 0600, as do the files kept beside it.
  static std::string SettingsFolder();

  // How long a call waits for another process's lock before it fails; for
  // tests, which must not wait five seconds for each case.
  static void SetBusyTimeout(int milliseconds);
  static int BusyTimeout();

  bool InMemory() const { return FNotice.InMemory; }
  const TStoreNotice& Notice() const { return FNotice; }

  bool ReadBool(const std::string& name, bool defaultValue, const std::string& section);
  int32_t ReadInteger(const std::string& name, int32_t defaultValue, const std::string& section);
  std::string ReadString(const std::string& name, const std::string& defaultValue, const std::string& section);
  void ReadList(const std::string& name, std::vector<std::string>& list, const std::string& section);
  void ReadNameValueList(const std::string& name, std::vector<std::string>& list, const std::string& section);
  void WriteBool(const std::string& name, bool value, const std::string& section);
  void WriteInteger(const std::string& name, int32_t value, const std::string& section);
  void WriteString(const std::string& name, const std::string& value, const std::string& section);
  void WriteList(const std::string& name, const std::vector<std::string>& list, const std::string& section);
  bool SectionExists(const std::string& section);
  void ImportDefaults(const std::string& section);

  // The value as the file holds it now, for the parent's password and
  // locks. In memory, the file is opened afresh for each call (it may have
  // become readable since); a file that is not there, or still empty, holds
  // nothing the parent set, and the value in memory counts. Throws EError
  // when the file cannot be read.
  bool ReadFreshBool(const std::string& name, bool defaultValue, const std::string& section);
  std::string ReadFreshString(const std::string& name, const std::string& defaultValue,
                              const std::string& section);

  // A write that fails throws, and its value stays in effect in memory for
  // this run; these name such settings ("Main\MusicVolume") and try them
  // again. StoreUnstored returns those that still fail. After a write found
  // the file held by another process, later writes try it without waiting,
  // until one goes through.
  std::vector<std::string> UnstoredSettings() const;
  std::vector<std::string> StoreUnstored();

  // For the parent's tool:
  std::vector<std::string> SectionNames();            // every key path below the root, sorted
  struct TValue { std::string Name; bool IsInteger; int32_t Integer; std::string Text; };
  std::vector<TValue> Values(const std::string& section);   // a section's values, sorted by name
  bool DeleteValue(const std::string& name, const std::string& section);
  // One value of a section, for ImportEntries; an entry whose value has no
  // name only makes its section.
  struct TEntry {
    std::string Section;
    TValue Value;
  };
  // The sections of iniFile at or below section with their values, typed
  // by the defaults file's rules: true and false are Booleans (1, 0), a
  // decimal or $/0x hexadecimal number an integer, anything else text.
  static std::vector<TEntry> ReadIniSections(const std::string& iniFile, const std::string& section);
  // Writes entries in one transaction, after removing every section and
  // value first when replace is set: the file takes all of it or nothing.
  // The values are in effect in memory either way; throws EError (and
  // retries with StoreUnstored) when the file refuses them.
  void ImportEntries(const std::vector<TEntry>& entries, bool replace = false);
  void Clear();                                        // removes every section and value
  // Rewrites the file so that no free space in it keeps an old value (one
  // written before secure deletion was on). Throws ESqliteError.
  void Compact();

  // The database file in use and the store's root key.
  const std::string& DatabasePath() const { return FDatabasePath; }
  const std::string& RootKey() const { return FRootKey; }
  const std::string& DefaultsFile() const { return FDefaultsFile; }

 private:
  enum TOpenResult { orOk, orDamaged, orUnavailable };
  struct TStored {
    bool Found = false;
    bool IsInteger = false;
    int64_t Integer = 0;
    std::string Text;
  };
  // Folded section path -> folded value name -> value; a section with no
  // values has an empty map.
  using TCache = std::map<std::string, std::map<std::string, TStored>>;

  void Open(TStoreFallback fallback);
  TOpenResult TryOpen(const std::string& path, std::string& problem);
  void LoadCache();
  TStored Cached(const std::string& name, const std::string& section) const;
  void CacheValue(const std::string& section, const std::string& name, const TStored& value);
  TStored LookupFresh(const std::string& name, const std::string& section);
  // Runs write; on failure keeps retry for StoreUnstored under key and
  // throws EError with what + SQLite's words.
  void Write(const std::string& key, const std::string& what, const std::function<void()>& write);
  bool MoveAside(std::string& asidePath);
  void CloseDatabase();
  void DeleteEverything();

  // The section's row id, or -1 when it does not exist; create makes it and
  // every section above it.
  int64_t SectionId(const std::string& section, bool create);
  // The value in a result column of a row that has one.
  static TStored FromColumn(const TStatement& statement, int column);
  bool BoolOf(const TStored& stored, bool defaultValue, const std::string& name,
              const std::string& section) const;
  static std::string TextOf(const TStored& stored, const std::string& defaultValue);
  static TStored Lookup(sqlite3* db, const std::string& rootFold, const std::string& name,
                        const std::string& section);
  int32_t ToInteger(const TStored& stored, const std::string& name, const std::string& section) const;
  void Put(int64_t sectionId, const std::string& name, const int64_t* integer, const std::string* text);
  void WriteValue(const std::string& name, const int64_t* integer, const std::string* text,
                  const std::string& section);
  int32_t ListCount(const std::string& name, const std::string& section);

  std::string FDatabasePath;
  std::string FRootKey;
  // The root path folded for comparison; every section row carries it, so
  // stores of other product keys in the same file stay apart.
  std::string FRootFold;
  std::string FDefaultsFile;
  sqlite3* FDb = nullptr;
  TStoreNotice FNotice;
  TCache FCache;
  // Retries of the writes that failed, by the setting's display key.
  std::map<std::string, std::function<void()>> FUnstored;
  bool FHeldByOther = false;
};

// Reading a string-typed value as an integer or Boolean throws this.
class EInvalidDataType : public EError { using EError::EError; };

}  // namespace tw
