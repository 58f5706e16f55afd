// The bubble hint: its window kind, placement towards the middle of the main
// window from each quarter, the text area of each direction, the lines it
// draws (bold centred title, subtitle, wrapped information) and the exact
// wrapping of the information text.
#include <gtest/gtest.h>

#include <QBitmap>
#include <QFontMetrics>
#include <ostream>
#include <vector>

#include "controls/QBubbleHintU.h"
#include "base/ErrorsU.h"
#include "tests/controls/ControlTestSupport.h"

// Readable failure messages for texts (found by argument lookup).
[[maybe_unused]] static void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace tw::test {
namespace {

using TPieces = std::vector<QString>;

// Every character 10 pixels wide, so the cases are plain arithmetic.
int TenPerChar(const QString& text) { return 10 * int(text.size()); }

TPieces Wrap(const QString& text, int width) { return WrapHintText(text, width, TenPerChar); }

TEST(BubbleWrap, PiecesNarrowerThanTheAreaStayWhole) {
  EXPECT_EQ(Wrap("ab cd", 60), (TPieces{"ab cd"}));
  // Strictly narrower: a piece exactly as wide as the area is cut.
  EXPECT_EQ(Wrap("ab cd", 50), (TPieces{"ab", "cd"}));
  EXPECT_TRUE(Wrap("", 50).empty());
}

TEST(BubbleWrap, TwoWordsOnTwoLinesWhenOnlyOneFits) {
  EXPECT_EQ(Wrap("first second", 70), (TPieces{"first", "second"}));
}

TEST(BubbleWrap, CutsAtTheLastSpaceThatFits) {
  EXPECT_EQ(Wrap("one two three four", 100), (TPieces{"one two", "three", "four"}));
  EXPECT_EQ(Wrap("one two three four", 140), (TPieces{"one two three", "four"}));
  EXPECT_EQ(Wrap("one two three four", 110), (TPieces{"one two", "three four"}));
}

TEST(BubbleWrap, AWordWiderThanTheAreaStandsAloneAndTheTextGoesOn) {
  EXPECT_EQ(Wrap("enormousword go on", 60), (TPieces{"enormousword", "go on"}));
  EXPECT_EQ(Wrap("go enormousword on", 60), (TPieces{"go", "enormousword", "on"}));
}

TEST(BubbleWrap, SpacesBeforeACutGoAndOnlyOneAfterIt) {
  // "ab   cd" is 70 wide: cut at the last space, the spaces before it go;
  // one character after "ab" goes, the next line keeps two spaces.
  EXPECT_EQ(Wrap("ab   cd", 50), (TPieces{"ab", "  cd"}));
  // Where even those spaces do not fit, they come out as empty lines.
  EXPECT_EQ(Wrap("ab   cd", 30), (TPieces{"ab", "", "", "cd"}));
}

TEST(BubbleWrap, LineBreaksOfEveryKindStartNewLines) {
  EXPECT_EQ(Wrap("a\r\nb\rc\nd", 200), (TPieces{"a", "b", "c", "d"}));
  // An empty line draws nothing.
  EXPECT_EQ(Wrap("a\n\nb\n", 200), (TPieces{"a", "b"}));
  EXPECT_EQ(Wrap("one two\nthree", 80), (TPieces{"one two", "three"}));
}

TEST(BubbleWrap, AreasWithoutRoomStillEnd) {
  EXPECT_EQ(Wrap("ab c", 0), (TPieces{"ab", "c"}));
  EXPECT_EQ(Wrap("ab c", -20), (TPieces{"ab", "c"}));
}

class BubbleHint : public ::testing::Test {
 protected:
  void SetUp() override {
    Main.setGeometry(100, 50, 400, 300);
    QFont font = Main.font();
    font.setPixelSize(13);
    Main.setFont(font);
    QPalette pal = Main.palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    Main.setPalette(pal);
    Main.show();
    Bubble = new TQBubbleHint(&Main);
  }

  // Distinct sizes per direction, so the chosen art shows in the size.
  void GiveDistinctArt() {
    Bubble->SetPicUpRight(Solid(60, 40, clWhite));
    Bubble->SetPicUpLeft(Solid(62, 41, clWhite));
    Bubble->SetPicDownRight(Solid(64, 42, clWhite));
    Bubble->SetPicDownLeft(Solid(66, 43, clWhite));
  }

  QPoint Origin() const { return Main.mapToGlobal(QPoint(0, 0)); }

  TPlainWindow Main;
  TQBubbleHint* Bubble = nullptr;  // owned by Main
};

TEST_F(BubbleHint, IsAFramelessInputTransparentPopUpOwnedByTheMainWindow) {
  EXPECT_TRUE(Bubble->isWindow());
  EXPECT_EQ(Bubble->parentWidget(), &Main);
  EXPECT_EQ(Bubble->MainWindow(), &Main);
  const Qt::WindowFlags flags = Bubble->windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowTransparentForInput));
  EXPECT_TRUE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
  EXPECT_TRUE(Bubble->testAttribute(Qt::WA_ShowWithoutActivating));
  EXPECT_TRUE(Bubble->testAttribute(Qt::WA_TranslucentBackground));
  EXPECT_TRUE(Bubble->testAttribute(Qt::WA_TransparentForMouseEvents));
  EXPECT_FALSE(Bubble->isVisible());
  EXPECT_THROW(TQBubbleHint(nullptr), EError);
}

