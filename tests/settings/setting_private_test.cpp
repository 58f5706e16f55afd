// The settings stay private to their user: the folders of the store at its
// default path are created or tightened to 0700 (the folders above them left
// alone), the store and the files kept beside it get 0600, other files are
// not touched, and a value replaced leaves no trace in the file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "settings/SettingTestUtil.h"
#include "settings/SettingU.h"
#include "support/EnvVar.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

class SettingPrivateTest : public test::SettingsFixture {
 protected:
  static unsigned Mode(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
  }
  static void MakeOpen(const std::string& path, unsigned mode) {
    fs::create_directories(path);
    chmod(path.c_str(), mode);
  }
  static void WriteFile(const std::string& path, const std::string& text, unsigned mode) {
    test::WriteTextFile(path, text);
    chmod(path.c_str(), mode);
  }
  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::string Config() const { return FFolder.File("config"); }
};

TEST_F(SettingPrivateTest, ANewStoreAndItsFoldersArePrivate) {
  const test::TEnvVar xdg("XDG_CONFIG_HOME", Config());
  {
    TSetting store(TSetting::DefaultDatabasePath(), ProductKey, DefaultsPath());
    store.WriteString("Language", "de_de", "Main");
  }
  for (const char* folder : {"", "/Tintwell", "/Tintwell/Tintwell", "/Tintwell/Tintwell/1"})
    EXPECT_EQ(Mode(Config() + folder), 0700u) << folder;
  EXPECT_EQ(Mode(TSetting::DefaultDatabasePath()), 0600u);
  EXPECT_EQ(TSetting::SettingsFolder(), Config() + "/Tintwell");
}

TEST_F(SettingPrivateTest, AnExistingStoreIsTightenedAtStart) {
  const test::TEnvVar xdg("XDG_CONFIG_HOME", Config());
  const std::string folder = Config() + "/Tintwell/Tintwell/1";
  {
    TSetting store(TSetting::DefaultDatabasePath(), ProductKey, DefaultsPath());
    store.WriteInteger("MaxHistory", 4, "Main");
  }
  // As an older version left them: readable by everyone.
  for (const char* level : {"", "/Tintwell", "/Tintwell/Tintwell", "/Tintwell/Tintwell/1"})
    chmod((Config() + level).c_str(), 0755);
  chmod(TSetting::DefaultDatabasePath().c_str(), 0644);
  WriteFile(folder + "/settings.sqlite3.damaged-20250101-101010", "old", 0644);
  WriteFile(folder + "/notes.txt", "someone's", 0644);

  TSetting store(TSetting::DefaultDatabasePath(), ProductKey, DefaultsPath());
  EXPECT_EQ(store.ReadInteger("MaxHistory", 0, "Main"), 4);
  EXPECT_EQ(Mode(TSetting::DefaultDatabasePath()), 0600u);
  EXPECT_EQ(Mode(folder + "/settings.sqlite3.damaged-20250101-101010"), 0600u);
  EXPECT_EQ(Mode(folder + "/notes.txt"), 0644u);
  for (const char* level : {"/Tintwell", "/Tintwell/Tintwell", "/Tintwell/Tintwell/1"})
    EXPECT_EQ(Mode(Config() + level), 0700u) << level;
  // The configuration folder of every program is not ours to change.
  EXPECT_EQ(Mode(Config()), 0755u);
}

TEST_F(SettingPrivateTest, AStoreElsewhereIsPrivateButLeavesItsFolderAsItWas) {
  const std::string shared = FFolder.File("shared");
  MakeOpen(shared, 0755);
  const std::string nested = FFolder.File("shared/new/deeper");
  {
    TSetting store(shared + "/store.sqlite3", ProductKey, DefaultsPath());
    TSetting deeper(nested + "/store.sqlite3", ProductKey, DefaultsPath());
    store.WriteInteger("A", 1, "Main");
  }
  EXPECT_EQ(Mode(shared), 0755u);
  EXPECT_EQ(Mode(shared + "/store.sqlite3"), 0600u);
  // Folders it has to create are created private.
  EXPECT_EQ(Mode(FFolder.File("shared/new")), 0700u);
  EXPECT_EQ(Mode(nested), 0700u);
  EXPECT_EQ(Mode(nested + "/store.sqlite3"), 0600u);
}

TEST_F(SettingPrivateTest, ADamagedStoreKeptAsideStaysPrivate) {
  WriteFile(DatabasePath(), std::string(4096, 'x'), 0644);
  auto store = OpenStore();
  ASSERT_EQ(FWarnings.Messages.size(), 1u);
  int aside = 0;
  for (const auto& entry : fs::directory_iterator(FFolder.Path())) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("settings.sqlite3", 0) != 0) continue;
    EXPECT_EQ(Mode(entry.path().string()), 0600u) << name;
    aside += name.find(".damaged-") != std::string::npos;
  }
  EXPECT_EQ(aside, 1);
}

TEST_F(SettingPrivateTest, AReplacedOrDeletedValueLeavesNoTraceInTheFile) {
  {
    auto store = OpenStore();
    store->WriteString("Note", "FirstWrittenText", "Main");
    store->WriteString("Gone", "DeletedValueText", "Main");
    store->WriteString("Note", "x", "Main");
    store->DeleteValue("Gone", "Main");
  }
  const std::string bytes = ReadBytes(DatabasePath());
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.find("FirstWrittenText"), std::string::npos);
  EXPECT_EQ(bytes.find("DeletedValueText"), std::string::npos);
}

}  // namespace
}  // namespace tw
