// The program's own INI reader: the shipped defaults file and the language
// files. It reads the whole file once and answers lookups from memory; it
// never writes and never throws, so a damaged file only loses its bad lines.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace tw {

class TIniFile {
 public:
  // Reads the whole file (UTF-8; a leading byte-order mark is skipped). A
  // missing or unreadable file reads as empty; bad lines are skipped; never
  // throws.
  explicit TIniFile(const std::string& fileName);
  bool Exists() const;
  // Section names as written, in file order (each name once, the first
  // spelling wins when a name repeats in another case).
  std::vector<std::string> SectionNames() const;
  // The name=value lines of a section (section compared without regard to
  // case; repeated sections merge), in file order; name = text before the
  // first '=', both trimmed, values unquoted ("..." or '...'). A name that
  // repeats (in any case) keeps its first line only, as ReadString does.
  std::vector<std::pair<std::string, std::string>> SectionValues(const std::string& section) const;
  // One value; keys compared without regard to case; the first line wins.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;

 private:
  struct TSection {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Values;
  };
  ptrdiff_t FindSectionIndex(const std::string& section) const;
  const TSection* FindSection(const std::string& section) const;

  bool FExists = false;
  std::vector<TSection> FSections;
};

}  // namespace tw
