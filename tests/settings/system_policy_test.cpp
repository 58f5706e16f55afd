// The system policy: which folders are searched, which files are trusted
// (root's, writable by root alone), how its values read, how it overrides
// the user's store for the locks and the password (also when the store is
// deleted), and how the tool's writer leaves the file.
#include "settings/SystemPolicyU.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "settings/ParentControlsU.h"
#include "settings/PasswordHashU.h"
#include "settings/PolicyTestUtil.h"
#include "settings/QCSettingU.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

unsigned Mode(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

// A real policy on this computer would decide every test below.
bool SystemPolicyOnThisComputer() { return fs::exists("/etc/xdg/Tintwell/policy.ini"); }

TEST(SystemPolicyFolders, FollowXdgConfigDirsAndEndWithTheSystemFolder) {
  using TList = std::vector<std::string>;
  {
    const test::TEnvVar dirs("XDG_CONFIG_DIRS", "/school/xdg:relative/ignored:/family/:");
    EXPECT_EQ(SystemPolicyFolders(), (TList{"/school/xdg", "/family", "/etc/xdg"}));
  }
  {
    const test::TEnvVar dirs("XDG_CONFIG_DIRS", "/etc/xdg:/later");
    EXPECT_EQ(SystemPolicyFolders(), (TList{"/etc/xdg", "/later"}));
  }
  {
    const test::TEnvVar dirs("XDG_CONFIG_DIRS", "");
    EXPECT_EQ(SystemPolicyFolders(), TList{"/etc/xdg"});
  }
  const test::TEnvVar dirs("XDG_CONFIG_DIRS", "/x");
  unsetenv("XDG_CONFIG_DIRS");
  EXPECT_EQ(SystemPolicyFolders(), TList{"/etc/xdg"});
  EXPECT_EQ(SystemPolicyFile("/etc/xdg"), "/etc/xdg/Tintwell/policy.ini");
}

TEST(SystemPolicyFile, ValuesReadAsAnAdministratorMeansThem) {
  test::TTempFolder folder;
  const std::string file = folder.File("policy.ini");
  test::WriteTextFile(file, "[main]\nparentpassword=  \"open sesame\"  \npasswordsave=Maybe\nPasswordPrint=OFF\n");
  TSystemPolicy policy = ReadPolicyFile(file);
  EXPECT_TRUE(policy.Readable);
  EXPECT_EQ(policy.ParentPassword, "open sesame");
  // A value the program does not understand locks rather than unlocks.
  EXPECT_TRUE(policy.PasswordSave);
  EXPECT_FALSE(policy.PasswordPrint);
  for (const char* off : {"false", "No", "0", ""}) {
    test::WriteTextFile(file, std::string("[Main]\nPasswordSave=") + off + "\nPasswordPrint=1\n");
    policy = ReadPolicyFile(file);
    EXPECT_FALSE(policy.PasswordSave) << off;
    EXPECT_TRUE(policy.PasswordPrint) << off;
  }
  test::WriteTextFile(file, "[Main]\n");
  policy = ReadPolicyFile(file);
  EXPECT_FALSE(policy.PasswordSave || policy.PasswordPrint);
  EXPECT_EQ(policy.ParentPassword, "");
  // A file that cannot be read keeps everything locked.
  policy = ReadPolicyFile(folder.File("missing.ini"));
  EXPECT_FALSE(policy.Readable);
  EXPECT_TRUE(policy.PasswordSave && policy.PasswordPrint);
}

TEST(SystemPolicyFile, OnlyRootsOwnFileIsTrusted) {
  if (SystemPolicyOnThisComputer()) GTEST_SKIP() << "this computer has a system policy";
  const test::TPolicyFolder first;
  test::TTempFolder other;
  const std::string second = other.File("etc2");
  fs::create_directories(second + "/Tintwell");
  const test::TEnvVar dirs("XDG_CONFIG_DIRS", first.Folder() + ":" + second);
  EXPECT_FALSE(ReadSystemPolicy().InForce);
  EXPECT_EQ(SystemPolicyWritePath(), first.File());

  first.Write("PasswordSave=true\n");
  const std::string secondFile = SystemPolicyFile(second);
  test::WriteTextFile(secondFile, "[Main]\nPasswordPrint=true\n");
  chmod(secondFile.c_str(), 0644);
  if (!test::RunningAsRoot()) {
    // Files of an ordinary user are passed over, whatever they say.
    const TSystemPolicy policy = ReadSystemPolicy();
    EXPECT_FALSE(policy.InForce);
    EXPECT_EQ(policy.Ignored.size(), 2u);
    GTEST_SKIP() << "only root can make a policy file that is trusted";
  }
  TSystemPolicy policy = ReadSystemPolicy();
  ASSERT_TRUE(policy.InForce);
  EXPECT_EQ(policy.Path, first.File());
  EXPECT_TRUE(policy.PasswordSave);
  EXPECT_FALSE(policy.PasswordPrint);

  // Writable by others, or someone else's: passed over, and the search
  // goes on to the next folder.
  chmod(first.File().c_str(), 0666);
  policy = ReadSystemPolicy();
  ASSERT_TRUE(policy.InForce);
  EXPECT_EQ(policy.Path, secondFile);
  EXPECT_TRUE(policy.PasswordPrint);
  ASSERT_EQ(policy.Ignored.size(), 1u);
  EXPECT_NE(policy.Ignored[0].find(first.File()), std::string::npos);
  EXPECT_EQ(SystemPolicyWritePath(), secondFile);

  const passwd* nobody = getpwnam("nobody");
  ASSERT_NE(nobody, nullptr);
  chmod(first.File().c_str(), 0644);
  ASSERT_EQ(chown(first.File().c_str(), nobody->pw_uid, nobody->pw_gid), 0);
  EXPECT_EQ(ReadSystemPolicy().Path, secondFile);
  fs::remove(first.File());
  fs::create_directory(first.File());
  EXPECT_EQ(ReadSystemPolicy().Path, secondFile);
}

TEST(SystemPolicyFile, InForceItDecidesWhateverTheUsersStoreSays) {
  if (SystemPolicyOnThisComputer()) GTEST_SKIP() << "this computer has a system policy";
  if (!test::RunningAsRoot()) GTEST_SKIP() << "only root can make a policy file that is trusted";
  const test::TPolicyFolder policy;
  test::TTempFolder home;
  const std::string database = home.File("settings.sqlite3");
  policy.Write("ParentPassword=" + HashPassword("Owl-42") + "\nPasswordSave=true\n");
  {
    TSetting store(database, ProductKey, "");
    TQCSetting settings(store);
    store.WriteString("ParentPassword", "kid", "Main");
    store.WriteBool("PasswordSave", false, "Main");
    store.WriteBool("PasswordPrint", true, "Main");
    EXPECT_TRUE(settings.ReadPasswordSave());
    EXPECT_FALSE(settings.ReadPasswordPrint());
    EXPECT_FALSE(settings.CheckParentPassword("kid"));
    EXPECT_TRUE(settings.CheckParentPassword("Owl-42"));
    // The user's own password is not the policy's, and stays as it was.
    EXPECT_EQ(store.ReadString("ParentPassword", "", "Main"), "kid");
  }
  fs::remove(database);
  TSetting fresh(database, ProductKey, "");
  TQCSetting settings(fresh);
  EXPECT_TRUE(settings.ReadPasswordSave());
  EXPECT_FALSE(settings.CheckParentPassword(""));
  EXPECT_TRUE(TParentControls(fresh).HasPassword());
}

TEST(SystemPolicyFile, WrittenWholeReadableByAllAndWithoutClearText) {
  test::TTempFolder folder;
  const std::string path = folder.File("etc/Tintwell/policy.ini");
  TSystemPolicy policy;
  policy.ParentPassword = "Meadow 9";
  policy.PasswordPrint = true;
  WriteSystemPolicy(path, policy);
  EXPECT_EQ(Mode(path), 0644u);
  EXPECT_EQ(Mode(folder.File("etc")), 0755u);
  EXPECT_EQ(Mode(folder.File("etc/Tintwell")), 0755u);
  EXPECT_EQ(ReadBytes(path).find("Meadow"), std::string::npos);
  const TSystemPolicy back = ReadPolicyFile(path);
  EXPECT_TRUE(back.Readable);
  EXPECT_FALSE(back.PasswordSave);
  EXPECT_TRUE(back.PasswordPrint);
  EXPECT_TRUE(VerifyPasswordHash(back.ParentPassword, "Meadow 9"));

  // Rewriting keeps the hash as it is and leaves nothing else behind.
  TSystemPolicy changed = back;
  changed.PasswordSave = true;
  WriteSystemPolicy(path, changed);
  const TSystemPolicy again = ReadPolicyFile(path);
  EXPECT_EQ(again.ParentPassword, back.ParentPassword);
  EXPECT_TRUE(again.PasswordSave);
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.File("etc/Tintwell"))) ++files;
  EXPECT_EQ(files, 1u);
}

TEST(SystemPolicyFile, AFolderThatCannotBeCreatedIsReported) {
  test::TTempFolder folder;
  test::WriteTextFile(folder.File("etc"), "a file, not a folder");
  try {
    WriteSystemPolicy(folder.File("etc/Tintwell/policy.ini"), TSystemPolicy());
    FAIL() << "no error";
  } catch (const EError& error) {
    EXPECT_NE(std::string(error.what()).find("Cannot write the system policy"), std::string::npos)
        << error.what();
  }
}

}  // namespace
}  // namespace tw
