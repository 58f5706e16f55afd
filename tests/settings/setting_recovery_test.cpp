#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "settings/SettingTestUtil.h"
#include "settings/SettingU.h"
#include "support/HeldStore.h"

namespace tw {
namespace {

namespace fs = std::filesystem;
using SettingRecoveryTest = test::SettingsFixture;

// Files in the test folder whose names start with prefix.
std::vector<std::string> FilesStartingWith(const std::string& folder, const std::string& prefix) {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(prefix, 0) == 0) found.push_back(entry.path().string());
  }
  return found;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(SettingRecoveryTest, FileThatIsNotADatabaseIsKeptAsideAndAFreshStoreWorks) {
  const std::string garbage(4096, 'x');
  test::WriteTextFile(DatabasePath(), garbage);
  auto store = OpenStore();

  ASSERT_EQ(FWarnings.Messages.size(), 1u);
  EXPECT_NE(FWarnings.Messages[0].find("damaged"), std::string::npos) << FWarnings.Messages[0];
  const auto aside = FilesStartingWith(FFolder.Path(), "settings.sqlite3.damaged-");
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(ReadFileBytes(aside[0]), garbage);

  store->WriteInteger("MaxHistory", 4, "Main");
  EXPECT_EQ(store->ReadInteger("MaxHistory", 0, "Main"), 4);
  store.reset();
  auto again = OpenStore();
  EXPECT_EQ(again->ReadInteger("MaxHistory", 0, "Main"), 4);
  EXPECT_EQ(FWarnings.Messages.size(), 1u);
}

TEST_F(SettingRecoveryTest, DatabaseWithDamagedPagesIsMovedAside) {
  {
    auto store = OpenStore();
    std::vector<std::string> many;
    for (int i = 0; i < 2000; ++i) many.push_back("picture number " + std::to_string(i) + ".twf");
    store->WriteList("File", many, "Catalog");
  }
  // Keep the header (so SQLite recognises the file) and scribble over the
  // pages after it.
  std::string bytes = ReadFileBytes(DatabasePath());
  ASSERT_GT(bytes.size(), 8192u);
  for (size_t i = 4096; i < bytes.size(); i += 7) bytes[i] = char(0xA5 ^ (i & 0xFF));
  test::WriteTextFile(DatabasePath(), bytes);

  auto store = OpenStore();
  ASSERT_EQ(FWarnings.Messages.size(), 1u);
  const auto aside = FilesStartingWith(FFolder.Path(), "settings.sqlite3.damaged-");
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(ReadFileBytes(aside[0]), bytes);
  std::vector<std::string> list{"x"};
  store->ReadList("File", list, "Catalog");
  EXPECT_TRUE(list.empty());
  store->WriteString("CurrentPicture", "cat.twf", "Main");
  EXPECT_EQ(store->ReadString("CurrentPicture", "", "Main"), "cat.twf");
}

TEST_F(SettingRecoveryTest, ForeignDatabaseIsNotWrittenInto) {
  {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(DatabasePath().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE sections(x); INSERT INTO sections VALUES(1);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
  }
  auto store = OpenStore();
  EXPECT_EQ(FWarnings.Messages.size(), 1u);
  EXPECT_EQ(FilesStartingWith(FFolder.Path(), "settings.sqlite3.damaged-").size(), 1u);
  store->WriteBool("Hints", false, "Main");
  EXPECT_FALSE(store->ReadBool("Hints", true, "Main"));
}

TEST_F(SettingRecoveryTest, UnusableFolderFallsBackToASessionStore) {
  // A plain file where the database's folder should be: nothing can be
  // created there, and nothing is moved or removed.
  test::WriteTextFile(FFolder.File("blocker"), "keep me");
  TSetting store(FFolder.File("blocker/settings.sqlite3"), ProductKey, DefaultsPath());
  ASSERT_EQ(FWarnings.Messages.size(), 1u);
  EXPECT_NE(FWarnings.Messages[0].find("will not be kept"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(FFolder.File("blocker")), "keep me");
  store.WriteInteger("SaveMode", 2, "Main");
  EXPECT_EQ(store.ReadInteger("SaveMode", 0, "Main"), 2);
}

TEST_F(SettingRecoveryTest, MissingFoldersAreCreated) {
  TSetting store(FFolder.File("a/b/c/settings.sqlite3"), ProductKey, DefaultsPath());
  store.WriteInteger("SaveSize", 2, "Main");
  EXPECT_TRUE(fs::exists(FFolder.File("a/b/c/settings.sqlite3")));
  EXPECT_TRUE(FWarnings.Messages.empty());
}

TEST_F(SettingRecoveryTest, TwoStoresOnOneFileWriteInTurnAndSeeEachOtherFreshOrWhenOpened) {
  auto first = OpenStore();
  auto second = OpenStore();
  for (int i = 0; i < 50; ++i) {
    first->WriteInteger("Counter", i, "Main");
    EXPECT_EQ(second->ReadFreshString("Counter", "-1", "Main"), std::to_string(i));
    // A fresh read brings the value into the second store's memory.
    EXPECT_EQ(second->ReadInteger("Counter", -1, "Main"), i);
    second->WriteList("File", {"a" + std::to_string(i), "b"}, "Catalog");
    std::vector<std::string> list;
    OpenStore()->ReadList("File", list, "Catalog");
    EXPECT_EQ(list, (std::vector<std::string>{"a" + std::to_string(i), "b"}));
  }
  EXPECT_TRUE(FWarnings.Messages.empty());
}

// Another process holding the file while the program runs costs nothing
// for what was read at start; the parent's values read fresh fail loudly
// instead of answering from memory, and a write fails but stays in effect
// for the run until it can be stored.
TEST_F(SettingRecoveryTest, AStoreHeldByAnotherProcessAfterStartIsReadFromMemory) {
  TSetting::SetBusyTimeout(20);
  auto store = OpenStore();
  store->WriteInteger("SaveMode", 2, "Main");
  store->WriteList("File", {"a.twf", "b.twf"}, "Catalog");
  {
    test::THeldStore held(DatabasePath(), "BEGIN EXCLUSIVE");
    EXPECT_EQ(store->ReadInteger("SaveMode", 0, "Main"), 2);
    std::vector<std::string> list;
    store->ReadList("File", list, "Catalog");
    EXPECT_EQ(list, (std::vector<std::string>{"a.twf", "b.twf"}));
    EXPECT_TRUE(store->SectionExists("Catalog"));
    EXPECT_THROW(store->ReadFreshBool("PasswordSave", false, "Main"), EError);
    EXPECT_THROW(store->WriteInteger("SaveSize", 3, "Main"), EError);
    EXPECT_EQ(store->ReadInteger("SaveSize", 0, "Main"), 3);
    EXPECT_EQ(store->UnstoredSettings(), std::vector<std::string>{"Main\\SaveSize"});
    // Later writes join them without waiting for the file again.
    EXPECT_THROW(store->WriteInteger("SfxVolume", -300, "Main"), EError);
    EXPECT_EQ(store->UnstoredSettings(),
              (std::vector<std::string>{"Main\\SaveSize", "Main\\SfxVolume"}));
    EXPECT_EQ(store->StoreUnstored(),
              (std::vector<std::string>{"Main\\SaveSize", "Main\\SfxVolume"}));
  }
  EXPECT_EQ(store->StoreUnstored(), std::vector<std::string>{});
  EXPECT_EQ(OpenStore()->ReadInteger("SaveSize", 0, "Main"), 3);
  EXPECT_EQ(OpenStore()->ReadInteger("SfxVolume", 0, "Main"), -300);
  store->WriteInteger("SaveSize", 4, "Main");
  EXPECT_EQ(OpenStore()->ReadInteger("SaveSize", 0, "Main"), 4) << "writes go through again";
  TSetting::SetBusyTimeout(5000);
}

TEST_F(SettingRecoveryTest, TwoStoresWritingAtTheSameTimeWaitForEachOther) {
  // Each thread has its own connection, like two running copies; the lock
  // wait, not luck, keeps both from failing.
  auto writer = [this](const std::string& name, std::vector<std::string>& errors) {
    try {
      TSetting store(DatabasePath(), ProductKey, DefaultsPath());
      for (int i = 0; i < 40; ++i) {
        store.WriteInteger(name, i, "Main");
        store.WriteList(name, {name, std::to_string(i)}, "Lists");
      }
    } catch (const std::exception& error) {
      errors.push_back(error.what());
    }
  };
  std::vector<std::string> errorsA, errorsB;
  std::thread a(writer, "A", std::ref(errorsA));
  std::thread b(writer, "B", std::ref(errorsB));
  a.join();
  b.join();
  EXPECT_EQ(errorsA, std::vector<std::string>{});
  EXPECT_EQ(errorsB, std::vector<std::string>{});
  EXPECT_EQ(FWarnings.Messages, std::vector<std::string>{});
  auto store = OpenStore();
  EXPECT_EQ(store->ReadInteger("A", -1, "Main"), 39);
  EXPECT_EQ(store->ReadInteger("B", -1, "Main"), 39);
  std::vector<std::string> list;
  store->ReadList("B", list, "Lists");
  EXPECT_EQ(list, (std::vector<std::string>{"B", "39"}));
}

}  // namespace
}  // namespace tw
