// The main window's twelve tool pointers: which pictures they are made
// from, their numbers and hot spots, and which of them take paint when the
// paint colour or the dropper changes.
#include <gtest/gtest.h>

#include <map>

#include "base/ErrorsU.h"
#include "palette/qt/ToolCursorsU.h"
#include "qtsupport/WidgetTestSupport.h"

namespace tw::test {
namespace {

constexpr TColor Grey = 0x808080;

// 64 x 64 pictures: every colour picture is grey with a black line down
// column 10, so paint poured in left of it stays left of it; every mask
// is black (opaque).
struct TFakeArt {
  std::vector<QString> Asked;
  std::map<QString, QSize> Sizes;

  QImage operator()(const QString& name) {
    Asked.push_back(name);
    const QSize size = Sizes.count(name) ? Sizes[name] : QSize(64, 64);
    QImage picture(size, QImage::Format_ARGB32);
    if (name.endsWith('M') || name.startsWith("qc_")) {
      picture.fill(Qt::black);
      return picture;
    }
    picture.fill(QColor(0x80, 0x80, 0x80));
    for (int y = 0; y < size.height() && size.width() > 10; ++y)
      picture.setPixel(10, y, qRgb(0, 0, 0));
    return picture;
  }
};

TPictureSource Source(TFakeArt& art) {
  return [&art](const QString& name) { return art(name); };
}

TColor ShownAt(int32_t id, QPoint p) {
  const QImage shown = CursorFromTable(id).pixmap().toImage().convertToFormat(QImage::Format_RGB32);
  return PixelAt(shown, p.x(), p.y());
}

class ToolCursors : public testing::Test {
 protected:
  void SetUp() override {
    ClearCursorTable();
    UninstallProgramCursors();
  }
  void TearDown() override {
    ClearCursorTable();
    UninstallProgramCursors();
  }
};

TEST_F(ToolCursors, CreatesAllTwelveFromTheirPictures) {
  TFakeArt art;
  TToolCursors cursors(true, Source(art));
  EXPECT_TRUE(cursors.UseImgCursors());
  const std::vector<QString> names = {"fill",     "brush",    "mbrush",   "dropper0",
                                      "dropper1", "dropper2", "dropper3", "dropper4",
                                      "dropper5", "marker",   "eraser",   "tap"};
  std::vector<QString> expected;
  for (const QString& name : names) {
    expected.push_back(name + "M");
    expected.push_back(name + "C");
  }
  expected.insert(expected.end(), {"qc_hand", "qc_arrow", "qc_no"});
  EXPECT_EQ(art.Asked, expected);
  const std::vector<QPoint> hotSpots = {{4, 60}, {0, 63}, {0, 63}, {4, 63}, {4, 63}, {4, 63},
                                        {4, 63}, {4, 63}, {4, 63}, {1, 62}, {4, 60}, {4, 63}};
  for (int32_t id = 1; id <= 12; ++id) {
    ASSERT_TRUE(HasCursorInTable(id)) << id;
    EXPECT_EQ(CursorFromTable(id).hotSpot(), hotSpots[size_t(id - 1)]) << id;
    ASSERT_NE(cursors.Cursor(id), nullptr);
    EXPECT_EQ(cursors.Cursor(id)->Id(), id);
  }
  EXPECT_EQ(cursors.Cursor(13), nullptr);
  EXPECT_EQ(ProgramCursor(TProgramCursor::Hand).hotSpot(), QPoint(13, 2));
}

TEST_F(ToolCursors, PaintGoesIntoTheBucketAndBrushesAtTheirColourPoints) {
  TFakeArt art;
  TToolCursors cursors(true, Source(art));
  EXPECT_EQ(cursors.ColorPoint(1), QPoint(4, 50));
  EXPECT_EQ(cursors.ColorPoint(2), QPoint(2, 62));
  EXPECT_EQ(cursors.ColorPoint(3), QPoint(2, 62));
  EXPECT_EQ(cursors.ColorPoint(7), QPoint(4, 59));
  cursors.TintPaint(0x3366CC);
  for (int32_t id = 1; id <= 3; ++id) {
    EXPECT_EQ(ShownAt(id, {0, 0}), TColor(0x3366CC)) << id;
    // The black line stops the paint.
    EXPECT_EQ(ShownAt(id, {11, 0}), Grey) << id;
  }
  for (int32_t id = 4; id <= 12; ++id) EXPECT_EQ(ShownAt(id, {0, 0}), Grey) << id;
}

TEST_F(ToolCursors, TheDropperTakesPaintForOneToFiveDrops) {
  TFakeArt art;
  TToolCursors cursors(true, Source(art));
  cursors.TintDropper(3, 0x00AA00);
  for (int32_t id = 1; id <= 12; ++id)
    EXPECT_EQ(ShownAt(id, {5, 5}), id == 7 ? TColor(0x00AA00) : Grey) << id;
  cursors.TintDropper(0, 0x0000AA);
  cursors.TintDropper(6, 0x0000AA);
  for (int32_t id = 1; id <= 12; ++id) EXPECT_NE(ShownAt(id, {5, 5}), TColor(0x0000AA)) << id;
  cursors.TintDropper(5, 0x0000AA);
  EXPECT_EQ(ShownAt(9, {5, 5}), TColor(0x0000AA));
}

TEST_F(ToolCursors, WithoutPicturePointersOnlyTheProgramPointersAreInstalled) {
  TFakeArt art;
  TToolCursors cursors(false, Source(art));
  EXPECT_FALSE(cursors.UseImgCursors());
  EXPECT_EQ(art.Asked, (std::vector<QString>{"qc_hand", "qc_arrow", "qc_no"}));
  EXPECT_FALSE(HasCursorInTable(1));
  EXPECT_EQ(CursorFromTable(2).shape(), Qt::ArrowCursor);
  EXPECT_EQ(ProgramCursor(TProgramCursor::No).hotSpot(), QPoint(15, 15));
  // Recolouring has nothing to do.
  cursors.TintPaint(0x123456);
  cursors.TintDropper(2, 0x123456);
  EXPECT_FALSE(HasCursorInTable(1));
}

TEST_F(ToolCursors, AMaskOfTheWrongSizeStopsTheStart) {
  TFakeArt art;
  art.Sizes["brushM"] = QSize(32, 32);
  try {
    TToolCursors cursors(true, Source(art));
    FAIL() << "no error";
  } catch (const EError& e) {
    EXPECT_STREQ(e.what(), "Error creating cursor 2: Mask/Color not same size (32x32 / 64x64)");
  }
}

}  // namespace
}  // namespace tw::test
