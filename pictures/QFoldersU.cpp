#include "pictures/QFoldersU.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "pictures/QUtilU.h"
#include "base/TextCodingU.h"

namespace tw {

namespace {

std::optional<std::string> GDocumentsFolder;
std::optional<std::string> GPicturesFolder;

std::string WithoutTrailingSeparator(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::string WorkingDirectory() {
  std::error_code error;
  const std::filesystem::path cwd = std::filesystem::current_path(error);
  return error ? std::string(".") : WithoutTrailingSeparator(cwd.string());
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  return home && *home ? WithoutTrailingSeparator(home) : std::string();
}

// The value of one entry (XDG_DOCUMENTS_DIR, XDG_PICTURES_DIR) of the user
// dirs file: a quoted "$HOME/..." or absolute path. Empty when the file or
// the entry is missing or the value is of another form.
std::string XdgUserDir(const std::string& name) {
  std::string configHome;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
    configHome = xdg;
  } else if (const std::string home = HomeFolder(); !home.empty()) {
    configHome = home + "/.config";
  } else {
    return {};
  }
  std::ifstream file(configHome + "/user-dirs.dirs");
  std::string line;
  std::string found;
  while (std::getline(file, line)) {
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    const size_t equals = line.find('=', start);
    if (equals == std::string::npos || line.substr(start, equals - start) != name) continue;
    std::string value = line.substr(equals + 1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
      value.pop_back();
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') continue;
    std::string raw;
    for (size_t i = 1; i + 1 < value.size(); ++i) {
      if (value[i] == '\\' && i + 2 < value.size()) ++i;
      raw += value[i];
    }
    if (raw.rfind("$HOME", 0) == 0 && (raw.size() == 5 || raw[5] == '/')) {
      const std::string home = HomeFolder();
      if (home.empty()) continue;
      raw = home + raw.substr(5);
    }
    if (raw.empty() || raw[0] != '/') continue;
    found = WithoutTrailingSeparator(raw);
  }
  return found;
}

std::string FindFolder(const char* xdgName) {
  std::string folder = XdgUserDir(xdgName);
  return folder.empty() ? WorkingDirectory() : folder;
}

}  // namespace

std::string ProgramFolder() {
  static const std::string folder = [] {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    std::string dir = error ? WorkingDirectory() : exe.parent_path().string();
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
  }();
  return folder;
}

std::string DocumentsFolder() {
  if (!GDocumentsFolder) GDocumentsFolder = FindFolder("XDG_DOCUMENTS_DIR");
  return *GDocumentsFolder;
}

std::string PicturesFolder() {
  if (!GPicturesFolder) GPicturesFolder = FindFolder("XDG_PICTURES_DIR");
  return *GPicturesFolder;
}

void SetDocumentsFolder(const std::string& folder) {
  if (folder.empty()) {
    GDocumentsFolder.reset();
  } else {
    GDocumentsFolder = WithoutTrailingSeparator(folder);
  }
}

void SetPicturesFolder(const std::string& folder) {
  if (folder.empty()) {
    GPicturesFolder.reset();
  } else {
    GPicturesFolder = WithoutTrailingSeparator(folder);
  }
}

std::string ReplaceAllNoCase(const std::string& text, const std::string& what,
                             const std::string& with) {
  if (what.empty()) return text;
  // ASCII folding keeps every byte where it is, so positions found in the
  // folded text are positions in the original.
  const std::string foldedText = LowerAsciiText(text);
  const std::string foldedWhat = LowerAsciiText(what);
  std::string out;
  size_t from = 0;
  for (size_t at = foldedText.find(foldedWhat); at != std::string::npos;
       at = foldedText.find(foldedWhat, from)) {
    out.append(text, from, at - from);
    out += with;
    from = at + what.size();
  }
  out.append(text, from, std::string::npos);
  return out;
}

std::string ExpandFolderMacros(const std::string& path) {
  std::string program = ProgramFolder();
  program.pop_back();
  std::string out = ReplaceAllNoCase(path, "[ProgramFolder]", program);
  out = ReplaceAllNoCase(out, "[MyPicturesFolder]", PicturesFolder());
  return ReplaceAllNoCase(out, "[MyDocumentsFolder]", DocumentsFolder());
}

std::string CollapseFolderMacros(const std::string& path) {
  std::string program = ProgramFolder();
  program.pop_back();
  std::string out = ReplaceAllNoCase(path, program, "[ProgramFolder]");
  out = ReplaceAllNoCase(out, PicturesFolder(), "[MyPicturesFolder]");
  return ReplaceAllNoCase(out, DocumentsFolder(), "[MyDocumentsFolder]");
}

std::string DisplayFolderNames(const std::string& path) {
  const std::string out = ReplaceAllNoCase(path, PicturesFolder(), "Pictures");
  return ReplaceAllNoCase(out, DocumentsFolder(), "Documents");
}

std::string NativePath(const std::string& path) {
  std::string out = path;
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

void CheckFileExists(const std::string& path) {
  const std::filesystem::path native = NativePath(ExpandFolderMacros(path));
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(native, error);
  if (error) full = native;
  const std::filesystem::file_status status = std::filesystem::status(full, error);
  if (error || !std::filesystem::exists(status) || std::filesystem::is_directory(status))
    ShowAbortFmt("File not found \"%s\"", {full.string()});
}

}  // namespace tw
