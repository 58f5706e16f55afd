// The numbered file names the save and print dialogs offer: the stem, a dot,
// the number with at least three digits and the extension
// ("house.001.jpg"). The first free one counts from 1 and takes the lowest
// gap. A name is taken when anything has it (a file, a folder, a link,
// also one that leads nowhere); a name that cannot be checked counts as
// free, so writing it then reports why.
#pragma once

#include <functional>
#include <string>

namespace tw {

// Stem + "." + Number (at least three digits) + Extension.
std::string NumberedName(const std::string& Stem, int Number, const std::string& Extension);

// Whether something on disk has the name Path.
bool NameTakenOnDisk(const std::string& Path);

// The lowest-numbered name that Taken does not claim. Throws EError when
// every number up to a million is taken (a file system that claims every
// name exists).
std::string FirstFreeNumberedName(const std::string& Stem, const std::string& Extension,
                                  const std::function<bool(const std::string&)>& Taken =
                                      NameTakenOnDisk);

}  // namespace tw
