// How long the slowest picture takes to load: every file of the fuzz seed
// corpora (and of any folders named on the command line), and a set of
// crafted worst cases for the GIF decoder: images far larger than their
// screen, interlaced or not, that a few megabytes of LZW data can claim.
// Picture files go through the program's loader (TQCGraphic), image files
// through ReadImageFile; a refusal counts as a load, since it is the answer
// the user gets. Each file is loaded five times and its median is kept.
//
//   tintwell_picture_load [FOLDER...]
// The last lines, "slowest_crafted_ms N" and "slowest_corpus_ms N", are for
// bench/run-benchmarks.sh.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "painter/image/ImageFileU.h"
#include "pictures/QCGraphicU.h"
#include "pictures/QUtilU.h"
#include "base/TextCodingU.h"
#include "support/CraftedGif.h"

namespace {

using tw::test::TGifLayout;

struct TCase {
  std::string Name;
  TGifLayout Layout;
  int64_t StoredPixels = -1;
};

// The decoder's hard cases: the worst it still decodes and the ones it
// refuses or skips, each with up to 65535 x 65535 pixels of data.
std::vector<TCase> CraftedCases() {
  return {
      {"interlaced 65535x65535 in a 1x1 screen", {1, 1, 0, 0, 65535, 65535, true}},
      {"plain 65535x65535 in a 1x1 screen", {1, 1, 0, 0, 65535, 65535, false}},
      {"interlaced 65535x65535 in a 1x2 screen", {1, 2, 0, 0, 65535, 65535, true}},
      {"interlaced 65535x65535 in a 16384x2 screen", {16384, 2, 0, 0, 65535, 65535, true}},
      {"plain 65535x16384 in a 1x16384 screen", {1, 16384, 0, 0, 65535, 16384, false}},
      {"plain 65535x65535 in a 1x61 screen (most accepted)", {1, 61, 0, 0, 65535, 65535, false}},
      {"interlaced 65535x120 in a 1x2 screen (most accepted)", {1, 2, 0, 0, 65535, 120, true}},
      {"65535x65535 beside a 1x1 screen", {1, 1, 1, 0, 65535, 65535, true}},
      {"interlaced 65535x65535 in a 1x1 screen, cut short",
       {1, 1, 0, 0, 65535, 65535, true},
       65535 * 3},
  };
}

double MedianMs(const std::vector<double>& times) {
  std::vector<double> sorted = times;
  std::sort(sorted.begin(), sorted.end());
  return sorted[sorted.size() / 2];
}

// Loads the file as the program or the tools would and returns the
// median time of five loads, in milliseconds.
double TimeLoad(const std::string& file, std::string& outcome) {
  const bool picture = tw::EndsWithNoCase(file, ".twf");
  std::vector<double> times;
  for (int run = 0; run < 5; ++run) {
    std::vector<std::string> messages;
    tw::OnShowWarning = [&](const std::string& message) { messages.push_back(message); };
    const auto start = std::chrono::steady_clock::now();
    try {
      if (picture) {
        tw::TQCGraphic graphic;
        graphic.LoadFromFile(file);
        outcome = graphic.Image().IsEmpty() ? "refused" : std::to_string(graphic.Width()) + "x" +
                                                             std::to_string(graphic.Height());
      } else {
        const tw::TRaster24 image = tw::ReadImageFile(file);
        outcome = std::to_string(image.Width()) + "x" + std::to_string(image.Height());
      }
    } catch (const std::exception&) {
      outcome = "refused";
    }
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
    tw::OnShowWarning = nullptr;
  }
  return MedianMs(times);
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    if (entry.is_regular_file() && entry.path().filename() != "README.md")
      files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  std::string pattern = (std::filesystem::temp_directory_path() / "tw-picture-load-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::filesystem::path work = pattern;

  std::printf("%-58s %10s %10s %s\n", "Crafted picture file", "bytes", "median ms", "result");
  double slowestCrafted = 0;
  int number = 0;
  for (const TCase& c : CraftedCases()) {
    const std::string file = (work / ("crafted-" + std::to_string(++number) + ".twf")).string();
    tw::test::WriteRawPictureFile(file, tw::test::UniformGif(c.Layout, c.StoredPixels));
    std::string outcome;
    const double ms = TimeLoad(file, outcome);
    slowestCrafted = std::max(slowestCrafted, ms);
    std::printf("%-58s %10ju %10.2f %s\n", c.Name.c_str(),
                uintmax_t(std::filesystem::file_size(file)), ms, outcome.c_str());
  }

  std::vector<std::string> folders = {TINTWELL_FUZZ_DIR "/seeds", TINTWELL_FUZZ_DIR "/seeds-pictures",
                                      TINTWELL_FUZZ_DIR "/regressions"};
  for (int i = 1; i < argc; ++i) folders.push_back(argv[i]);
  std::printf("\n%-58s %10s %10s %s\n", "Corpus file", "bytes", "median ms", "result");
  double slowestCorpus = 0;
  std::string slowestName;
  size_t count = 0;
  for (const std::string& folder : folders)
    for (const std::string& file : FilesIn(folder)) {
      std::string outcome;
      const double ms = TimeLoad(file, outcome);
      ++count;
      if (ms > slowestCorpus) {
        slowestCorpus = ms;
        slowestName = file;
      }
      // Long corpora print only their slow files.
      if (count <= 40 || ms >= 10)
        std::printf("%-58s %10ju %10.2f %s\n",
                    std::filesystem::path(file).filename().string().c_str(),
                    uintmax_t(std::filesystem::file_size(file)), ms, outcome.c_str());
    }
  std::printf("%zu corpus files, the slowest %s\n", count, slowestName.c_str());

  std::error_code error;
  std::filesystem::remove_all(work, error);
  std::printf("slowest_crafted_ms %.2f\n", slowestCrafted);
  std::printf("slowest_corpus_ms %.2f\n", slowestCorpus);
  return 0;
}
