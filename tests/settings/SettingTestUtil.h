// Shared fixture of the settings tests: a temporary folder holding the
// database and a defaults file the test writes itself, and a recorder for
// warnings.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "pictures/PictureTestUtil.h"
#include "settings/SettingU.h"

namespace tw::test {

inline void WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

class SettingsFixture : public ::testing::Test {
 protected:
  std::string DatabasePath() const { return FFolder.File("settings.sqlite3"); }
  std::string DefaultsPath() const { return FFolder.File("default.ini"); }
  void WriteDefaults(const std::string& text) const { WriteTextFile(DefaultsPath(), text); }
  // A store on the test's database with the test's defaults file.
  std::unique_ptr<TSetting> OpenStore() const {
    return std::make_unique<TSetting>(DatabasePath(), ProductKey, DefaultsPath());
  }

  TTempFolder FFolder;
  TWarningRecorder FWarnings;
};

}  // namespace tw::test
