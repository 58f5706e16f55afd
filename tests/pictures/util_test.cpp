#include "pictures/QUtilU.h"

#include <gtest/gtest.h>

#include "base/ErrorsU.h"
#include "pictures/PictureTestUtil.h"
#include "base/TextCodingU.h"

namespace tw {
namespace {

TEST(FitScale, TakesTheSmallerRatio) {
  EXPECT_DOUBLE_EQ(FitScale(0, 0, 800, 600), 1.0);
  EXPECT_DOUBLE_EQ(FitScale(400, 0, 800, 600), 1.0);
  EXPECT_DOUBLE_EQ(FitScale(400, 300, 800, 900), 2.0);
  EXPECT_DOUBLE_EQ(FitScale(400, 300, 800, 600), 2.0);
  EXPECT_DOUBLE_EQ(FitScale(400, 300, 200, 600), 0.5);
}

TEST(FitSize, ScalesBothSidesAndRoundsTiesToEven) {
  int w = 800, h = 900;
  FitSize(400, 300, w, h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  // Scale 2.5: 1 x 2.5 = 2.5 rounds to 2, 3 x 2.5 = 7.5 rounds to 8.
  w = 5, h = 100;
  FitSize(2, 1, w, h);
  EXPECT_EQ(w, 5);
  EXPECT_EQ(h, 2);
  w = 5, h = 100;
  FitSize(2, 3, w, h);
  EXPECT_EQ(w, 5);
  EXPECT_EQ(h, 8);
  w = 640, h = 480;
  FitSize(0, 0, w, h);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
}

class AdjustForScrollBarsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FOldH = HorzScrollBarHeight();
    FOldV = VertScrollBarWidth();
    SetScrollBarSizes(H, V);
  }
  void TearDown() override { SetScrollBarSizes(FOldH, FOldV); }
  static constexpr int H = 17, V = 15;

