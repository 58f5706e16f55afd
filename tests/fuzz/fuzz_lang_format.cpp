// libFuzzer entry point over the language texts' formatting: the first line
// of the input is a text as a language file holds it, every further line an
// argument (a line starting with '#' an integer, the rest of it in decimal).
// Formatting must never crash, never read past its arguments and never
// grow beyond what the texts and the capped widths allow; without
// arguments every placeholder must vanish.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "settings/LangU.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Widths and precisions are capped at 1024 characters; an integer takes at
// most 20 more.
constexpr size_t MaxPlaceholderOutput = 1024 + 24;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t firstEnd = input.find('\n');
  const std::string format = input.substr(0, firstEnd);
  std::vector<tw::TFormatArg> args;
  size_t argBytes = 0;
  for (size_t at = firstEnd; at != std::string::npos && at < input.size();) {
    const size_t end = input.find('\n', at + 1);
    const std::string line = input.substr(at + 1, end == std::string::npos ? end : end - at - 1);
    at = end;
    if (!line.empty() && line[0] == '#')
      args.emplace_back(int64_t(std::strtoll(line.c_str() + 1, nullptr, 10)));
    else
      args.emplace_back(line);
    argBytes += line.size();
  }

  const std::vector<std::string> placeholders = tw::FormatPlaceholders(format);
  Check(placeholders.size() * 2 <= format.size());
  for (const std::string& p : placeholders) Check(p == "%s" || p == "%d");

  const std::string filled = tw::FormatLangText(format, args);
  Check(filled.size() <= format.size() + placeholders.size() * MaxPlaceholderOutput + argBytes);

  // No arguments: the placeholders vanish and "%%" halves, so the text can
  // only shrink.
  const std::string bare = tw::FormatLangText(format, {});
  Check(bare.size() <= format.size());
  return 0;
}
