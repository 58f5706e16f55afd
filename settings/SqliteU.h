// Thin ownership wrappers over the sqlite3 C API for the settings store: a
// prepared statement that is finalized on every path out, and a transaction
// that rolls back unless committed. Failures throw EError with SQLite's own
// message so the caller can add which setting it was about.
#pragma once

#include <cstdint>
#include <string>

#include <sqlite3.h>

#include "base/ErrorsU.h"

namespace tw {

// Thrown for a failed SQLite call; Code is SQLite's extended result code.
class ESqliteError : public EError {
 public:
  ESqliteError(const std::string& message, int code) : EError(message), Code(code) {}
  int Code;
};

[[noreturn]] void ThrowSqlite(sqlite3* db, int code, const std::string& what);

class TStatement {
 public:
  TStatement(sqlite3* db, const char* sql);
  ~TStatement();
  TStatement(const TStatement&) = delete;
  TStatement& operator=(const TStatement&) = delete;

  // Parameters are numbered from 1 as in SQL.
  TStatement& Bind(int index, const std::string& text);
  TStatement& Bind(int index, int64_t value);
  // True while a row is available; false when done.
  bool Step();
  // Runs a statement that returns no rows.
  void Run();

  int ColumnType(int column) const { return sqlite3_column_type(FStmt, column); }
  int64_t ColumnInteger(int column) const { return sqlite3_column_int64(FStmt, column); }
  std::string ColumnText(int column) const;

 private:
  sqlite3* FDb;
  sqlite3_stmt* FStmt = nullptr;
};

// BEGIN IMMEDIATE for writers (the write lock is taken at once, waiting out
// the busy time-out, so two writers never deadlock half-way), BEGIN DEFERRED
// for readers that want one consistent view of several values.
class TTransaction {
 public:
  TTransaction(sqlite3* db, bool write);
  ~TTransaction();
  TTransaction(const TTransaction&) = delete;
  TTransaction& operator=(const TTransaction&) = delete;
  void Commit();

 private:
  sqlite3* FDb;
  bool FOpen = false;
};

// Runs SQL without results; throws on failure.
void ExecSql(sqlite3* db, const char* sql);

}  // namespace tw
