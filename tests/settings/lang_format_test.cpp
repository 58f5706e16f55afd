// Filling language texts: printf results for the supported placeholders and
// safety when a text and its arguments do not match.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "settings/LangU.h"

namespace tw {
namespace {

std::string Fmt(const std::string& format, const std::vector<TFormatArg>& args) {
  return FormatLangText(format, args);
}

TEST(LangFormatTest, StringsInOrder) {
  EXPECT_EQ(Fmt("File \"%s\" in %s", {std::string("a.twf"), std::string("/tmp")}), "File \"a.twf\" in /tmp");
}

TEST(LangFormatTest, IntegerWidthFlagsAndPrecision) {
  const std::vector<TFormatArg> seven = {int64_t{7}};
  EXPECT_EQ(Fmt("[%5d]", seven), "[    7]");
  EXPECT_EQ(Fmt("[%-5d]", seven), "[7    ]");
  EXPECT_EQ(Fmt("[%05d]", seven), "[00007]");
  EXPECT_EQ(Fmt("[%.3d]", seven), "[007]");
  EXPECT_EQ(Fmt("[%6.3d]", seven), "[   007]");
  // With a precision the zero flag no longer pads.
  EXPECT_EQ(Fmt("[%08.3d]", seven), "[     007]");
  EXPECT_EQ(Fmt("[%+d]", seven), "[+7]");
  EXPECT_EQ(Fmt("[% d]", seven), "[ 7]");
  EXPECT_EQ(Fmt("[%i]", {int64_t{-12}}), "[-12]");
  // Precision 0 writes no digits for 0.
  EXPECT_EQ(Fmt("[%.0d]", {int64_t{0}}), "[]");
  EXPECT_EQ(Fmt("%d", {INT64_MIN}), "-9223372036854775808");
}

TEST(LangFormatTest, SaveSizeTexts) {
  EXPECT_EQ(Fmt("Small (%d x %d)", {int64_t{150}, int64_t{112}}), "Small (150 x 112)");
}

TEST(LangFormatTest, StringWidthAndPrecisionCountCharacters) {
  EXPECT_EQ(Fmt("[%5s]", {std::string("ab")}), "[   ab]");
  EXPECT_EQ(Fmt("[%-5s]", {std::string("ab")}), "[ab   ]");
  EXPECT_EQ(Fmt("[%.2s]", {std::string("abcdef")}), "[ab]");
  // "äöü": three characters of two bytes each.
  EXPECT_EQ(Fmt("[%.2s]", {std::string("\xC3\xA4\xC3\xB6\xC3\xBC")}), "[\xC3\xA4\xC3\xB6]");
  EXPECT_EQ(Fmt("[%4s]", {std::string("\xC3\xA4\xC3\xB6")}), "[  \xC3\xA4\xC3\xB6]");
}

TEST(LangFormatTest, TooFewArgumentsGiveEmptyPlaceholders) {
  EXPECT_EQ(Fmt("%s and %s", {std::string("a")}), "a and ");
  EXPECT_EQ(Fmt("%d x %5d.", {}), " x .");
}

TEST(LangFormatTest, TooManyArgumentsAreIgnored) {
  EXPECT_EQ(Fmt("only %s", {std::string("one"), std::string("two"), int64_t{3}}), "only one");
  EXPECT_EQ(Fmt("none", {std::string("one")}), "none");
}

TEST(LangFormatTest, MismatchedTypes) {
  EXPECT_EQ(Fmt("%s", {int64_t{42}}), "42");
  EXPECT_EQ(Fmt("%s", {int64_t{-3}}), "-3");
  EXPECT_EQ(Fmt("%3d", {std::string("17")}), " 17");
  EXPECT_EQ(Fmt("%d", {std::string("abc")}), "0");
  EXPECT_EQ(Fmt("%d", {std::string("12abc")}), "0");
}

TEST(LangFormatTest, OtherPercentSequencesStayAsWritten) {
  EXPECT_EQ(Fmt("100%% sure", {}), "100% sure");
  EXPECT_EQ(Fmt("%x %n %p %f %*d %s", {std::string("a")}), "%x %n %p %f %*d a");
  EXPECT_EQ(Fmt("ends in %", {std::string("a")}), "ends in %");
  EXPECT_EQ(Fmt("%5", {int64_t{1}}), "%5");
  EXPECT_EQ(Fmt("%ld", {int64_t{1}}), "%ld");
}

TEST(LangFormatTest, HugeWidthIsCapped) {
  EXPECT_EQ(Fmt("%99999999999999999999d", {int64_t{1}}).size(), 1024u);
  EXPECT_EQ(Fmt("%.99999999999999999999d", {int64_t{1}}).size(), 1024u);
  EXPECT_EQ(Fmt("%99999999999s", {std::string("a")}).size(), 1024u);
}

TEST(LangFormatTest, PlaceholdersAreListedInOrder) {
  EXPECT_EQ(FormatPlaceholders("%s and %5.2d, 100%% %x %-3i %"),
            (std::vector<std::string>{"%s", "%d", "%d"}));
  EXPECT_TRUE(FormatPlaceholders("no placeholders | 50%%").empty());
}

// Random texts built from the characters formats are made of never read
// beyond their arguments: with no placeholder letters the text comes back
// with only "%%" folded, and with them the result stays within the bound
// that each placeholder adds at most its capped width or its argument.
TEST(LangFormatTest, RandomFormatsAreSafe) {
  std::mt19937 random(20261207);
  const std::string alphabet = "%%%sd-+ 0.9i|ab";
  for (int round = 0; round < 5000; ++round) {
    std::string format;
    int length = static_cast<int>(random() % 24);
    for (int i = 0; i < length; ++i) format += alphabet[random() % alphabet.size()];
    std::vector<TFormatArg> args;
    int count = static_cast<int>(random() % 4);
    for (int i = 0; i < count; ++i) {
      if (random() % 2 == 0)
        args.emplace_back(std::string(random() % 5, 'x'));
      else
        args.emplace_back(static_cast<int64_t>(random()) - 2147483648LL);
    }
    std::string result = FormatLangText(format, args);
    EXPECT_LE(result.size(), format.size() + args.size() * (1024 + 20)) << format;
    std::string plain;
    for (char c : format)
      if (c != 's' && c != 'd' && c != 'i') plain += c;
    std::string folded;
    for (size_t i = 0; i < plain.size(); ++i) {
      folded += plain[i];
      if (plain[i] == '%' && i + 1 < plain.size() && plain[i + 1] == '%') ++i;
    }
    EXPECT_EQ(FormatLangText(plain, args), folded) << plain;
  }
}

}  // namespace
}  // namespace tw