 private:
  int FOldH = 0, FOldV = 0;
};

TEST_F(AdjustForScrollBarsTest, ContentThatFitsLeavesTheArea) {
  int w = 100, h = 100;
  EXPECT_TRUE(AdjustForScrollBars(100, 100, w, h));
  EXPECT_EQ(w, 100);
  EXPECT_EQ(h, 100);
}

TEST_F(AdjustForScrollBarsTest, TooWideContentTakesBothBars) {
  int w = 100, h = 100;
  EXPECT_FALSE(AdjustForScrollBars(101, 100, w, h));
  EXPECT_EQ(h, 100 - H);
  EXPECT_EQ(w, 100 - V);
}

TEST_F(AdjustForScrollBarsTest, OnlyTheNeededBarIsTaken) {
  int w = 100, h = 100;
  EXPECT_FALSE(AdjustForScrollBars(200, 50, w, h));
  EXPECT_EQ(w, 100);
  EXPECT_EQ(h, 100 - H);
  w = 100, h = 100;
  EXPECT_FALSE(AdjustForScrollBars(50, 150, w, h));
  EXPECT_EQ(w, 100 - V);
  EXPECT_EQ(h, 100);
}

TEST_F(AdjustForScrollBarsTest, AVerticalBarThatMakesTheAreaTooNarrowAddsTheHorizontalOne) {
  int w = 100, h = 100;
  EXPECT_FALSE(AdjustForScrollBars(90, 101, w, h));
  EXPECT_EQ(w, 100 - V);
  EXPECT_EQ(h, 100 - H);
}

TEST(FormatText, FillsPlaceholdersInOrder) {
  EXPECT_EQ(FormatText("File \"%s\" in %s", {"a.twf", "/tmp"}), "File \"a.twf\" in /tmp");
  EXPECT_EQ(FormatText("100%% sure", {}), "100% sure");
  EXPECT_EQ(FormatText("%s", {"%s%s"}), "%s%s");
}

TEST(FormatText, MismatchedPlaceholdersAreSafe) {
  EXPECT_EQ(FormatText("%s and %s and %s", {"one"}), "one and  and ");
  EXPECT_EQ(FormatText("just text", {"unused", "also unused"}), "just text");
  EXPECT_EQ(FormatText("%d %x %n %s %", {"s"}), "%d %x %n s %");
  EXPECT_EQ(FormatText("", {"x"}), "");
}

TEST(ShowAbort, ShowsTheMessageOnceThenAbortsSilently) {
  test::TWarningRecorder recorder;
  EXPECT_THROW(ShowAbort("Stop"), EAbort);
  EXPECT_THROW(ShowAbortFmt("%s, %s and %s", {"a"}), EAbort);
  EXPECT_THROW(ShowAbortFmt("no placeholder", {"a", "b"}), EAbort);
  EXPECT_EQ(recorder.Messages, (std::vector<std::string>{"Stop", "a,  and ", "no placeholder"}));
}

TEST(ShowAbort, TheAbortIsNotAGeneralError) {
  test::TWarningRecorder recorder;
  bool asError = false, asAbort = false;
  try {
    ShowAbort("x");
  } catch (const EError&) {
    asError = true;
  } catch (const EAbort&) {
    asAbort = true;
  }
  EXPECT_FALSE(asError);
  EXPECT_TRUE(asAbort);
}

TEST(ShowAbortKey, LooksTheKeyUpAndFormatsIt) {
  {
    test::TWarningRecorder recorder(
        std::map<std::string, std::string>{{"errCorrupt", "Picture %s is damaged"}});
    EXPECT_THROW(ShowAbortKey("errCorrupt", {"/a/b.twf"}), EAbort);
    EXPECT_THROW(ShowAbortKey("errUnknown", {"/a/b.twf"}), EAbort);
    EXPECT_EQ(recorder.Messages,
              (std::vector<std::string>{"Picture /a/b.twf is damaged", "errUnknown"}));
  }
  test::TWarningRecorder untranslated;
  EXPECT_EQ(TranslateKey("msgAnon"), "msgAnon");
  EXPECT_THROW(ShowAbortKey("errCorrupt", {"x"}), EAbort);
  EXPECT_EQ(untranslated.Messages, std::vector<std::string>{"errCorrupt"});
}

TEST(OpenDocument, GoesThroughTheHook) {
  const TOpenDocumentFunc old = OnOpenDocument;
  OnOpenDocument = nullptr;
  EXPECT_FALSE(OpenDocument("/tmp/x.pdf"));
  std::vector<std::string> opened;
  bool answer = true;
  OnOpenDocument = [&](const std::string& target) {
    opened.push_back(target);
    return answer;
  };
  EXPECT_FALSE(OpenDocument(""));
  EXPECT_TRUE(OpenDocument("https://example.org/"));
  answer = false;
  EXPECT_FALSE(OpenDocument("/tmp/x.pdf"));
  EXPECT_EQ(opened, (std::vector<std::string>{"https://example.org/", "/tmp/x.pdf"}));
  OnOpenDocument = old;
}

TEST(TextCoding, RecognisesWellFormedUtf8) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("plain"));
  EXPECT_TRUE(IsValidUtf8("Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xA8"));
  EXPECT_FALSE(IsValidUtf8("Caf\xE9"));
  EXPECT_FALSE(IsValidUtf8("\xC3"));               // cut short
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));           // overlong
  EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));       // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));       // surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));   // beyond U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\x80"));
}

TEST(TextCoding, Windows1252BytesBecomeTheirCharacters) {
  // Latin-1 range: U+00A0..U+00FF, two bytes C2/C3 then 80 + low 6 bits.
  for (int b = 0xA0; b <= 0xFF; ++b) {
    const std::string expected = {char(0xC0 | b >> 6), char(0x80 | (b & 0x3F))};
    EXPECT_EQ(Windows1252ToUtf8(std::string(1, char(b))), expected) << b;
  }
  EXPECT_EQ(Windows1252ToUtf8("A\x80\x99\x9F"), "A\xE2\x82\xAC\xE2\x84\xA2\xC5\xB8");
  EXPECT_EQ(Windows1252ToUtf8("\x81"), "\xC2\x81");
  for (int b = 0; b < 256; ++b)
    EXPECT_TRUE(IsValidUtf8(Windows1252ToUtf8(std::string(1, char(b))))) << b;
  EXPECT_EQ(PictureTextToUtf8("Caf\xC3\xA9"), "Caf\xC3\xA9");
  EXPECT_EQ(PictureTextToUtf8("Caf\xE9"), "Caf\xC3\xA9");
}

}  // namespace
}  // namespace tw
