// libFuzzer entry point over the paint model: the input's bytes choose an
// action sequence (presses, drags, every tool, mix mode and size, undo,
// wash, history depths, picture and layer loads, saves, scales), which runs
// on the engine and on the plain reference model together. Any difference
// after an action, a crash or a sanitizer report is a bug; the difference
// is printed with the actions that led to it.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/PainterSequence.h"

namespace {

// One work folder per fuzzing process for the saved files, removed at exit.
class TFuzzFolder {
 public:
  TFuzzFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tw-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    Path = pattern;
  }
  ~TFuzzFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(Path, ignored);
  }
  std::string Path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TFuzzFolder folder;
  tw::test::TByteChoices choices(data, size);
  tw::test::TPainterSequence sequence(folder.Path);
  std::vector<tw::test::TPainterAction> actions;
  // Bounded, so that one input never runs for long.
  while (!choices.Exhausted() && actions.size() < 400) {
    actions.push_back(sequence.Next(choices));
    const std::string what = sequence.Apply(actions.back());
    if (!what.empty()) {
      std::fprintf(stderr, "the engine and the reference differ: %s\n%s", what.c_str(),
                   tw::test::Describe(actions).c_str());
      std::abort();
    }
  }
  return 0;
}