TEST_F(BubbleHint, ShowingDoesNotTakeActivation) {
  ASSERT_TRUE(ShowActive(Main));
  GiveDistinctArt();
  Bubble->PlaceNear(QRect(10, 20, 30, 16));
  Bubble->show();
  SettlePaints();
  EXPECT_TRUE(Main.isActiveWindow());
  Bubble->hide();
}

TEST_F(BubbleHint, UpperLeftQuarterExtendsDownRightFromTheBottomRightCorner) {
  GiveDistinctArt();
  Bubble->PlaceNear(QRect(10, 20, 30, 16));
  EXPECT_EQ(Bubble->Dir(), dirDownRight);
  EXPECT_EQ(Bubble->geometry(), QRect(Origin() + QPoint(40, 36), QSize(64, 42)));
}

TEST_F(BubbleHint, UpperRightQuarterExtendsDownLeft) {
  GiveDistinctArt();
  Bubble->PlaceNear(QRect(350, 20, 30, 16));
  EXPECT_EQ(Bubble->Dir(), dirDownLeft);
  // Right edge at the control's left, top at the control's bottom.
  EXPECT_EQ(Bubble->geometry(), QRect(Origin() + QPoint(350 - 66, 36), QSize(66, 43)));
}

TEST_F(BubbleHint, LowerLeftQuarterExtendsUpRight) {
  GiveDistinctArt();
  Bubble->PlaceNear(QRect(10, 250, 30, 16));
  EXPECT_EQ(Bubble->Dir(), dirUpRight);
  EXPECT_EQ(Bubble->geometry(), QRect(Origin() + QPoint(40, 250 - 40), QSize(60, 40)));
}

TEST_F(BubbleHint, LowerRightQuarterEndsAtTheControlsTopLeftCorner) {
  GiveDistinctArt();
  Bubble->PlaceNear(QRect(300, 200, 40, 30));
  EXPECT_EQ(Bubble->Dir(), dirUpLeft);
  const QRect g = Bubble->geometry();
  EXPECT_EQ(g.size(), QSize(62, 41));
  EXPECT_EQ(QPoint(g.x() + g.width(), g.y() + g.height()), Origin() + QPoint(300, 200));
}

