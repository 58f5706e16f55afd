// Where a catalog entry's picture file lies. An entry is a name inside the
// catalog folder ("owl.twf", "farm\owl.twf"), which may be shared by every
// user and not writable. Pages a parent makes from their own images live in
// the user's own pages folder, "$XDG_DATA_HOME/Tintwell/Pages/", and their
// entries start with the folder macro "[PagesFolder]" ("[PagesFolder]\owl
// drawing.twf"), so the list stays valid when the data folder moves. An
// absolute entry ("/home/ann/owl.twf") names that file. Lists written
// before pages existed hold plain names and read as before.
#pragma once

#include <string>

namespace tw {

inline constexpr const char* PagesFolderMacro = "[PagesFolder]";

// With a trailing "/".
std::string PagesFolder();

// The entry of a file FileName (a name without folders) in the pages folder.
std::string PagesEntry(const std::string& FileName);

// Whether the entry names a file in the pages folder.
bool IsPagesEntry(const std::string& Entry);

// The native path of the entry's picture file; CatalogFolder ends with a
// separator.
std::string CatalogEntryFile(const std::string& Entry, const std::string& CatalogFolder);

}  // namespace tw
