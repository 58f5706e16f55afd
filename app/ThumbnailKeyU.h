// Where the picture chooser keeps its thumbnails and how it tells a kept
// one is still good. They live beside the kept colourings, in
// "$XDG_DATA_HOME/Tintwell/Thumbnails/", one file per catalog entry named
// like the entry's colouring files (ColoringFileStem), so no two entries
// share one. A thumbnail carries a stamp of everything it was made from:
// the picture file and both colouring files (size and modification time,
// or that the file is not there), whether kept colourings are shown at all,
// and the thumbnail's size. A thumbnail whose stamp differs from the
// stamp of the files now is stale, also when a colouring was deleted or a
// picture replaced by an older copy. Knows no toolkit.
#pragma once

#include <string>
#include <vector>

#include "app/ColoringStoreU.h"

namespace tw {

// With a trailing "/".
std::string ThumbnailFolder();

// The thumbnail file of a catalog entry in Folder (ending with "/").
std::string ThumbnailFileName(const std::string& Entry,
                              const std::string& Folder = ThumbnailFolder());

// The stamp of a thumbnail of Size pixels made now from PictureFile and the
// colouring Files (shown only when ShowColoring is set). Never throws: a
// file that cannot be looked at counts as not there.
std::string ThumbnailStamp(const std::string& PictureFile, const TColoringFiles& Files,
                           bool ShowColoring, int Size);

// Deletes the thumbnail files of the entries in Folder where they exist
// (with the colourings deleted at close, the thumbnails that show them go
// too). Never throws; a file that cannot be deleted is left.
void DeleteThumbnails(const std::vector<std::string>& Entries,
                      const std::string& Folder = ThumbnailFolder());

}  // namespace tw
