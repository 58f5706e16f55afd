// Numbered file names and the search for the first free one.
#include "dialogs/NumberedNameU.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/ErrorsU.h"

namespace tw {

namespace {

// Far beyond any real number of saves or prints.
constexpr int MaxNumber = 1000000;

}  // namespace

std::string NumberedName(const std::string& Stem, int Number, const std::string& Extension) {
  char Digits[16];
  std::snprintf(Digits, sizeof Digits, "%.3d", Number);
  return Stem + "." + Digits + Extension;
}

bool NameTakenOnDisk(const std::string& Path) {
  std::error_code Error;
  const auto Status = std::filesystem::symlink_status(Path, Error);
  return !Error && Status.type() != std::filesystem::file_type::not_found;
}

std::string FirstFreeNumberedName(const std::string& Stem, const std::string& Extension,
                                  const std::function<bool(const std::string&)>& Taken) {
  for (int Number = 1; Number <= MaxNumber; ++Number) {
    std::string Name = NumberedName(Stem, Number, Extension);
    if (!Taken(Name)) return Name;
  }
  throw EError("No free file name is left for \"" + Stem + Extension + "\".");
}

}  // namespace tw
