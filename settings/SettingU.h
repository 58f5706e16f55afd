// The settings store: sections of typed values (32-bit integers and strings)
// kept in one SQLite database, with the first-run import of the shipped
// defaults file. Every call goes to the database (no cache), so two running
// copies of the program see each other's writes.
//
// Section paths and value names compare without regard to case. The
// comparison folds ASCII letters only (the database keeps a lower-case key
// next to the spelling as written); every name the program uses is ASCII.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "painter/ErrorsU.h"

struct sqlite3;

namespace tw {

// "Tintwell\Tintwell\1": company folder, product, major version.
extern const char* const ProductKey;

class TSetting {
 public:
  // Opens or creates the database; the store's root is "\Software\" +
  // productKey; ImportDefaults reads defaultsFile. A damaged database is
  // moved aside (kept), reported once through ShowWarning
  // (pictures/QUtilU.h) and a fresh one is started. When no file can be
  // used at all (an unwritable folder, a lock held past the busy time-out),
  // this run keeps its settings in memory and says so once; the file on
  // disk is left as it was.
  TSetting(const std::string& databasePath, const std::string& productKey,
           const std::string& defaultsFile);
  ~TSetting();
  TSetting(const TSetting&) = delete;
  TSetting& operator=(const TSetting&) = delete;

  // $XDG_CONFIG_HOME (or ~/.config) + "/Tintwell/Tintwell/1/settings.sqlite3"
  static std::string DefaultDatabasePath();
  // The company folder above it, $XDG_CONFIG_HOME + "/Tintwell": a store at
  // the default path has it and the folders below it made private (0700).
  // A store anywhere gets mode 0600, as do the files kept beside it.
  static std::string SettingsFolder();

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

  // For the parent's tool:
  std::vector<std::string> SectionNames();            // every key path below the root, sorted
  struct TValue { std::string Name; bool IsInteger; int32_t Integer; std::string Text; };
  std::vector<TValue> Values(const std::string& section);   // a section's values, sorted by name
  bool DeleteValue(const std::string& name, const std::string& section);
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

  void Open();
  TOpenResult TryOpen(const std::string& path, std::string& problem);
  bool MoveAside(std::string& asidePath);
  void CloseDatabase();

  // The section's row id, or -1 when it does not exist; create makes it and
  // every section above it.
  int64_t SectionId(const std::string& section, bool create);
  TStored Lookup(const std::string& name, const std::string& section);
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
};

// Reading a string-typed value as an integer or Boolean throws this.
class EInvalidDataType : public EError { using EError::EError; };

}  // namespace tw
