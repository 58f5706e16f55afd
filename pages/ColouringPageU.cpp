#include "pages/ColouringPageU.h"

namespace tw {

TRaster24 MakeColouringPage(const TRaster24& image, const TLineArtOptions& options, int maxSide,
                            TLineArtReport* report,
                            const std::function<void(double)>& progress) {
  TRaster24 page;
  if (options.Threshold == 0) {
    TOutlineReport traced;
    // The tracing takes nearly all the time; the shrinking the rest.
    auto tracing = [&progress](double done) {
      if (progress) progress(0.95 * done);
    };
    page = TraceOutlines(image, {options.SpeckSize, options.HoleSize}, &traced, tracing);
    if (report) *report = {0, traced.SpecksRemoved, traced.HolesFilled, traced.Regions};
  } else {
    if (progress) progress(0);
    page = MakeLineArt(image, options, report);
  }
  const TPictureSize fit = FitPictureSize(page.Width(), page.Height(), maxSide);
  if (fit.Width != page.Width() || fit.Height != page.Height())
    page = ShrinkDarkest(page, fit.Width, fit.Height);
  if (progress) progress(1);
  return page;
}

}  // namespace tw
