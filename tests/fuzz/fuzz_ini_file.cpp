// libFuzzer entry point over the INI reader that reads the defaults file and
// the language files: any input, written to a file, must read without a
// crash or an exception, and every answer must agree with the others: the
// section names are distinct without regard to case, each section's names
// are distinct, trimmed and found again by ReadString with the value listed.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unordered_set>

#include "settings/IniFileU.h"
#include "base/TextCodingU.h"
#include "settings/SettingsTextU.h"

namespace {

// One temporary file per fuzzing process, removed when it ends.
class TFuzzFile {
 public:
  TFuzzFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tw-fuzz-XXXXXX.ini").string();
    const int handle = mkstemps(pattern.data(), 4);
    if (handle < 0) std::abort();
    close(handle);
    Path = pattern;
  }
  ~TFuzzFile() { std::remove(Path.c_str()); }
  std::string Path;
};

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

bool Trimmed(const std::string& text) { return tw::TrimBlanks(text) == text; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TFuzzFile file;
  {
    std::FILE* out = std::fopen(file.Path.c_str(), "wb");
    if (!out) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, out) != size) std::abort();
    std::fclose(out);
  }
  const tw::TIniFile ini(file.Path);
  Check(ini.Exists());
  const std::string missing = "\x01missing";
  std::unordered_set<std::string> sections;
  for (const std::string& section : ini.SectionNames()) {
    Check(!section.empty() && Trimmed(section));
    Check(section.find('\n') == std::string::npos);
    Check(sections.insert(tw::LowerAsciiText(section)).second);
    std::unordered_set<std::string> names;
    for (const auto& [name, value] : ini.SectionValues(section)) {
      Check(!name.empty() && Trimmed(name));
      Check(name.find('=') == std::string::npos && name.find('\n') == std::string::npos);
      Check(value.find('\n') == std::string::npos);
      Check(names.insert(tw::LowerAsciiText(name)).second);
      Check(ini.ReadString(section, name, missing) == value);
      Check(ini.ReadString(tw::LowerAsciiText(section), name, missing) == value);
    }
  }
  Check(ini.ReadString("\x01no section", "key", missing) == missing);
  return 0;
}