TEST_F(BubbleHint, ACentreOnTheCentreLinesCountsAsRightAndLower) {
  GiveDistinctArt();
  // Centre (200, 150): exactly the middle of the 400 x 300 window.
  Bubble->PlaceNear(QRect(180, 140, 40, 20));
  EXPECT_EQ(Bubble->Dir(), dirUpLeft);
  // One pixel up and left of it is in the upper left quarter.
  Bubble->PlaceNear(QRect(179, 139, 40, 20));
  EXPECT_EQ(Bubble->Dir(), dirDownRight);
}

TEST_F(BubbleHint, OverlapReachesIntoTheControl) {
  GiveDistinctArt();
  Bubble->SetOverlap(5);
  Bubble->PlaceNear(QRect(10, 20, 30, 16));
  EXPECT_EQ(Bubble->geometry().topLeft(), Origin() + QPoint(40 - 5, 36 - 5));
  Bubble->PlaceNear(QRect(300, 200, 40, 30));
  EXPECT_EQ(Bubble->geometry().topLeft(), Origin() + QPoint(300 + 5 - 62, 200 + 5 - 41));
}

TEST_F(BubbleHint, ChangingDirectionResizesKeepingTheTopLeft) {
  GiveDistinctArt();
  Bubble->move(Origin() + QPoint(7, 9));
  Bubble->SetDir(dirDownLeft);
  EXPECT_EQ(Bubble->geometry(), QRect(Origin() + QPoint(7, 9), QSize(66, 43)));
  Bubble->SetDir(dirUpRight);
  EXPECT_EQ(Bubble->geometry(), QRect(Origin() + QPoint(7, 9), QSize(60, 40)));
}

TEST_F(BubbleHint, TheTextAreaMirrorsTheMarginsWithTheArt) {
  for (TQHintDir d : {dirUpRight, dirUpLeft, dirDownRight, dirDownLeft})
    Bubble->SetPicture(d, Solid(229, 131, clWhite));
  Bubble->SetMarginLeft(5);
  Bubble->SetMarginRight(11);
  Bubble->SetMarginTop(7);
  Bubble->SetMarginBottom(30);
  auto area = [&](TQHintDir d) {
    Bubble->SetDir(d);
    const QRect a = Bubble->TextArea();
    return std::vector<int>{a.x(), a.y(), a.x() + a.width(), a.y() + a.height()};
  };
  EXPECT_EQ(area(dirUpRight), (std::vector<int>{5, 7, 229 - 11, 131 - 30}));
  EXPECT_EQ(area(dirUpLeft), (std::vector<int>{11, 7, 229 - 5, 131 - 30}));
  EXPECT_EQ(area(dirDownRight), (std::vector<int>{5, 30, 229 - 11, 131 - 7}));
  EXPECT_EQ(area(dirDownLeft), (std::vector<int>{11, 30, 229 - 5, 131 - 7}));
}

TEST_F(BubbleHint, DownRightTextStartsBelowTheTrail) {
  Bubble->SetPicDownRight(Solid(229, 131, clWhite));
  Bubble->SetMarginTop(8);
  Bubble->SetMarginLeft(8);
  Bubble->SetMarginBottom(48);
  Bubble->SetMarginRight(8);
  Bubble->SetSpacing(4);
  Bubble->SetDir(dirDownRight);
  Bubble->SetTextTitle("Undo");
  const std::vector<TQBubbleLine> lines = Bubble->TextLayout();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].Y, 48);
  EXPECT_EQ(Bubble->TextArea().bottom() + 1, 131 - 8);
}

