#include "pages/OutlinePageU.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <vector>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "base/ErrorsU.h"

namespace tw {
namespace {

// Sizes below are for a page of OutlineWorkingSide on its long side.
// Colours that k-means finds closer than this (in 8-bit Lab units) are one.
constexpr double SameColourDistance = 18;
constexpr int MostColours = 10;
// Pixels handed to k-means; the rest take the nearest colour found.
constexpr int ColourSamples = 24000;
// Dark strokes narrower than this stay lines; wider dark areas are regions
// and get outlines like any other colour.
constexpr int ThinLineWidth = 25;
// How much darker than its surroundings a thin stroke must be.
constexpr int ThinLineContrast = 40;
// Strokes at least this wide are thinned by as much.
constexpr int BoldStrokeWidth = 13;
// In a faint drawing, strokes need only this share of its strongest
// contrast, but never less than FaintestLineContrast.
constexpr double FaintLineShare = 0.35;
constexpr int FaintestLineContrast = 16;
// Strokes count as ink when less saturated or darker than these (0..255).
constexpr int InkSaturation = 90;
constexpr int InkValue = 110;
// Parts of a region narrower than this are the fringes anti-aliasing leaves
// between two colours, not regions of their own.
constexpr int SliverWidth = 5;
// Regions smaller than this share of the page join their neighbours.
constexpr double SmallRegionShare = 1.0 / 2500;
// Lines found are widened by this, so the boundaries between regions come
// out about 6 pixels wide.
constexpr int LineWidening = 5;
// When lines cover more than this share of the page, they are widened only
// by this, and then, if still too many, drawn on one side of each boundary.
constexpr double BusyBlackShare = 0.2;
constexpr int BusyLineWidening = 3;
// Gaps in a line up to about this wide are closed.
constexpr int GapWidth = 7;
constexpr int SmallestSpeck = 120;
constexpr int SmallestHole = 150;
// Pixels with every channel at least this count as the white paper around
// a drawing; the margin left around the drawing, in per cent of its size.
constexpr int NearWhite = 245;
constexpr int MarginPercent = 4;

cv::Mat Ellipse(int size) {
  return cv::getStructuringElement(cv::MORPH_ELLIPSE, {size, size});
}

// A kernel size scaled from the working side to the page's, kept odd.
int Scaled(int size, double unit) { return std::max(1, int(std::lround(size * unit)) | 1); }

void Report(const std::function<void(double)>& progress, double done) {
  if (progress) progress(done);
}

// The part of the image that holds the drawing: white margins around it are
// cut away, leaving a narrow white border, so the drawing fills the page.
cv::Mat DrawingArea(const cv::Mat& image) {
  cv::Mat white;
  cv::inRange(image, cv::Scalar(NearWhite, NearWhite, NearWhite), cv::Scalar(255, 255, 255),
              white);
  const cv::Rect drawn = cv::boundingRect(white == 0);
  if (drawn.empty()) return image;
  const int margin = 2 + std::max(drawn.width, drawn.height) * MarginPercent / 100;
  const cv::Rect kept = (drawn + cv::Size(2 * margin, 2 * margin) - cv::Point(margin, margin)) &
                        cv::Rect(0, 0, image.cols, image.rows);
  return image(kept);
}

cv::Mat ToWorkingSize(const cv::Mat& source) {
  const int longSide = std::max(source.cols, source.rows);
  int side = longSide;
  if (longSide < OutlineWorkingSide || longSide > OutlineLargestTracedSide) side = OutlineWorkingSide;
  cv::Mat work;
  if (side == longSide) {
    source.copyTo(work);
    return work;
  }
  const double scale = double(side) / longSide;
  const cv::Size size(std::max(1, int(std::lround(source.cols * scale))),
                      std::max(1, int(std::lround(source.rows * scale))));
  cv::resize(source, work, size, 0, 0, side > longSide ? cv::INTER_CUBIC : cv::INTER_AREA);
  return work;
}

// Runs k-means from a fixed seed, so the same image always gives the same
// page, and leaves the thread's own generator as it was.
void SeededKMeans(const cv::Mat& samples, int clusters, cv::Mat& centres) {
  cv::RNG& random = cv::theRNG();
  const uint64_t saved = random.state;
  random.state = 0x7137u;
  cv::Mat labels;
  cv::kmeans(samples, clusters, labels,
             cv::TermCriteria(cv::TermCriteria::EPS + cv::TermCriteria::COUNT, 12, 0.5), 1,
             cv::KMEANS_PP_CENTERS, centres);
  random.state = saved;
}

// The image's main colours in Lab: k-means over a sample of its pixels, with
// centres that lie close together merged into one.
std::vector<cv::Vec3f> MainColours(const cv::Mat& lab) {
  const double shrink =
      std::min(1.0, std::sqrt(double(ColourSamples) / (double(lab.rows) * lab.cols)));
  cv::Mat sample;
  cv::resize(lab, sample,
             cv::Size(std::max(1, int(lab.cols * shrink)), std::max(1, int(lab.rows * shrink))), 0,
             0, cv::INTER_NEAREST);
  cv::Mat samples;
  sample.reshape(1, sample.rows * sample.cols).convertTo(samples, CV_32F);
  const int clusters = std::min(MostColours, samples.rows);
  cv::Mat centres;
  SeededKMeans(samples, clusters, centres);

  std::vector<cv::Vec3f> colours;
  for (int i = 0; i < centres.rows; ++i) {
    const cv::Vec3f c(centres.at<float>(i, 0), centres.at<float>(i, 1), centres.at<float>(i, 2));
    const bool known = std::any_of(colours.begin(), colours.end(), [&](const cv::Vec3f& other) {
      return cv::norm(c - other) < SameColourDistance;
    });
    if (!known) colours.push_back(c);
  }
  return colours;
}

// Each pixel labelled 1.. with the nearest main colour.
cv::Mat NearestColourLabels(const cv::Mat& lab, const std::vector<cv::Vec3f>& colours) {
  cv::Mat labels(lab.size(), CV_8U);
  for (int y = 0; y < lab.rows; ++y) {
    const cv::Vec3b* in = lab.ptr<cv::Vec3b>(y);
    uint8_t* out = labels.ptr<uint8_t>(y);
    for (int x = 0; x < lab.cols; ++x) {
      float best = 1e30f;
      for (size_t i = 0; i < colours.size(); ++i) {
        const float d0 = in[x][0] - colours[i][0], d1 = in[x][1] - colours[i][1],
                    d2 = in[x][2] - colours[i][2];
        const float d = d0 * d0 + d1 * d1 + d2 * d2;
        if (d < best) {
          best = d;
          out[x] = uint8_t(i + 1);
        }
      }
    }
  }
  return labels;
}

// Fringes and small regions lose their label (0) and then take their
// neighbours' labels, growing in from all sides. Returns how many regions
// are left.
int MergeSmallRegions(cv::Mat& labels, int colours, double unit) {
  const cv::Mat sliver = Ellipse(Scaled(SliverWidth, unit));
  const int smallest = std::max(1, int(SmallRegionShare * labels.rows * labels.cols));
  cv::Mat unlabelled = cv::Mat::zeros(labels.size(), CV_8U);
  int regions = 0;
  for (int label = 1; label <= colours; ++label) {
    cv::Mat mask = labels == label;
    cv::Mat solid;
    cv::morphologyEx(mask, solid, cv::MORPH_OPEN, sliver);
    cv::Mat parts, stats, centroids;
    const int count = cv::connectedComponentsWithStats(solid, parts, stats, centroids, 4, CV_32S);
    std::vector<uint8_t> keep(size_t(count), 0);
    for (int part = 1; part < count; ++part) {
      keep[size_t(part)] = stats.at<int>(part, cv::CC_STAT_AREA) >= smallest;
      regions += keep[size_t(part)];
    }
    for (int y = 0; y < labels.rows; ++y) {
      const uint8_t* m = mask.ptr<uint8_t>(y);
      const int* p = parts.ptr<int>(y);
      uint8_t* u = unlabelled.ptr<uint8_t>(y);
      for (int x = 0; x < labels.cols; ++x)
        if (m[x] && !keep[size_t(p[x])]) u[x] = 255;
    }
  }
  labels.setTo(0, unlabelled);
  if (regions == 0) {
    labels.setTo(1);
    return 1;
  }
  const cv::Mat grow = cv::getStructuringElement(cv::MORPH_RECT, {3, 3});
  while (cv::countNonZero(unlabelled) > 0) {
    cv::Mat grown;
    cv::dilate(labels, grown, grow);
    grown.copyTo(labels, unlabelled);
    unlabelled = labels == 0;
  }
  return regions;
}

// Connected parts of mask (255) smaller than minSize are cleared; returns
// how many.
int ClearSmallParts(cv::Mat& mask, int minSize, int connectivity) {
  cv::Mat parts, stats, centroids;
  const int count =
      cv::connectedComponentsWithStats(mask, parts, stats, centroids, connectivity, CV_32S);
  std::vector<uint8_t> clear(size_t(count), 0);
  int cleared = 0;
  for (int part = 1; part < count; ++part)
    if (stats.at<int>(part, cv::CC_STAT_AREA) < minSize) {
      clear[size_t(part)] = 1;
      ++cleared;
    }
  if (cleared == 0) return 0;
  for (int y = 0; y < mask.rows; ++y) {
    const int* p = parts.ptr<int>(y);
    uint8_t* m = mask.ptr<uint8_t>(y);
    for (int x = 0; x < mask.cols; ++x)
      if (clear[size_t(p[x])]) m[x] = 0;
  }
  return cleared;
}

// The image's thin dark strokes: darker than their surroundings (a
// black-hat), and dark or grey, as pencil and ink lines are; thin strokes
// of bright colour are left to the regions. A faint drawing's strokes count
// when they stand out against its own strongest contrast.
cv::Mat ThinDarkStrokes(const cv::Mat& work, double unit) {
  cv::Mat grey, darker;
  cv::cvtColor(work, grey, cv::COLOR_RGB2GRAY);
  cv::morphologyEx(grey, darker, cv::MORPH_BLACKHAT, Ellipse(Scaled(ThinLineWidth, unit)));
  double strongest = 0;
  cv::minMaxLoc(darker, nullptr, &strongest);
  const double contrast =
      std::clamp(strongest * FaintLineShare, double(FaintestLineContrast), double(ThinLineContrast));
  cv::Mat hsv;
  cv::cvtColor(work, hsv, cv::COLOR_RGB2HSV);
  std::vector<cv::Mat> channels;
  cv::split(hsv, channels);
  const cv::Mat inky = (channels[1] < InkSaturation) | (channels[2] < InkValue);
  const cv::Mat strokes = (darker > contrast) & inky;
  // Bold strokes, mostly those of small pictures enlarged, are thinned from
  // both sides, so that they stay lines and do not swallow the page.
  const cv::Mat bold = Ellipse(Scaled(BoldStrokeWidth, unit));
  cv::Mat wide, core;
  cv::morphologyEx(strokes, wide, cv::MORPH_OPEN, bold);
  cv::erode(strokes, core, bold);
  return (strokes & ~wide) | core;
}

TRaster24 Trace(const TRaster24& image, const TOutlineOptions& options, TOutlineReport* report,
                const std::function<void(double)>& progress) {
  Report(progress, 0);
  TOutlineReport done;
  if (image.IsEmpty()) {
    if (report) *report = done;
    Report(progress, 1);
    return {};
  }
  const cv::Mat source(image.Height(), image.Width(), CV_8UC3,
                       const_cast<uint8_t*>(image.Data()), image.Stride());
  const cv::Mat drawing = DrawingArea(source);
  const cv::Mat work = ToWorkingSize(drawing);
  const double unit = double(std::max(work.cols, work.rows)) / OutlineWorkingSide;
  Report(progress, 0.15);

  // Large images are mostly photos: their simplified regions need no more
  // than half the page's detail, and tracing them at that is four times as
  // quick. Their lines are still found at the page's size.
  const bool reduced = std::max(drawing.cols, drawing.rows) > OutlineLargestTracedSide;
  cv::Mat regionImage = work;
  double regionUnit = unit;
  if (reduced) {
    cv::resize(work, regionImage, cv::Size(std::max(1, work.cols / 2), std::max(1, work.rows / 2)),
               0, 0, cv::INTER_AREA);
    regionUnit = unit / 2;
  }
  // Edge-keeping smoothing flattens photos and JPEG noise into even areas
  // and leaves the flat fills of drawings as they are.
  cv::Mat smooth;
  cv::bilateralFilter(regionImage, smooth, Scaled(9, regionUnit), 40, 6 * regionUnit);
  Report(progress, 0.35);

  cv::Mat lab;
  cv::cvtColor(smooth, lab, cv::COLOR_RGB2Lab);
  const std::vector<cv::Vec3f> colours = MainColours(lab);
  cv::Mat labels = NearestColourLabels(lab, colours);
  Report(progress, 0.55);

  done.Regions = MergeSmallRegions(labels, int(colours.size()), regionUnit);
  if (reduced) cv::resize(labels, labels, work.size(), 0, 0, cv::INTER_NEAREST);
  Report(progress, 0.75);

  // Boundaries on both sides of a region's edge, and on one side only, for
  // the busiest pictures.
  const cv::Mat strokes = ThinDarkStrokes(work, unit);
  cv::Mat bothSides, oneSide;
  cv::morphologyEx(labels, bothSides, cv::MORPH_GRADIENT,
                   cv::getStructuringElement(cv::MORPH_RECT, {3, 3}));
  cv::morphologyEx(labels, oneSide, cv::MORPH_GRADIENT,
                   cv::getStructuringElement(cv::MORPH_RECT, {2, 2}));
  // A busy picture gets thinner lines, so that its many small regions stay
  // open to the fill.
  const std::pair<const cv::Mat*, int> widths[] = {
      {&bothSides, LineWidening}, {&bothSides, BusyLineWidening}, {&oneSide, BusyLineWidening}};
  cv::Mat lines;
  for (const auto& [boundaries, widening] : widths) {
    cv::dilate((*boundaries > 0) | strokes, lines, Ellipse(Scaled(widening, unit)));
    cv::morphologyEx(lines, lines, cv::MORPH_CLOSE, Ellipse(Scaled(GapWidth, unit)));
    if (cv::countNonZero(lines) <= BusyBlackShare * lines.rows * lines.cols) break;
  }
  Report(progress, 0.9);

  const double area = unit * unit;
  done.SpecksRemoved = ClearSmallParts(
      lines, std::max(options.SpeckSize, int(SmallestSpeck * area)), 8);
  cv::Mat white = lines == 0;
  done.HolesFilled =
      ClearSmallParts(white, std::max(options.HoleSize, int(SmallestHole * area)), 4);

  TRaster24 page(work.cols, work.rows);
  for (int y = 0; y < work.rows; ++y) {
    const uint8_t* w = white.ptr<uint8_t>(y);
    uint8_t* out = page.Row(y);
    for (int x = 0; x < work.cols; ++x) out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = w[x];
  }
  if (report) *report = done;
  Report(progress, 1);
  return page;
}

}  // namespace

TRaster24 TraceOutlines(const TRaster24& image, const TOutlineOptions& options,
                        TOutlineReport* report, const std::function<void(double)>& progress) {
  if (options.SpeckSize < 0 || options.HoleSize < 0)
    throw EError("Speck and hole sizes cannot be negative.");
  // The tracing keeps to the calling thread: OpenCV's own worker threads
  // would live on idle for the rest of the program, and a page made in the
  // background leaves the other core to the child painting meanwhile.
  static const bool OneThread = (cv::setNumThreads(0), true);
  (void)OneThread;
  try {
    return Trace(image, options, report, progress);
  } catch (const cv::Exception& error) {
    // Mostly memory running out on a huge image: the caller tells the user.
    throw EError("The image could not be traced: " + error.msg);
  }
}

}  // namespace tw
