#include "pages/ColouringPageU.h"

namespace tw {

TRaster24 MakeColouringPage(const TRaster24& image, const TLineArtOptions& options, int maxSide,
                            TLineArtReport* report) {
  const TPictureSize fit = FitPictureSize(image.Width(), image.Height(), maxSide);
  TRaster24 page = MakeLineArt(image, options, report);
  if (fit.Width != page.Width() || fit.Height != page.Height())
    page = ShrinkDarkest(page, fit.Width, fit.Height);
  return page;
}

}  // namespace tw
