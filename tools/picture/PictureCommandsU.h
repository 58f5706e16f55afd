// The picture tool's three commands, each on parsed options: pack an image
// and its texts into a picture file, describe a picture file, and extract
// its image. Results go to out, warnings to err; failures are thrown as
// EError (unreadable or damaged files) or EAbort (after the picture loader
// has already reported the problem through the warning hook).
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "tools/picture/PictureToolArgsU.h"

namespace tw {

// Height and width as a picture file stores them ahead of its image;
// versions before 2 store none.
struct TStoredSize {
  int Width = 0;
  int Height = 0;
};

// Reads a picture file's header and texts again to get the stored size,
// which the loader replaces by the decoded size. Throws EError when the file
// ends early or is not a picture file.
std::optional<TStoredSize> ReadStoredSize(const std::string& fileName);

void RunPack(const TPackOptions& options, std::ostream& out, std::ostream& err);
// Returns ExitFailure when the texts could be shown but the image is damaged.
int RunInfo(const TInfoOptions& options, std::ostream& out);
void RunExtract(const TExtractOptions& options, std::ostream& out);

}  // namespace tw
