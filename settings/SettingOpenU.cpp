// Opening the settings database: the durability and locking settings, the
// health check, and moving a damaged database aside so the program can start
// on a fresh one without ever destroying the old file.
//
// Journal mode: the classic rollback journal (DELETE) with synchronous=FULL.
// A write is on disk when its call returns, even across a power cut, which
// WAL with synchronous=NORMAL does not promise. Settings are written a few
// times per session, so WAL's faster commits buy nothing, while the rollback
// journal keeps the store a single file (no -wal/-shm beside it) and needs
// no shared memory, so it also works on network home folders. A busy
// time-out makes a second running copy wait for the lock instead of failing.
//
// The store is private to its user (PrivateFilesU), and secure_delete has
// SQLite overwrite what it frees, so a value replaced (a clear-text password
// by its hash) leaves no trace in the file.
#include <sqlite3.h>

#include <ctime>
#include <filesystem>
#include <system_error>

#include "pictures/QUtilU.h"
#include "settings/PrivateFilesU.h"
#include "settings/SettingU.h"
#include "settings/SqliteU.h"

namespace tw {

namespace {

int GBusyTimeoutMs = 5000;

const char* const SchemaSql =
    "CREATE TABLE IF NOT EXISTS sections("
    " id INTEGER PRIMARY KEY,"
    " root_key TEXT NOT NULL,"
    " path TEXT NOT NULL,"
    " path_key TEXT NOT NULL,"
    " UNIQUE(root_key, path_key));"
    "CREATE TABLE IF NOT EXISTS setting_values("
    " section_id INTEGER NOT NULL REFERENCES sections(id) ON DELETE CASCADE,"
    " name TEXT NOT NULL,"
    " name_key TEXT NOT NULL,"
    " value NOT NULL CHECK(typeof(value) IN ('integer', 'text')),"
    " PRIMARY KEY(section_id, name_key)) WITHOUT ROWID;";

// Results that say the file itself is unusable, as opposed to a passing
// condition (locked by another copy, out of memory, disk full) that must
// never cost the user their settings.
bool IsDamage(int code) {
  const int primary = code & 0xFF;
  return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT || primary == SQLITE_ERROR ||
         primary == SQLITE_CANTOPEN;
}

std::string TimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

}  // namespace

TSetting::TOpenResult TSetting::TryOpen(const std::string& path, std::string& problem) {
  CloseDatabase();
  int rc = sqlite3_open_v2(path.c_str(), &FDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    problem = FDb ? sqlite3_errmsg(FDb) : sqlite3_errstr(rc);
    CloseDatabase();
    std::error_code error;
    // A file that is there but cannot be opened is damaged for our purposes;
    // a file that cannot be created is a problem of the folder.
    const bool present = std::filesystem::exists(path, error);
    return present && IsDamage(rc) ? orDamaged : orUnavailable;
  }
  sqlite3_extended_result_codes(FDb, 1);
  sqlite3_busy_timeout(FDb, GBusyTimeoutMs);
  try {
    // The first statement reads the header: "file is not a database" shows here.
    ExecSql(FDb, "PRAGMA journal_mode=DELETE");
    ExecSql(FDb, "PRAGMA synchronous=FULL");
    ExecSql(FDb, "PRAGMA secure_delete=ON");
    ExecSql(FDb, "PRAGMA foreign_keys=ON");
    std::string verdict = "ok";
    {
      // Finalized before the write lock is asked for: a statement left open
      // keeps a read lock, and a reader asking to write while another copy
      // waits to commit is refused at once instead of waiting.
      TStatement check(FDb, "PRAGMA quick_check");
      if (check.Step()) verdict = check.ColumnText(0);
    }
    if (verdict != "ok") {
      problem = "integrity check failed: " + verdict;
      CloseDatabase();
      return orDamaged;
    }
    bool schema = false;
    {
      TStatement tables(FDb,
                        "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                        "name IN ('sections', 'setting_values')");
      schema = tables.Step() && tables.ColumnInteger(0) == 2;
    }
    // Only a new file needs the write lock here: a store that another copy
    // holds for writing, or that is read-only, still opens for reading.
    if (!schema) {
      TTransaction transaction(FDb, true);
      ExecSql(FDb, SchemaSql);
      transaction.Commit();
    }
    // A database of some other program has tables of these names with other
    // columns; it is not ours to write into.
    TStatement sections(FDb, "SELECT id, root_key, path, path_key FROM sections LIMIT 0");
    TStatement values(FDb, "SELECT section_id, name, name_key, value FROM setting_values LIMIT 0");
    LoadCache();
  } catch (const ESqliteError& error) {
    problem = error.what();
    CloseDatabase();
    return IsDamage(error.Code) ? orDamaged : orUnavailable;
  }
  return orOk;
}

void TSetting::SetBusyTimeout(int milliseconds) { GBusyTimeoutMs = milliseconds; }

int TSetting::BusyTimeout() { return GBusyTimeoutMs; }

void TSetting::Compact() {
  if (FDb) ExecSql(FDb, "VACUUM");
}

void TSetting::CloseDatabase() {
  if (FDb) sqlite3_close_v2(FDb);
  FDb = nullptr;
}

bool TSetting::MoveAside(std::string& asidePath) {
  namespace fs = std::filesystem;
  const std::string base = FDatabasePath + ".damaged-" + TimeStamp();
  std::error_code error;
  asidePath = base;
  for (int n = 2; fs::exists(asidePath, error) || fs::exists(asidePath + "-journal", error); ++n)
    asidePath = base + "-" + std::to_string(n);
  fs::rename(FDatabasePath, asidePath, error);
  if (error) return false;
  // A journal left beside the old file belongs to it: were it left in place,
  // SQLite would play it back into the fresh database.
  for (const char* companion : {"-journal", "-wal", "-shm"}) {
    std::error_code ignored;
    if (fs::exists(FDatabasePath + companion, ignored))
      fs::rename(FDatabasePath + companion, asidePath + companion, ignored);
  }
  return true;
}

void TSetting::Open(TStoreFallback fallback) {
  namespace fs = std::filesystem;
  const fs::path parent = fs::path(FDatabasePath).parent_path();
  // The folders of the program's own store are ours to keep private; a
  // store elsewhere may sit in a folder others share.
  const bool ownStore = FDatabasePath == DefaultDatabasePath();
  if (!parent.empty()) MakePrivateFolder(parent.string(), ownStore ? SettingsFolder() : "");
  TightenPrivateFiles(parent.empty() ? "." : parent.string(),
                      fs::path(FDatabasePath).filename().string());
  CreatePrivateFile(FDatabasePath);

  std::string problem;
  TOpenResult result = TryOpen(FDatabasePath, problem);
  if (result == orOk) return;

  std::string message;
  if (result == orDamaged) {
    std::string asidePath;
    if (MoveAside(asidePath)) {
      message = "The settings file \"" + FDatabasePath + "\" was damaged (" + problem +
                ") and has been kept as \"" + asidePath +
                "\". The program starts with its default settings.";
      FNotice.AsidePath = asidePath;
      FNotice.Problem = problem;
      CreatePrivateFile(FDatabasePath);
      result = TryOpen(FDatabasePath, problem);
      if (result == orOk) {
        ShowWarning(message);
        return;
      }
    }
  }
  if (fallback == TStoreFallback::Refuse)
    throw EError("The settings file \"" + FDatabasePath + "\" cannot be read (" + problem + ").");
  // Nothing usable on disk: this run keeps its settings in memory only, so
  // the program still starts and the file on disk stays as it was.
  if (!message.empty()) message += " ";
  message += "The settings file \"" + FDatabasePath + "\" cannot be used (" + problem +
             "); settings changed in this session will not be kept.";
  FNotice.InMemory = true;
  FNotice.Problem = problem;
  if (TryOpen(":memory:", problem) != orOk)
    throw EError("The settings cannot be kept even in memory: " + problem);
  ShowWarning(message);
}

}  // namespace tw
