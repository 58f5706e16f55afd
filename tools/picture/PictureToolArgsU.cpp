// Command-line parsing for the picture tool: long options take their value
// as "--name=value" or as the next argument, "--" ends the options, and a
// lone "-" or anything not starting with "-" is a file name.
#include "tools/picture/PictureToolArgsU.h"

#include <algorithm>
#include <charconv>

#include "base/TextCodingU.h"

namespace tw {

namespace {

bool IsHelpOption(const std::string& arg) { return arg == "--help" || arg == "-h"; }

bool WantsHelp(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (IsHelpOption(arg)) return true;
  }
  return false;
}

// Steps through a command's arguments one at a time, telling options from
// file names and handing out option values.
class TArgWalker {
 public:
  explicit TArgWalker(const std::vector<std::string>& args) : FArgs(args) {}

  bool Next() {
    while (FNext < FArgs.size()) {
      const std::string& arg = FArgs[FNext++];
      if (!FOnlyFiles && arg == "--") {
        FOnlyFiles = true;
        continue;
      }
      FIsOption = !FOnlyFiles && arg.size() > 1 && arg[0] == '-';
      FName = arg;
      FInlineValue.reset();
      const size_t equals = arg.find('=');
      if (FIsOption && arg.rfind("--", 0) == 0 && equals != std::string::npos) {
        FName = arg.substr(0, equals);
        FInlineValue = arg.substr(equals + 1);
      }
      return true;
    }
    return false;
  }

  bool IsOption() const { return FIsOption; }
  // The option's name without any "=value", or the file name.
  const std::string& Name() const { return FName; }

  std::string Value() {
    if (FInlineValue) return *FInlineValue;
    if (FNext >= FArgs.size()) throw EUsage(FName + " needs a value.");
    return FArgs[FNext++];
  }

  void ExpectNoValue() const {
    if (FInlineValue) throw EUsage(FName + " takes no value.");
  }

 private:
  const std::vector<std::string>& FArgs;
  size_t FNext = 0;
  bool FOnlyFiles = false;
  bool FIsOption = false;
  std::string FName;
  std::optional<std::string> FInlineValue;
};

int ParseCount(const std::string& option, const std::string& text, int low, int high) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || value < low || value > high)
    throw EUsage(option + " needs a whole number from " + std::to_string(low) + " to " +
                 std::to_string(high) + ", not \"" + text + "\".");
  return value;
}

enum class TTextField { Title, Author, Description };

// Finds or appends the entry of a language, keeping the order in which the
// languages were first named. The program looks codes up without regard to
// case, so "en_us" and "EN_US" are one language (spelt as first given).
TPictureEntry& EntryFor(std::vector<TPictureEntry>& entries, const std::string& language) {
  for (TPictureEntry& entry : entries)
    if (LowerAsciiText(entry.Language) == LowerAsciiText(language)) return entry;
  entries.push_back({language, "", "", ""});
  return entries.back();
}

void AddText(TPackOptions& options, std::vector<std::string>& given, const std::string& option,
             TTextField field, const std::string& value) {
  const size_t equals = value.find('=');
  if (equals == std::string::npos || equals == 0)
    throw EUsage(option + " needs LANG=TEXT with a language code before the \"=\" (for example " +
                 option + " en_us=Sunflower), not \"" + value + "\".");
  const std::string language = value.substr(0, equals);
  const std::string key = option + " " + LowerAsciiText(language);
  if (std::find(given.begin(), given.end(), key) != given.end())
    throw EUsage(option + " is given twice for the language \"" + language + "\".");
  given.push_back(key);
  TPictureEntry& entry = EntryFor(options.Entries, language);
  std::string& text = field == TTextField::Title    ? entry.Title
                      : field == TTextField::Author ? entry.Author
                                                    : entry.Description;
  text = value.substr(equals + 1);
}

// The one file name a command takes; what to call it in a message.
void TakeFile(std::string& target, const std::string& arg, const char* command, const char* what) {
  if (!target.empty())
    throw EUsage(std::string(command) + " takes one " + what + ", but \"" + arg +
                 "\" came after \"" + target + "\".");
  if (arg.empty()) throw EUsage(std::string(command) + " was given an empty file name.");
  target = arg;
}

[[noreturn]] void UnknownOption(const std::string& option, const char* command) {
  throw EUsage("Unknown option " + option + " for " + command + ".");
}

}  // namespace