TEST_F(BubbleHint, BoldCentredTitleSubtitleAndOneWordPerLine) {
  const QFont regularFont = Main.font();
  QFont boldFont = regularFont;
  boldFont.setBold(true);
  const QFontMetrics regular(regularFont);
  const QFontMetrics bold(boldFont);
  // Wide enough for either word alone, not for both.
  const int w = std::max(regular.horizontalAdvance("Paint"),
                         regular.horizontalAdvance("everything")) + 1;
  ASSERT_GE(regular.horizontalAdvance("Paint everything"), w);
  Bubble->SetPicUpRight(Solid(w + 16, 131, clWhite));
  Bubble->SetMarginLeft(8);
  Bubble->SetMarginRight(8);
  Bubble->SetMarginTop(8);
  Bubble->SetMarginBottom(48);
  Bubble->SetSpacing(4);
  Bubble->SetDir(dirUpRight);
  Bubble->SetTextTitle("Undo");
  Bubble->SetTextSubtitle("Take back");
  Bubble->SetTextInfo("Paint everything");

  auto centredX = [&](const QFontMetrics& m, const QString& s) {
    return 8 + (w - m.horizontalAdvance(s)) / 2;
  };
  const int subtitleY = 8 + bold.height() + 4;
  const int infoY = subtitleY + regular.height() + 4;
  const std::vector<TQBubbleLine> lines = Bubble->TextLayout();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].Text, "Undo");
  EXPECT_TRUE(lines[0].Bold);
  EXPECT_EQ(QPoint(lines[0].X, lines[0].Y), QPoint(centredX(bold, "Undo"), 8));
  EXPECT_EQ(lines[1].Text, "Take back");
  EXPECT_FALSE(lines[1].Bold);
  EXPECT_EQ(QPoint(lines[1].X, lines[1].Y), QPoint(centredX(regular, "Take back"), subtitleY));
  EXPECT_EQ(lines[2].Text, "Paint");
  EXPECT_EQ(QPoint(lines[2].X, lines[2].Y), QPoint(centredX(regular, "Paint"), infoY));
  EXPECT_EQ(lines[3].Text, "everything");
  EXPECT_EQ(QPoint(lines[3].X, lines[3].Y),
            QPoint(centredX(regular, "everything"), infoY + regular.height()));
}

TEST_F(BubbleHint, ALongInformationTextShrinksUntilItFitsTheBox) {
  Bubble->SetPicUpRight(Solid(229, 131, clWhite));
  Bubble->SetMarginLeft(8);
  Bubble->SetMarginRight(8);
  Bubble->SetMarginTop(8);
  Bubble->SetMarginBottom(48);
  Bubble->SetSpacing(4);
  Bubble->SetDir(dirUpRight);
  Bubble->SetTextTitle("Mix tray");
  Bubble->SetTextSubtitle("Your own colours");
  Bubble->SetTextInfo("Two words");
  const QRect area = Bubble->TextArea();
  const int regularHeight = QFontMetrics(Main.font()).height();
  // A short text keeps the window's font.
  std::vector<TQBubbleLine> lines = Bubble->TextLayout();
  ASSERT_EQ(lines.size(), 3u);
  const int shortTop = lines[2].Y;

  // A text needing several lines at the window's font is set smaller, and
  // every line ends inside the text area.
  Bubble->SetTextInfo(
      "Drop paint from the dropper into an empty well and mix new colours, then "
      "click the well to paint.");
  lines = Bubble->TextLayout();
  ASSERT_GT(lines.size(), 3u);
  EXPECT_EQ(lines[2].Y, shortTop);
  const int infoHeight = lines[3].Y - lines[2].Y;
  EXPECT_LT(infoHeight, regularHeight);
  EXPECT_LE(lines.back().Y + infoHeight, area.bottom() + 1);
  // The title and subtitle keep their size.
  QFont boldFont = Main.font();
  boldFont.setBold(true);
  EXPECT_EQ(lines[1].Y, area.y() + QFontMetrics(boldFont).height() + 4);
  EXPECT_EQ(lines[2].Y, lines[1].Y + regularHeight + 4);
}

