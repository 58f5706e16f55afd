// tintwell_colouring_pages: how good and how fast the pages made from
// dropped images are.
//
// Quality: a fixed, seeded sample of clip art (Debian's openclipart-png)
// made into pages; a page is good when a child finds at least three regions
// to fill (4-connected white regions, as the fill spreads, of at least 150
// pixels), black covers 3 to 25 % of it, and no region covers more than
// 90 % of it. A contact sheet of the first pages beside their images is
// written for a person to look at.
//
// Speed: a 12-megapixel photo-like image (smooth gradients, shapes, noise,
// the same every run) made into a page, the median of five runs.
//
//   tintwell_colouring_pages [--count N] [--seed N] [--clipart DIR] [--sheet FILE.png]
//                            [--verbose]
// Prints one line per figure: name value.
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "pages/ColouringPageU.h"
#include "painter/image/ImageFileU.h"

namespace fs = std::filesystem;
using namespace tw;

namespace {

struct TPageFigures {
  int Regions = 0;  // fillable: at least 150 pixels
  double BlackShare = 0;
  double LargestShare = 0;
  bool Good() const {
    return Regions >= 3 && BlackShare >= 0.03 && BlackShare <= 0.25 && LargestShare <= 0.9;
  }
};

// A plain breadth-first search over the white pixels, independent of the
// conversion's own region code.
TPageFigures Measure(const TRaster24& page) {
  const int w = page.Width(), h = page.Height();
  std::vector<uint8_t> seen(size_t(w) * size_t(h), 0);
  std::vector<int> queue;
  TPageFigures figures;
  int64_t black = 0;
  int largest = 0;
  for (int start = 0; start < w * h; ++start) {
    if (page.Pixel(start % w, start / w) != clWhite) {
      ++black;
      continue;
    }
    if (seen[size_t(start)]) continue;
    queue.assign(1, start);
    seen[size_t(start)] = 1;
    for (size_t next = 0; next < queue.size(); ++next) {
      const int x = queue[next] % w, y = queue[next] / w;
      const int around[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
      for (const auto& [nx, ny] : around) {
        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
        const int i = ny * w + nx;
        if (seen[size_t(i)] || page.Pixel(nx, ny) != clWhite) continue;
        seen[size_t(i)] = 1;
        queue.push_back(i);
      }
    }
    largest = std::max(largest, int(queue.size()));
    if (queue.size() >= 150) ++figures.Regions;
  }
  figures.BlackShare = double(black) / (double(w) * h);
  figures.LargestShare = double(largest) / (double(w) * h);
  return figures;
}

QImage ToQImage(const TRaster24& raster) {
  QImage image(raster.Width(), raster.Height(), QImage::Format_RGB888);
  for (int y = 0; y < raster.Height(); ++y)
    std::memcpy(image.scanLine(y), raster.Row(y), size_t(raster.Width()) * 3);
  return image;
}

// The image and its page side by side, four pairs a row.
void WriteSheet(const std::vector<std::pair<TRaster24, TRaster24>>& pairs,
                const std::string& file) {
  constexpr int Cell = 220, Across = 4;
  const int rows = int(pairs.size() + Across - 1) / Across;
  QImage sheet(Across * 2 * Cell, rows * Cell, QImage::Format_RGB888);
  sheet.fill(QColor(128, 128, 128));
  QPainter painter(&sheet);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  for (size_t i = 0; i < pairs.size(); ++i) {
    const int x = int(i % Across) * 2 * Cell, y = int(i / Across) * Cell;
    const TRaster24* both[2] = {&pairs[i].first, &pairs[i].second};
    for (int k = 0; k < 2; ++k) {
      const QImage scaled = ToQImage(*both[k]).scaled(Cell - 6, Cell - 6, Qt::KeepAspectRatio,
                                                      Qt::SmoothTransformation);
      painter.drawImage(x + k * Cell + 3, y + 3, scaled);
    }
  }
  painter.end();
  if (!sheet.save(QString::fromStdString(file))) std::cerr << "could not write " << file << "\n";
}

// Smooth colour gradients, overlapping shapes in flat and shaded colours,
// and sensor-like noise: what a photo gives the conversion to chew on.
TRaster24 MakePhotoLike(int width, int height) {
  TRaster24 image(width, height);
  std::mt19937 random(12);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = image.Row(y);
    for (int x = 0; x < width; ++x) {
      const double u = double(x) / width, v = double(y) / height;
      row[3 * x] = uint8_t(90 + 120 * u);
      row[3 * x + 1] = uint8_t(140 + 60 * std::sin(6 * v));
      row[3 * x + 2] = uint8_t(200 - 100 * v);
    }
  }
  std::uniform_int_distribution<int> px(0, width), py(0, height), radius(40, height / 5),
      channel(0, 255);
  for (int shape = 0; shape < 60; ++shape) {
    const int cx = px(random), cy = py(random), r = radius(random);
    const uint8_t colour[3] = {uint8_t(channel(random)), uint8_t(channel(random)),
                               uint8_t(channel(random))};
    const bool round = shape % 2 == 0;
    for (int y = std::max(0, cy - r); y < std::min(height, cy + r); ++y) {
      uint8_t* row = image.Row(y);
      for (int x = std::max(0, cx - r); x < std::min(width, cx + r); ++x) {
        const double d = std::hypot(x - cx, y - cy) / r;
        if (round && d > 1) continue;
        const double shade = 1 - 0.35 * d;
        for (int c = 0; c < 3; ++c) row[3 * x + c] = uint8_t(colour[c] * shade);
      }
    }
  }
  std::normal_distribution<double> noise(0, 6);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = image.Row(y);
    for (int x = 0; x < 3 * width; ++x)
      row[x] = uint8_t(std::clamp(int(row[x] + noise(random)), 0, 255));
  }
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  int count = 300;
  unsigned seed = 18;
  bool verbose = false;
  std::string clipart = "/usr/share/openclipart/png";
  std::string sheetFile = "colouring-pages.png";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--count" && hasValue) count = std::stoi(argv[++i]);
    else if (arg == "--seed" && hasValue) seed = unsigned(std::stoul(argv[++i]));
    else if (arg == "--clipart" && hasValue) clipart = argv[++i];
    else if (arg == "--sheet" && hasValue) sheetFile = argv[++i];
    else if (arg == "--verbose") verbose = true;
    else {
      std::cerr << "usage: " << argv[0]
                << " [--count N] [--seed N] [--clipart DIR] [--sheet FILE.png] [--verbose]\n";
      return 2;
    }
  }

  using TClock = std::chrono::steady_clock;
  auto milliseconds = [](TClock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
  };

  const TRaster24 photo = MakePhotoLike(4000, 3000);
  std::vector<double> times;
  TRaster24 photoPage;
  for (int run = 0; run < 5; ++run) {
    const auto start = TClock::now();
    photoPage = MakeColouringPage(photo);
    times.push_back(milliseconds(TClock::now() - start));
  }
  std::sort(times.begin(), times.end());
  std::cout << "photo_12mp_ms " << times[2] << "\n";

  std::vector<fs::path> files;
  std::error_code error;
  if (fs::is_directory(clipart, error))
    for (const auto& entry : fs::recursive_directory_iterator(clipart, error))
      // The package links some pictures into several folders; each counts once.
      if (!entry.is_symlink() && entry.is_regular_file() && entry.path().extension() == ".png")
        files.push_back(entry.path());
  if (files.empty()) {
    std::cerr << "no clip art in " << clipart << "; run scripts/install-deps.sh --bench\n";
    return 1;
  }
  std::sort(files.begin(), files.end());
  std::shuffle(files.begin(), files.end(), std::mt19937(seed));
  files.resize(std::min(files.size(), size_t(count)));

  int pages = 0, unreadable = 0, good = 0, enoughRegions = 0, blackInRange = 0, failed = 0;
  double slowest = 0, total = 0;
  std::vector<std::pair<TRaster24, TRaster24>> sheet;
  sheet.emplace_back(photo, photoPage);
  for (const fs::path& file : files) {
    TRaster24 image;
    try {
      image = ReadImageFile(file.string());
    } catch (const std::exception&) {
      ++unreadable;
      continue;
    }
    if (image.IsEmpty()) {
      ++unreadable;
      continue;
    }
    const auto start = TClock::now();
    TRaster24 page = MakeColouringPage(image);
    const double ms = milliseconds(TClock::now() - start);
    slowest = std::max(slowest, ms);
    total += ms;
    const TPageFigures figures = Measure(page);
    ++pages;
    good += figures.Good();
    enoughRegions += figures.Regions >= 3;
    blackInRange += figures.BlackShare >= 0.03 && figures.BlackShare <= 0.25;
    failed += figures.LargestShare > 0.9;
    if (verbose)
      std::cerr << file.filename().string() << " " << image.Width() << "x" << image.Height()
                << " regions " << figures.Regions << " black " << figures.BlackShare
                << " largest " << figures.LargestShare << (figures.Good() ? "" : " BAD") << "\n";
    if (sheet.size() < 24) sheet.emplace_back(std::move(image), std::move(page));
  }
  WriteSheet(sheet, sheetFile);

  auto percent = [pages](int n) { return pages ? 100.0 * n / pages : 0.0; };
  std::cout << "pages " << pages << "\n";
  std::cout << "unreadable " << unreadable << "\n";
  std::cout << "good_percent " << percent(good) << "\n";
  std::cout << "three_regions_percent " << percent(enoughRegions) << "\n";
  std::cout << "black_3_25_percent " << percent(blackInRange) << "\n";
  std::cout << "one_region_over_90_percent " << percent(failed) << "\n";
  std::cout << "mean_ms " << (pages ? total / pages : 0) << "\n";
  std::cout << "slowest_ms " << slowest << "\n";
  std::cout << "sheet " << sheetFile << "\n";
  return 0;
}