bool HasExtension(const std::string& name, const std::string& extension) {
  // A bare extension is no file name.
  return name.size() > extension.size() && EndsWithNoCase(name, extension);
}

TPackOptions ParsePackArgs(const std::vector<std::string>& args) {
  TPackOptions options;
  if (WantsHelp(args)) {
    options.Help = true;
    return options;
  }
  std::vector<std::string> given;
  TArgWalker walker(args);
  while (walker.Next()) {
    const std::string& name = walker.Name();
    if (!walker.IsOption()) {
      TakeFile(options.ImageFile, name, "pack", "IMAGE");
    } else if (name == "-o" || name == "--output") {
      if (!options.OutputFile.empty()) throw EUsage(name + " is given twice.");
      options.OutputFile = walker.Value();
      if (options.OutputFile.empty()) throw EUsage(name + " was given an empty file name.");
    } else if (name == "--title") {
      AddText(options, given, name, TTextField::Title, walker.Value());
    } else if (name == "--author") {
      AddText(options, given, name, TTextField::Author, walker.Value());
    } else if (name == "--description") {
      AddText(options, given, name, TTextField::Description, walker.Value());
    } else if (name == "--lineart" || name == "--no-lineart") {
      walker.ExpectNoValue();
      // The last of the two wins, so an alias can be overridden.
      options.LineArt = name == "--lineart";
    } else if (name == "--threshold") {
      options.LineArtOptions.Threshold = ParseCount(name, walker.Value(), 1, 255);
      options.LineArtTuned = true;
    } else if (name == "--speck-size") {
      options.LineArtOptions.SpeckSize = ParseCount(name, walker.Value(), 0, MaxSpeckOrHoleSize);
      options.LineArtTuned = true;
    } else if (name == "--max-size") {
      options.MaxSize = ParseCount(name, walker.Value(), 0, MaxPictureSide);
    } else if (name == "--hole-size") {
      options.LineArtOptions.HoleSize = ParseCount(name, walker.Value(), 0, MaxSpeckOrHoleSize);
      options.LineArtTuned = true;
    } else {
      UnknownOption(name, "pack");
    }
  }
  if (options.ImageFile.empty()) throw EUsage("pack needs an IMAGE file (GIF, PNG, JPEG or BMP).");
  if (options.OutputFile.empty()) throw EUsage("pack needs the picture file to write: -o OUT.twf.");
  if (!HasExtension(options.OutputFile, PictureFileExtension))
    throw EUsage("The picture file must end in \".twf\", or the program will not open it: \"" +
                 options.OutputFile + "\".");
  return options;
}

TInfoOptions ParseInfoArgs(const std::vector<std::string>& args) {
  TInfoOptions options;
  if (WantsHelp(args)) {
    options.Help = true;
    return options;
  }
  TArgWalker walker(args);
  while (walker.Next()) {
    if (walker.IsOption()) UnknownOption(walker.Name(), "info");
    TakeFile(options.PictureFile, walker.Name(), "info", "picture file");
  }
  if (options.PictureFile.empty()) throw EUsage("info needs a picture file (FILE.twf).");
  return options;
}

TExtractOptions ParseExtractArgs(const std::vector<std::string>& args) {
  TExtractOptions options;
  if (WantsHelp(args)) {
    options.Help = true;
    return options;
  }
  TArgWalker walker(args);
  while (walker.Next()) {
    const std::string& name = walker.Name();
    if (!walker.IsOption()) {
      TakeFile(options.PictureFile, name, "extract", "picture file");
    } else if (name == "-o" || name == "--output") {
      if (!options.OutputFile.empty()) throw EUsage(name + " is given twice.");
      options.OutputFile = walker.Value();
      if (options.OutputFile.empty()) throw EUsage(name + " was given an empty file name.");
    } else {
      UnknownOption(name, "extract");
    }
  }
  if (options.PictureFile.empty()) throw EUsage("extract needs a picture file (FILE.twf).");
  if (options.OutputFile.empty())
    throw EUsage("extract needs the image file to write: -o OUT.gif.");
  if (!HasExtension(options.OutputFile, ".gif") && !HasExtension(options.OutputFile, ".bmp") &&
      !HasExtension(options.OutputFile, ".jpg") && !HasExtension(options.OutputFile, ".jpeg"))
    throw EUsage("extract writes .gif, .bmp, .jpg or .jpeg files, not \"" + options.OutputFile +
                 "\".");
  return options;
}

}  // namespace tw
