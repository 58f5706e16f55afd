// The parent's tool with a system policy: root writes it with --system, and
// the built tool run as an unprivileged user (through setpriv) can neither
// unlock saving through the user's own store nor change the policy, and
// deleting that store keeps the locks. The tests run as root, as in CI, and
// skip where root or setpriv is not available.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "settings/ConfigToolFixture.h"
#include "settings/PolicyTestUtil.h"
#include "settings/SystemPolicyU.h"
#include "tools/common/ToolExitU.h"
#include "tools/config/ConfigToolU.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

using test::Has;
using test::TRun;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

TRun RunInProcess(const std::vector<std::string>& args, const std::string& input = "") {
  return test::RunConfigInProcess(args, input);
}

#ifdef TINTWELL_CONFIG_TOOL
class ConfigPolicy : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::RunningAsRoot()) GTEST_SKIP() << "needs root, to make a policy file and to run as another user";
    if (std::system("command -v setpriv >/dev/null 2>&1") != 0) GTEST_SKIP() << "needs setpriv (util-linux)";
    if (getpwnam("nobody") == nullptr) GTEST_SKIP() << "needs the user nobody";
    if (fs::exists("/etc/xdg/Tintwell/policy.ini")) GTEST_SKIP() << "this computer has a system policy";
    FPolicy = std::make_unique<test::TPolicyFolder>();
    FRoot = fs::path(FPolicy->Folder()).parent_path().string();
    // The user's copy of the tool, its defaults and home, all open to it.
    fs::copy_file(TINTWELL_CONFIG_TOOL, FRoot + "/tintwell-config");
    test::WriteTextFile(FRoot + "/default.ini", "[Main]\nHints=true\n");
    chmod((FRoot + "/default.ini").c_str(), 0644);
    fs::create_directories(Home());
    const passwd* nobody = getpwnam("nobody");
    ASSERT_EQ(chown(Home().c_str(), nobody->pw_uid, nobody->pw_gid), 0);
  }

  std::string Home() const { return FRoot + "/home"; }
  std::string UserStore() const { return Home() + "/.config/Tintwell/Tintwell/1/settings.sqlite3"; }

  // The built tool as the user nobody, in a clean environment of its own,
  // with the test's defaults file for the commands on the user's store.
  TRun RunAsUser(const std::string& args, const std::string& input = "") const {
    const std::string out = FRoot + "/out.txt", err = FRoot + "/err.txt";
    const std::string defaults =
        args.rfind("--system", 0) == 0 ? "" : " --defaults " + Quote(FRoot + "/default.ini");
    const std::string command =
        "printf '%s' " + Quote(input) +
        " | setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH=/usr/bin:/bin HOME=" +
        Quote(Home()) + " XDG_CONFIG_HOME=" + Quote(Home() + "/.config") +
        " XDG_CONFIG_DIRS=" + Quote(FPolicy->Folder()) + " " + Quote(FRoot + "/tintwell-config") +
        defaults + " " + args + " >" + Quote(out) + " 2>" +
        Quote(err);
    const int status = std::system(command.c_str());
    TRun run;
    run.Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Out = ReadBytes(out);
    run.Err = ReadBytes(err);
    return run;
  }

  std::unique_ptr<test::TPolicyFolder> FPolicy;
  std::string FRoot;
};

