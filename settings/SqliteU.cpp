#include "settings/SqliteU.h"

namespace tw {

void ThrowSqlite(sqlite3* db, int code, const std::string& what) {
  const char* detail = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
  throw ESqliteError(what + ": " + (detail ? detail : "unknown error"), code);
}

TStatement::TStatement(sqlite3* db, const char* sql) : FDb(db) {
  const int rc = sqlite3_prepare_v2(db, sql, -1, &FStmt, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(FStmt);
    FStmt = nullptr;
    ThrowSqlite(db, rc, "Settings database query failed");
  }
}

TStatement::~TStatement() { sqlite3_finalize(FStmt); }

TStatement& TStatement::Bind(int index, const std::string& text) {
  const int rc = sqlite3_bind_text64(FStmt, index, text.data(), text.size(), SQLITE_TRANSIENT,
                                     SQLITE_UTF8);
  if (rc != SQLITE_OK) ThrowSqlite(FDb, rc, "Settings database query failed");
  return *this;
}

TStatement& TStatement::Bind(int index, int64_t value) {
  const int rc = sqlite3_bind_int64(FStmt, index, value);
  if (rc != SQLITE_OK) ThrowSqlite(FDb, rc, "Settings database query failed");
  return *this;
}

bool TStatement::Step() {
  const int rc = sqlite3_step(FStmt);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  ThrowSqlite(FDb, rc, "Settings database query failed");
}

void TStatement::Run() {
  while (Step()) {
  }
}

std::string TStatement::ColumnText(int column) const {
  const unsigned char* text = sqlite3_column_text(FStmt, column);
  const int size = sqlite3_column_bytes(FStmt, column);
  if (!text || size <= 0) return std::string();
  return std::string(reinterpret_cast<const char*>(text), size_t(size));
}

TTransaction::TTransaction(sqlite3* db, bool write) : FDb(db) {
  ExecSql(db, write ? "BEGIN IMMEDIATE" : "BEGIN DEFERRED");
  FOpen = true;
}

TTransaction::~TTransaction() {
  if (FOpen) sqlite3_exec(FDb, "ROLLBACK", nullptr, nullptr, nullptr);
}

void TTransaction::Commit() {
  ExecSql(FDb, "COMMIT");
  FOpen = false;
}

void ExecSql(sqlite3* db, const char* sql) {
  char* error = nullptr;
  const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
  if (rc != SQLITE_OK) {
    const std::string detail = error ? error : sqlite3_errstr(rc);
    sqlite3_free(error);
    throw ESqliteError("Settings database query failed: " + detail, rc);
  }
}

}  // namespace tw
