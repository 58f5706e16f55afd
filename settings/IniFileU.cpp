#include "settings/IniFileU.h"

#include <fstream>
#include <iterator>
#include <unordered_set>

#include "settings/SettingsTextU.h"

namespace tw {

namespace {

std::string Unquote(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

TIniFile::TIniFile(const std::string& fileName) {
  std::string text;
  try {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) return;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return;
  } catch (const std::exception&) {
    // An unreadable file (a folder, a read error, no memory) reads as empty.
    return;
  }
  FExists = true;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);

  // Per section, the folded names already taken, so a repeated name keeps
  // its first value.
  std::vector<std::unordered_set<std::string>> taken;
  ptrdiff_t current = -1;
  size_t lineStart = 0;
  while (lineStart <= text.size()) {
    size_t lineEnd = text.find('\n', lineStart);
    if (lineEnd == std::string::npos) lineEnd = text.size();
    std::string line = text.substr(lineStart, lineEnd - lineStart);
    lineStart = lineEnd + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line = TrimBlanks(line);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;

    if (line[0] == '[') {
      const size_t close = line.find(']');
      const std::string name = close == std::string::npos ? std::string()
                                                          : TrimBlanks(line.substr(1, close - 1));
      // A broken header must not let its lines land in the section above.
      current = name.empty() ? -1 : FindSectionIndex(name);
      if (!name.empty() && current < 0) {
        FSections.push_back({name, {}});
        taken.emplace_back();
        current = ptrdiff_t(FSections.size()) - 1;
      }
      continue;
    }

    const size_t equals = line.find('=');
    if (current < 0 || equals == std::string::npos) continue;
    const std::string name = TrimBlanks(line.substr(0, equals));
    if (name.empty() || !taken[size_t(current)].insert(LowerAsciiText(name)).second) continue;
    FSections[size_t(current)].Values.emplace_back(name, Unquote(TrimBlanks(line.substr(equals + 1))));
  }
}

bool TIniFile::Exists() const { return FExists; }

std::vector<std::string> TIniFile::SectionNames() const {
  std::vector<std::string> names;
  names.reserve(FSections.size());
  for (const TSection& section : FSections) names.push_back(section.Name);
  return names;
}

std::vector<std::pair<std::string, std::string>> TIniFile::SectionValues(
    const std::string& section) const {
  const TSection* found = FindSection(section);
  return found ? found->Values : std::vector<std::pair<std::string, std::string>>();
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
  const TSection* found = FindSection(section);
  if (!found) return defaultValue;
  for (const auto& [name, value] : found->Values)
    if (SameTextAscii(name, key)) return value;
  return defaultValue;
}

ptrdiff_t TIniFile::FindSectionIndex(const std::string& section) const {
  const std::string wanted = TrimBlanks(section);
  for (size_t i = 0; i < FSections.size(); ++i)
    if (SameTextAscii(FSections[i].Name, wanted)) return ptrdiff_t(i);
  return -1;
}

const TIniFile::TSection* TIniFile::FindSection(const std::string& section) const {
  const ptrdiff_t index = FindSectionIndex(section);
  return index < 0 ? nullptr : &FSections[size_t(index)];
}

}  // namespace tw