TEST_F(ConfigPolicy, TheUsersToolCannotUnlockWhatThePolicyLocks) {
  // Before there is a policy, the user's own settings decide.
  TRun run = RunAsUser("lock save off");
  ASSERT_EQ(run.Code, ExitOk) << run.Err;
  ASSERT_EQ(RunAsUser("lock print on").Code, ExitOk);
  EXPECT_TRUE(Has(RunAsUser("lock").Out, "Printing asks"));

  run = RunInProcess({"--system", "lock", "save", "on"});
  ASSERT_EQ(run.Code, ExitOk) << run.Err;
  EXPECT_TRUE(Has(run.Err, "no parent password"));
  run = RunInProcess({"--system", "password"}, "Owl-42\nOwl-42\n");
  ASSERT_EQ(run.Code, ExitOk) << run.Err;
  EXPECT_FALSE(Has(run.Out + run.Err, "Owl-42"));
  struct stat info {};
  ASSERT_EQ(stat(FPolicy->File().c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 0u);
  EXPECT_EQ(info.st_mode & 07777, 0644u);
  const std::string policy = ReadBytes(FPolicy->File());
  EXPECT_FALSE(Has(policy, "Owl-42"));

  run = RunAsUser("lock");
  ASSERT_EQ(run.Code, ExitOk) << run.Err;
  EXPECT_TRUE(Has(run.Out, "Saving asks"));
  EXPECT_TRUE(Has(run.Out, "Printing does not ask"));
  EXPECT_TRUE(Has(run.Out, "A parent password is set"));
  EXPECT_TRUE(Has(run.Out, "fixed by the system policy \"" + FPolicy->File()));
  // The user's store still says otherwise, and is not asked.
  EXPECT_EQ(RunAsUser("get Main PasswordSave").Out, "0\n");

  run = RunAsUser("lock save off");
  EXPECT_EQ(run.Code, ExitFailure);
  EXPECT_TRUE(Has(run.Err, "fixed by the system policy"));
  EXPECT_TRUE(Has(run.Err, "sudo tintwell-config --system lock save off"));
  run = RunAsUser("set Main PasswordSave false");
  EXPECT_EQ(run.Code, ExitFailure);
  EXPECT_TRUE(Has(run.Err, "fixed by the system policy"));
  run = RunAsUser("password", "kid\nkid\n");
  EXPECT_EQ(run.Code, ExitFailure);
  EXPECT_TRUE(Has(run.Err, "set by the system policy"));
  EXPECT_FALSE(Has(run.Err, "New parent password"));
  run = RunAsUser("--system lock save off");
  EXPECT_EQ(run.Code, ExitFailure);
  EXPECT_TRUE(Has(run.Err, "belongs to root"));
  run = RunAsUser("--system password", "kid\nkid\n");
  EXPECT_EQ(run.Code, ExitFailure);
  EXPECT_EQ(ReadBytes(FPolicy->File()), policy);

  // Deleting the user's store changes nothing about the locks.
  ASSERT_TRUE(fs::exists(UserStore()));
  fs::remove_all(Home() + "/.config");
  run = RunAsUser("lock");
  EXPECT_TRUE(Has(run.Out, "Saving asks"));
  EXPECT_EQ(RunAsUser("lock save off").Code, ExitFailure);
}

TEST_F(ConfigPolicy, APolicyTheUserCannotReadKeepsEverythingLocked) {
  ASSERT_EQ(RunInProcess({"--system", "lock", "print", "on"}).Code, ExitOk);
  chmod(FPolicy->File().c_str(), 0600);
  TRun run = RunAsUser("lock");
  EXPECT_TRUE(Has(run.Out, "cannot be read"));
  EXPECT_EQ(RunAsUser("lock save off").Code, ExitFailure);
  // A folder the user cannot look into may hold a policy, so it locks too.
  chmod(FPolicy->File().c_str(), 0644);
  chmod((FPolicy->Folder() + "/Tintwell").c_str(), 0700);
  EXPECT_TRUE(Has(RunAsUser("lock").Out, "cannot be read"));
  chmod((FPolicy->Folder() + "/Tintwell").c_str(), 0755);
  run = RunAsUser("lock");
  EXPECT_TRUE(Has(run.Out, "Printing asks"));
  EXPECT_TRUE(Has(run.Out, "Saving does not ask"));
}

TEST_F(ConfigPolicy, FilesTheUserCanChangeArePassedOver) {
  const passwd* nobody = getpwnam("nobody");
  test::WriteTextFile(FPolicy->File(), "[Main]\nPasswordSave=false\n");
  ASSERT_EQ(chown(FPolicy->File().c_str(), nobody->pw_uid, nobody->pw_gid), 0);
  TRun run = RunAsUser("lock save on");
  EXPECT_EQ(run.Code, ExitOk) << run.Err;
  EXPECT_TRUE(Has(run.Err, "is ignored: it must belong to root"));
  EXPECT_TRUE(Has(RunAsUser("lock").Out, "your own settings"));
}
#endif

TEST(ConfigSystemOption, GoesWithPasswordAndLockOnly) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--system", "get", "Main", "Hints"},
           {"--system", "list"},
           {"--system", "--database", "x.sqlite3", "lock"},
           {"--system", "--defaults", "x.ini", "password"},
           {"--system", "lock", "save"},
           {"--system", "lock", "door", "on"}}) {
    const TRun run = RunInProcess(args);
    EXPECT_EQ(run.Code, ExitUsage) << args[1];
    EXPECT_TRUE(Has(run.Err, "--help\" for help"));
  }
}

}  // namespace
}  // namespace tw
