// A system policy for tests: a folder of its own named by XDG_CONFIG_DIRS
// for the fixture's lifetime, open to every user (the policy is read by
// unprivileged users), and the policy file written as an administrator
// would write it by hand. Only root can make a file the program trusts, so
// tests of a policy in force skip elsewhere.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "pictures/PictureTestUtil.h"
#include "settings/SettingTestUtil.h"
#include "support/EnvVar.h"

namespace tw::test {

inline bool RunningAsRoot() { return geteuid() == 0; }

class TPolicyFolder {
 public:
  TPolicyFolder() : FFolder(FTemp.File("etc")), FDirs("XDG_CONFIG_DIRS", FFolder) {
    std::filesystem::create_directories(FFolder + "/Tintwell");
    for (const std::string& folder : {FTemp.Path(), FFolder, FFolder + "/Tintwell"})
      chmod(folder.c_str(), 0755);
  }

  // The folder XDG_CONFIG_DIRS names.
  const std::string& Folder() const { return FFolder; }
  std::string File() const { return FFolder + "/Tintwell/policy.ini"; }
  // Writes the file with mode 0644, "[Main]" followed by lines.
  void Write(const std::string& lines) const {
    WriteTextFile(File(), "[Main]\n" + lines);
    chmod(File().c_str(), 0644);
  }

 private:
  TTempFolder FTemp;
  std::string FFolder;
  TEnvVar FDirs;
};

}  // namespace tw::test
