// A colouring page made from an image file a parent dropped on the window:
// the image read with the program's own readers, turned into line art
// (MakeColouringPage) and written as a picture file into the user's pages
// folder (pictures/CatalogEntryU.h), titled with the file's name in the
// child's language. The window decides when and adds the entry to the
// catalog; this does the file work. Knows no toolkit.
#pragma once

#include <string>
#include <vector>

#include "base/ErrorsU.h"

namespace tw {

// Why no page was made; what() says it for the log.
class ENewPage : public EError {
 public:
  enum TReason { NoImage, NotWritten };
  ENewPage(TReason Reason, const std::string& Message) : EError(Message), FReason(Reason) {}
  TReason Reason() const { return FReason; }

 private:
  TReason FReason;
};

// Whether the file begins like an image the program reads (PNG, JPEG, GIF,
// BMP). Never throws: a file that cannot be read is no image.
bool LooksLikeImageFile(const std::string& File);

// The title of a page made from File: its name without folder and extension,
// cut to what a picture file holds.
std::string NewPageTitle(const std::string& File);

// Makes the page and returns its catalog entry, a file in the pages folder
// that neither exists yet nor is named by an entry of Catalog. Throws
// ENewPage when File holds no readable image or the page cannot be
// written; nothing is left behind then.
std::string MakeNewPage(const std::string& File, const std::string& Language,
                        const std::vector<std::string>& Catalog);

}  // namespace tw
