// Another process's connection to a settings store, holding a lock until it
// goes: "BEGIN IMMEDIATE" lets others read, "BEGIN EXCLUSIVE" keeps
// everyone out, as a second copy of the program or a backup would.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

namespace tw::test {

class THeldStore {
 public:
  THeldStore(const std::string& Path, const char* Begin) {
    EXPECT_EQ(sqlite3_open(Path.c_str(), &FDb), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(FDb, Begin, nullptr, nullptr, nullptr), SQLITE_OK);
    // An exclusive lock is taken at the first read.
    EXPECT_EQ(sqlite3_exec(FDb, "SELECT count(*) FROM sections", nullptr, nullptr, nullptr),
              SQLITE_OK);
  }
  ~THeldStore() {
    sqlite3_exec(FDb, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(FDb);
  }
  THeldStore(const THeldStore&) = delete;
  THeldStore& operator=(const THeldStore&) = delete;

 private:
  sqlite3* FDb = nullptr;
};

}  // namespace tw::test
