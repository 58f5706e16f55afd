#include "settings/SettingsTextU.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>

namespace tw {
namespace {

// A second, independent reading of the integer form: a regular expression
// for the shape and the C library for the digits.
bool ReferenceParse(const std::string& text, int32_t& value) {
  static const std::regex shape(R"(^[ \t]*([+-]?)(?:(\$|0[xX]|[xX])([0-9a-fA-F]+)|([0-9]+))$)");
  std::smatch match;
  if (!std::regex_match(text, match, shape)) return false;
  const bool negative = match[1] == "-";
  const bool hex = match[2].matched;
  std::string digits = hex ? match[3].str() : match[4].str();
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
  if (digits.size() > (hex ? 8u : 10u)) return false;
  const unsigned long long magnitude = std::strtoull(digits.c_str(), nullptr, hex ? 16 : 10);
  if (hex) {
    const uint32_t pattern = uint32_t(magnitude);
    value = int32_t(negative ? uint32_t(0u - pattern) : pattern);
    return true;
  }
  const long long signedValue = negative ? -(long long)magnitude : (long long)magnitude;
  if (signedValue < INT32_MIN || signedValue > INT32_MAX) return false;
  value = int32_t(signedValue);
  return true;
}

TEST(SettingIntegerTest, AgreesWithTheReferenceOnRandomTexts) {
  const std::string alphabet = " \t+-$xX0123456789aAfFg";
  std::mt19937 random(20261207);
  int accepted = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const int length = int(random() % 13);
    for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    int32_t expected = 0;
    int32_t actual = 0;
    const bool expectedOk = ReferenceParse(text, expected);
    ASSERT_EQ(TryParseSettingInteger(text, actual), expectedOk) << "\"" << text << "\"";
    if (expectedOk) {
      ++accepted;
      ASSERT_EQ(actual, expected) << "\"" << text << "\"";
    }
  }
  // The alphabet is meant to produce both outcomes often.
  EXPECT_GT(accepted, 500);
}

TEST(SettingIntegerTest, RangeEdges) {
  int32_t value = 0;
  EXPECT_TRUE(TryParseSettingInteger("2147483647", value));
  EXPECT_EQ(value, INT32_MAX);
  EXPECT_FALSE(TryParseSettingInteger("2147483648", value));
  EXPECT_TRUE(TryParseSettingInteger("-2147483648", value));
  EXPECT_EQ(value, INT32_MIN);
  EXPECT_FALSE(TryParseSettingInteger("-2147483649", value));
  EXPECT_TRUE(TryParseSettingInteger("000000000000000000042", value));
  EXPECT_EQ(value, 42);
  EXPECT_TRUE(TryParseSettingInteger("$80000000", value));
  EXPECT_EQ(value, INT32_MIN);
  EXPECT_FALSE(TryParseSettingInteger("99999999999999999999999999", value));
}

TEST(SettingTextTest, FoldingAndTrimming) {
  EXPECT_EQ(LowerAsciiText("Palettes\\Palette0 \xC3\x89"), "palettes\\palette0 \xC3\x89");
  EXPECT_TRUE(SameTextAscii("MaxHistory", "MAXHISTORY"));
  EXPECT_FALSE(SameTextAscii("Main", "Mains"));
  // Only ASCII letters fold: E-acute in two cases stays two names.
  EXPECT_FALSE(SameTextAscii("\xC3\x89", "\xC3\xA9"));
  EXPECT_EQ(TrimBlanks(" \t a b \t"), "a b");
  EXPECT_EQ(TrimBlanks("   "), "");
}

}  // namespace
}  // namespace tw
