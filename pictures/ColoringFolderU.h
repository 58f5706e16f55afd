// Where kept colourings live and what their files are called. They have a
// folder of the program's own in the user's data folder,
// "$XDG_DATA_HOME/Tintwell/Colorings/" ("~/.local/share/..." when the
// variable is unset or not absolute), which the save folder does not
// affect: the program writes, replaces and deletes colourings only there,
// so a parent's own files elsewhere are never touched.
//
// A catalog entry's two files are named after the whole entry text, so no
// two entries share a file even when they name subfolders, absolute paths
// or pictures of the same name with other extensions: "%" becomes "%25",
// "/" and "\" (both separate folders in an entry) "%2F", and "~" "%7E".
// A name that would grow too long for the file system keeps its start and
// ends in "~" and a hash of the whole entry, which no plain name can do.
// The colour layer's file ends in ".colour.gif", the outline's in
// ".outline.gif"; neither ending can be the other's with a longer entry.
#pragma once

#include <string>

namespace tw {

// The program's folder in the user's data folder, "$XDG_DATA_HOME/Tintwell/"
// ("~/.local/share/Tintwell/" when the variable is unset or not absolute).
std::string ProgramDataFolder();

// With a trailing "/".
std::string ColoringFolder();

// The entry's file name part shared by its two files.
std::string ColoringFileStem(const std::string& Entry);

inline constexpr const char* ColoringColorSuffix = ".colour.gif";
inline constexpr const char* ColoringOutlineSuffix = ".outline.gif";

// Whether a file name in the folder is one of the program's colourings.
bool IsColoringFileName(const std::string& Name);

}  // namespace tw
