// A colouring page made from an image file a parent dropped on the window:
// the image read with the program's own readers, turned into line art
// (MakeColouringPage) and written as a picture file into the user's pages
// folder (pictures/CatalogEntryU.h), titled with the file's name in the
// child's language. The window decides when and adds the entry to the
// catalog; this does the file work. Knows no toolkit.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/ErrorsU.h"
#include "painter/RasterU.h"

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

// The page made from the image in File (the long part of making a page,
// safe to run on any thread). Progress hears the share done, 0 to 1, on
// the calling thread. Throws ENewPage (NoImage) when File holds no
// readable image.
TRaster24 ConvertToPage(const std::string& File,
                        const std::function<void(double)>& Progress = {});

// Writes Page, made from File, into the pages folder and returns its
// catalog entry, a file that neither existed nor is named by an entry of
// Catalog. Throws ENewPage (NotWritten) when it cannot be written; nothing
// is left behind then.
std::string WriteNewPage(const std::string& File, const TRaster24& Page,
                         const std::string& Language, const std::vector<std::string>& Catalog);

// Both: makes the page and returns its catalog entry.
std::string MakeNewPage(const std::string& File, const std::string& Language,
                        const std::vector<std::string>& Catalog);

}  // namespace tw
