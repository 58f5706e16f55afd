#include "tools/config/ColoringCommandsU.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "pictures/ColoringFolderU.h"
#include "base/TextCodingU.h"
#include "tools/common/ToolExitU.h"
#include "settings/SettingsTextU.h"

namespace tw {

namespace {

namespace fs = std::filesystem;

// The program's colouring files in the folder; none when it does not exist.
std::vector<fs::path> ColoringFiles(const std::string& folder, std::error_code& error) {
  std::vector<fs::path> files;
  if (!fs::exists(folder, error)) return files;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code ignored;
    if (it->is_regular_file(ignored) && IsColoringFileName(it->path().filename().string()))
      files.push_back(it->path());
  }
  return files;
}

}  // namespace

int RunColorings(TConfigContext& context) {
  TConsole& console = context.Console;
  const auto& words = context.Line.Words;
  const bool clear = words.size() == 1;
  if (clear && words[0] != "clear") throw EUsage("colorings takes nothing or clear.");
  if (context.Line.Yes && !clear) throw EUsage("--yes goes with colorings clear only.");
  const std::string folder = ColoringFolder();
  std::error_code error;
  const std::vector<fs::path> files = ColoringFiles(folder, error);
  if (error) {
    console.Err << "Cannot read the colourings folder \"" << folder << "\": " << error.message()
                << ". Nothing was changed.\n";
    return ExitFailure;
  }
  // Each picture has a colour file; the outline file comes with some.
  size_t pictures = 0;
  const std::string colorSuffix = ColoringColorSuffix;
  for (const fs::path& file : files) {
    const std::string name = file.filename().string();
    pictures += name.size() >= colorSuffix.size() &&
                name.compare(name.size() - colorSuffix.size(), colorSuffix.size(), colorSuffix) == 0;
  }
  if (!clear) {
    console.Out << "Colourings are kept in \"" << folder << "\": " << pictures
                << (pictures == 1 ? " picture has" : " pictures have") << " one.\n";
    return ExitOk;
  }
  if (files.empty()) {
    console.Out << "There are no kept colourings in \"" << folder << "\".\n";
    return ExitOk;
  }
  if (!context.Line.Yes) {
    std::string answer;
    const std::string prompt = "This removes the kept colourings of " + std::to_string(pictures) +
                               (pictures == 1 ? " picture" : " pictures") + " from \"" + folder +
                               "\"; they open uncoloured again.\nType yes to go on: ";
    if (!ReadAnswer(console, prompt, false, answer) || !SameTextAscii(TrimBlanks(answer), "yes")) {
      console.Err << "Nothing was changed.\n";
      return ExitFailure;
    }
  }
  size_t failed = 0;
  for (const fs::path& file : files) {
    std::error_code removeError;
    if (!fs::remove(file, removeError) && removeError) ++failed;
  }
  if (failed) {
    console.Err << failed << (failed == 1 ? " file" : " files") << " in \"" << folder
                << "\" could not be removed.\n";
    return ExitFailure;
  }
  console.Out << "The kept colourings are cleared.\n";
  return ExitOk;
}

}  // namespace tw