TEST_F(BubbleHint, AWordWiderThanTheAreaOverhangsBothSides) {
  const QFontMetrics regular(Main.font());
  const int w = regular.horizontalAdvance("go") + 6;
  const int wide = regular.horizontalAdvance("Supercalifragilistic");
  ASSERT_GT(wide, w);
  Bubble->SetPicUpRight(Solid(w + 20, 131, clWhite));
  Bubble->SetMarginLeft(10);
  Bubble->SetMarginRight(10);
  Bubble->SetDir(dirUpRight);
  Bubble->SetTextInfo("Supercalifragilistic go");
  const std::vector<TQBubbleLine> lines = Bubble->TextLayout();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[2].Text, "Supercalifragilistic");
  EXPECT_EQ(lines[2].X, 10 + (w - wide) / 2);
  EXPECT_LT(lines[2].X, 10);
  EXPECT_EQ(lines[3].Text, "go");
}

TEST_F(BubbleHint, AnEmptyInfoTextDrawsOnlyTitleAndSubtitle) {
  Bubble->SetPicUpRight(Solid(160, 90, clWhite));
  Bubble->SetMarginLeft(8);
  Bubble->SetMarginRight(8);
  Bubble->SetMarginTop(8);
  Bubble->SetSpacing(4);
  Bubble->SetDir(dirUpRight);
  Bubble->SetTextTitle("Zoom");
  Bubble->SetTextSubtitle("Closer");
  const std::vector<TQBubbleLine> lines = Bubble->TextLayout();
  ASSERT_EQ(lines.size(), 2u);
  const QImage image = Bubble->grab().toImage();
  const int subtitleBottom = lines[1].Y + QFontMetrics(Main.font()).height();
  const QRect ink = InkBounds(image, clWhite);
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_GE(ink.top(), 8);
  EXPECT_LE(ink.bottom(), subtitleBottom);
  // Both lines have ink.
  EXPECT_FALSE(InkBounds(image, clWhite, QRect(0, lines[0].Y, 160, lines[1].Y - lines[0].Y))
                   .isEmpty());
  EXPECT_FALSE(
      InkBounds(image, clWhite, QRect(0, lines[1].Y, 160, subtitleBottom - lines[1].Y)).isEmpty());
}

TEST_F(BubbleHint, TheArtIsScaledOverTheWholeBubble) {
  Bubble->SetPicUpRight(Solid(20, 10, RGB(220, 40, 40)));
  Bubble->SetDir(dirUpRight);
  Bubble->resize(40, 20);
  const QImage image = Bubble->grab().toImage();
  EXPECT_EQ(InkBounds(image, RGB(220, 40, 40)), QRect());
  EXPECT_EQ(image.size(), QSize(40, 20));
}

TEST_F(BubbleHint, TheShapeFollowsTheArtsAlpha) {
  QImage art(60, 40, QImage::Format_ARGB32);
  art.fill(Qt::transparent);
  for (int y = 5; y < 30; ++y)
    for (int x = 10; x < 50; ++x) art.setPixel(x, y, qRgba(255, 255, 255, 255));
  // Faint pixels stay outside the shape.
  for (int x = 0; x < 60; ++x) art.setPixel(x, 35, qRgba(255, 255, 255, 64));
  Bubble->SetPicDownLeft(art);
  Bubble->SetDir(dirDownLeft);
  const QRegion shape = Bubble->mask();
  EXPECT_TRUE(shape.contains(QPoint(10, 5)));
  EXPECT_TRUE(shape.contains(QPoint(49, 29)));
  EXPECT_FALSE(shape.contains(QPoint(9, 5)));
  EXPECT_FALSE(shape.contains(QPoint(2, 2)));
  EXPECT_FALSE(shape.contains(QPoint(30, 35)));
  // Opaque art needs no shape.
  QImage opaque(60, 40, QImage::Format_RGB32);
  opaque.fill(Qt::white);
  Bubble->SetPicDownLeft(opaque);
  EXPECT_TRUE(Bubble->mask().isEmpty());
}

}  // namespace
}  // namespace tw::test
