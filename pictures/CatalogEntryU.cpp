#include "pictures/CatalogEntryU.h"

#include <cstring>

#include "pictures/ColoringFolderU.h"
#include "pictures/QFoldersU.h"

namespace tw {

std::string PagesFolder() { return ProgramDataFolder() + "Pages/"; }

std::string PagesEntry(const std::string& FileName) {
  return std::string(PagesFolderMacro) + "\\" + FileName;
}

bool IsPagesEntry(const std::string& Entry) {
  const size_t length = std::strlen(PagesFolderMacro);
  return Entry.size() > length &&
         ReplaceAllNoCase(Entry.substr(0, length), PagesFolderMacro, "").empty() &&
         (Entry[length] == '\\' || Entry[length] == '/');
}

std::string CatalogEntryFile(const std::string& Entry, const std::string& CatalogFolder) {
  if (IsPagesEntry(Entry))
    return NativePath(PagesFolder() + Entry.substr(std::strlen(PagesFolderMacro) + 1));
  if (!Entry.empty() && (Entry[0] == '/')) return NativePath(Entry);
  return NativePath(CatalogFolder + Entry);
}

}  // namespace tw
