// The parent's config tool run in this process against a temporary
// settings store and defaults file, for the tool's tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "pictures/PictureFileU.h"
#include "pictures/PictureTestUtil.h"
#include "settings/SettingU.h"
#include "tools/common/ToolExitU.h"
#include "tools/config/ConfigToolU.h"

namespace tw::test {

inline ::testing::AssertionResult Has(const std::string& text, const std::string& part) {
  if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "\"" << part << "\" is not in:\n" << text;
}

struct TRun {
  int Code = -1;
  std::string Out, Err;
};

// The tool run in this process with input piped in.
inline TRun RunConfigInProcess(const std::vector<std::string>& args, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  TConsole console{in, out, err, false};
  TRun run;
  run.Code = RunConfigTool(args, console);
  run.Out = out.str();
  run.Err = err.str();
  return run;
}

inline std::string ReadText(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteText(const std::string& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

class ConfigToolFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    FOldXdg = old ? std::optional<std::string>(old) : std::nullopt;
    setenv("XDG_CONFIG_HOME", FFolder.File("xdg").c_str(), 1);
    WriteText(FDefaults, "[Main]\nPathCatalog=" + FFolder.File("catalog/") +
                             "\nHints=false\n[Catalog]\nFileCount=2\nFile0=one.twf\nFile1=two.twf\n"
                             "[Palettes]\nPaletteCount=1\n[Palettes\\Palette0]\nName=Only\n"
                             "Enabled=true\nColorCount=1\nColor0=255\n");
  }
  void TearDown() override {
    if (FOldXdg) {
      setenv("XDG_CONFIG_HOME", FOldXdg->c_str(), 1);
    } else {
      unsetenv("XDG_CONFIG_HOME");
    }
  }

  // Runs the tool on the test's store and defaults file with input piped in.
  TRun Run(std::vector<std::string> args, const std::string& input = "") {
    args.insert(args.begin(), {"--database", FDatabase, "--defaults", FDefaults});
    return RunBare(args, input);
  }
  static TRun RunBare(const std::vector<std::string>& args, const std::string& input = "") {
    return RunConfigInProcess(args, input);
  }
  // get of a value of Main that nothing stores shows the program's built-in
  // default and says so.
  void ExpectNothingStored(const std::string& name, const std::string& builtIn = "") {
    const TRun get = Run({"get", "Main", name});
    EXPECT_EQ(get.Code, ExitOk);
    EXPECT_EQ(get.Out, builtIn + "\n");
    EXPECT_TRUE(Has(get.Err, "built-in default"));
  }
  // The store as the program would open it, for checking what the tool did.
  std::vector<TSetting::TValue> Values(const std::string& section) {
    TSetting store(FDatabase, ProductKey, "");
    return store.Values(section);
  }
  TSetting::TValue Value(const std::string& section, const std::string& name) {
    for (const TSetting::TValue& value : Values(section))
      if (value.Name == name) return value;
    ADD_FAILURE() << "no " << section << "\\" << name;
    return {};
  }
  std::vector<std::string> Catalog() {
    TSetting store(FDatabase, ProductKey, "");
    std::vector<std::string> list;
    store.ReadList("File", list, "Catalog");
    return list;
  }
  std::string MakePicture(const std::string& name, const std::string& title) {
    const std::string file = FFolder.File(name);
    TRaster24 image(4, 3, 0xFFFFFF);
    image.SetPixel(1, 1, 0);
    WritePictureFile(file, {{"en_us", title, "Ann", ""}}, image);
    return file;
  }

  test::TTempFolder FFolder;
  std::string FDatabase = FFolder.File("settings.sqlite3");
  std::string FDefaults = FFolder.File("default.ini");
  std::optional<std::string> FOldXdg;
};

}  // namespace tw::test
