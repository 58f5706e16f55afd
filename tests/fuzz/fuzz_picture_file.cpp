// libFuzzer entry point over the picture file reader: any input, written to a
// .twf file, must either load or end in the silent abort (after its one
// message) or an EError; a crash, a sanitizer report or an escaping exception
// of another kind is a bug.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/ErrorsU.h"
#include "pictures/QCGraphicU.h"
#include "pictures/QUtilU.h"

namespace {

// One temporary file per fuzzing process, removed when it ends.
class TFuzzFile {
 public:
  TFuzzFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tw-fuzz-XXXXXX.twf").string();
    const int handle = mkstemps(pattern.data(), 4);
    if (handle < 0) std::abort();
    close(handle);
    Path = pattern;
  }
  ~TFuzzFile() { std::remove(Path.c_str()); }
  std::string Path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TFuzzFile file;
  tw::OnShowWarning = [](const std::string&) {};
  {
    std::FILE* out = std::fopen(file.Path.c_str(), "wb");
    if (!out) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, out) != size) std::abort();
    std::fclose(out);
  }
  tw::TQCGraphic graphic;
  try {
    graphic.LoadFromFile(file.Path);
  } catch (const tw::EAbort&) {
  } catch (const tw::EError&) {
  }
  // Reading every text and row makes a wrong length or size show up as a
  // sanitizer report here rather than later in the program.
  volatile size_t sum = 0;
  for (const tw::TPictureEntry& entry : graphic.Entries())
    sum = sum + entry.Language.size() + entry.Title.size() + entry.Author.size() +
          entry.Description.size();
  for (const std::string& code : {std::string(), std::string("en_us")})
    sum = sum + graphic.GetTitle(code).size() + graphic.GetDescription(code).size();
  const tw::TRaster24& image = graphic.Image();
  for (int y = 0; y < image.Height(); ++y) sum = sum + image.Row(y)[3 * image.Width() - 1];
  return 0;
}
