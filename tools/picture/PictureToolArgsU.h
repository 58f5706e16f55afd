// Reading the command lines of the picture tool's commands into plain option
// records. Every mistake is an EUsage with a message that says what is wrong
// and what was expected; nothing here touches a file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/ErrorsU.h"
#include "pictures/PictureFileU.h"
#include "tools/common/ToolExitU.h"
#include "pages/LineArtU.h"
#include "pages/ShrinkU.h"

namespace tw {

// Both the limits and the defaults the help text quotes.
constexpr int MaxSpeckOrHoleSize = 1'000'000;

struct TPackOptions {
  std::string ImageFile;
  std::string OutputFile;
  // One per language, in the order the languages were first named.
  std::vector<TPictureEntry> Entries;
  // Unset: on for every input but a GIF.
  std::optional<bool> LineArt;
  TLineArtOptions LineArtOptions;
  // Whether any of --threshold, --speck-size, --hole-size was given, so the
  // tool can say they had no effect without line art.
  bool LineArtTuned = false;
  // The longest side the packed picture may have; larger images are scaled
  // down to it. 0 keeps any size.
  int MaxSize = DefaultMaxPictureSide;
  bool Help = false;
};

struct TInfoOptions {
  std::string PictureFile;
  bool Help = false;
};

struct TExtractOptions {
  std::string PictureFile;
  std::string OutputFile;
  bool Help = false;
};

// Each takes the arguments after the command's name. A "--help" or "-h"
// anywhere sets Help and skips every other check.
TPackOptions ParsePackArgs(const std::vector<std::string>& args);
TInfoOptions ParseInfoArgs(const std::vector<std::string>& args);
TExtractOptions ParseExtractArgs(const std::vector<std::string>& args);

// Whether name ends in extension (given with its dot), without regard to case.
bool HasExtension(const std::string& name, const std::string& extension);

}  // namespace tw
