// The program's folders and the folder macros that keep folder settings
// independent of the user and the machine.
//
// Settings texts are written with "\" separators ("[MyPicturesFolder]\Tintwell
// \saved\") and keep them; the folders themselves are native "/" paths.
// ExpandFolderMacros only replaces the macros, so its result may mix both
// separators ("/home/ann/Pictures\Tintwell\saved\"); CollapseFolderMacros
// turns exactly that back into the setting text. Code that touches a file
// passes the expanded text through NativePath first.
#pragma once

#include <string>

namespace tw {

// The folder of the running executable, with a trailing "/".
std::string ProgramFolder();
// The user's documents and pictures folders, without a trailing separator.
// Set by the Qt layer at start; until then found from the XDG user dirs
// file, else the working directory.
std::string DocumentsFolder();
std::string PicturesFolder();
// A trailing separator is dropped; an empty folder means "find it again".
void SetDocumentsFolder(const std::string& folder);
void SetPicturesFolder(const std::string& folder);

// "[ProgramFolder]" (ProgramFolder without its trailing "/"),
// "[MyPicturesFolder]" and "[MyDocumentsFolder]" replaced in this order,
// every occurrence, without regard to case.
std::string ExpandFolderMacros(const std::string& path);
// The reverse, in the same order, so a path in a pictures folder that lies in
// the documents folder collapses to the pictures macro.
std::string CollapseFolderMacros(const std::string& path);
// For showing a path: the pictures folder becomes "Pictures", then the
// documents folder "Documents".
std::string DisplayFolderNames(const std::string& path);

// A settings path as the file system wants it: every "\" becomes "/".
std::string NativePath(const std::string& path);

// When no file exists at the (expanded, native, absolute) path:
// ShowAbortFmt("File not found \"%s\"", that path).
void CheckFileExists(const std::string& path);

// Every occurrence of what in text replaced by with, comparing ASCII letters
// without regard to case. An empty what changes nothing.
std::string ReplaceAllNoCase(const std::string& text, const std::string& what,
                             const std::string& with);

}  // namespace tw
