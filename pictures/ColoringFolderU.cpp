#include "pictures/ColoringFolderU.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace tw {

namespace {

// Names up to this many bytes stay whole; with the longest suffix they fit
// the usual 255-byte limit of a file name with room to spare.
constexpr size_t LongestPlainStem = 200;
constexpr size_t KeptStart = 150;

uint64_t Fnv1a(const std::string& text) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (const unsigned char c : text) {
    hash ^= c;
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

std::string ProgramDataFolder() {
  std::string base;
  // The base directory rules ignore a relative XDG_DATA_HOME.
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/') {
    base = data;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home && home[0] ? home : ".") + "/.local/share";
  }
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  return base + "/Tintwell/";
}

std::string ColoringFolder() { return ProgramDataFolder() + "Colorings/"; }

std::string ColoringFileStem(const std::string& Entry) {
  std::string stem;
  for (const char c : Entry) {
    if (c == '%')
      stem += "%25";
    else if (c == '/' || c == '\\')
      stem += "%2F";
    else if (c == '~')
      stem += "%7E";
    else
      stem += c;
  }
  if (stem.size() <= LongestPlainStem) return stem;
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Fnv1a(Entry)));
  return stem.substr(0, KeptStart) + "~" + hash;
}

bool IsColoringFileName(const std::string& Name) {
  return EndsWith(Name, ColoringColorSuffix) || EndsWith(Name, ColoringOutlineSuffix);
}

}  // namespace tw
