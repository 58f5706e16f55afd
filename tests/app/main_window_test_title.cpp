// The title line on its white plate: for every shipped picture in every
// shipped language the drawn text (the pixels that differ from the bare
// title art) lies inside the plate with a pixel to spare, in a readable
// size; a title too long even at the smallest size ends in an ellipsis;
// ascenders and descenders sit balanced on the plate's height.
#include <QDir>
#include <QImage>
#include <QLabel>
#include <algorithm>
#include <deque>

#include "app/main_window_test_support.h"
#include "controls/QFitLabelU.h"
#include "settings/LangU.h"

namespace tw::test {
namespace {

// The plate: the light pixels of the bare title art reached from Seed
// through light pixels (the dark outline stops it).
std::vector<bool> PlateOf(const QImage& Art, QPoint Seed) {
  const auto Light = [&](int X, int Y) {
    const QColor c = Art.pixelColor(X, Y);
    return std::min({c.red(), c.green(), c.blue()}) >= 170;
  };
  std::vector<bool> Plate(size_t(Art.width() * Art.height()), false);
  std::deque<QPoint> Todo{Seed};
  while (!Todo.empty()) {
    const QPoint p = Todo.front();
    Todo.pop_front();
    if (!Art.rect().contains(p)) continue;
    const size_t At = size_t(p.y() * Art.width() + p.x());
    if (Plate[At] || !Light(p.x(), p.y())) continue;
    Plate[At] = true;
    for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
      Todo.push_back(p + d);
  }
  return Plate;
}

struct TInk {
  QRect Bounds;
  int Outside = 0;  // ink pixels on or next to a pixel outside the plate
  int Count = 0;
};

// Compares the window's title area with the bare art: every differing
// pixel is ink, and its four neighbours must be plate too.
TInk InkOn(const QImage& Shown, const QImage& Art, const std::vector<bool>& Plate) {
  TInk Result;
  const auto InPlate = [&](int X, int Y) {
    return Art.rect().contains(X, Y) && Plate[size_t(Y * Art.width() + X)];
  };
  for (int y = 0; y < Art.height(); ++y) {
    for (int x = 0; x < Art.width(); ++x) {
      if (Shown.pixel(x, y) == Art.pixel(x, y)) continue;
      ++Result.Count;
      Result.Bounds |= QRect(x, y, 1, 1);
      if (!InPlate(x, y) || !InPlate(x - 1, y) || !InPlate(x + 1, y) || !InPlate(x, y - 1) ||
          !InPlate(x, y + 1))
        ++Result.Outside;
    }
  }
  return Result;
}

class MainWindowTitle : public MainWindowFixture {
 protected:
  QLabel& TitleArt() const {
    auto* Art = FWindow->findChild<QLabel*>("imgTitle");
    EXPECT_NE(Art, nullptr);
    return *Art;
  }
  QImage Bare() const {
    return TitleArt().grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  QImage Shown() const {
    FWindow->TitleLabel().repaint();
    return FWindow->grab(TitleArt().geometry()).toImage().convertToFormat(QImage::Format_RGB32);
  }
  std::vector<bool> PlateArea() const {
    // The grabs are in the screen's pixels, twice the window's units each
    // way at a scale of 2.
    const QPoint Seed = (FWindow->TitleLabel().geometry().center() - TitleArt().pos()) *
                        FWindow->devicePixelRatioF();
    return PlateOf(Bare(), Seed);
  }
};

TEST_F(MainWindowTitle, EveryShippedTitleInEveryShippedLanguageLiesWithinThePlate) {
  const QStringList Pictures = QDir(QString::fromStdString(RepoData + "/catalog"))
                                   .entryList({QStringLiteral("*.twf")}, QDir::Files, QDir::Name);
  const QStringList LangFiles = QDir(QString::fromStdString(RepoData + "/lang"))
                                    .entryList({QStringLiteral("tintwell_*.ini")}, QDir::Files,
                                               QDir::Name);
  ASSERT_GE(Pictures.size(), 25);
  ASSERT_GE(LangFiles.size(), 10);
  std::vector<std::string> Catalog;
  for (const QString& Name : Pictures) {
    CopyShippedPicture(Name.toStdString());
    Catalog.push_back(Name.toStdString());
  }
  WriteDefaults(Catalog);
  TFMain& w = Start();
  const QImage Art = Bare();
  const std::vector<bool> Plate = PlateArea();
  ASSERT_GE(std::count(Plate.begin(), Plate.end(), true), 200 * 15) << "no plate found";
  int Elided = 0;
  for (int Picture = 0; Picture < int(Catalog.size()); ++Picture) {
    w.OpenPicture(Picture);
    for (const QString& File : LangFiles) {
      const std::string Code = File.mid(9, File.size() - 13).toStdString();
      Lang().SetLanguage(Code);
      w.UpdateTitle();
      const std::string What = Catalog[size_t(Picture)] + " in " + Code + ": " +
                               w.TitleLabel().text().toStdString();
      ASSERT_FALSE(w.TitleLabel().text().isEmpty()) << What;
      const TInk Ink = InkOn(Shown(), Art, Plate);
      // Screenshots of the window with every picture, for a person to
      // look at.
      if (const char* Folder = getenv("TINTWELL_WINDOW_SHOTS"))
        w.grab().save(QStringLiteral("%1/%2-%3.png")
                          .arg(QString::fromLocal8Bit(Folder), File.mid(9, File.size() - 13),
                               QString::fromStdString(Catalog[size_t(Picture)])));
      EXPECT_GT(Ink.Count, 20) << What;
      EXPECT_EQ(Ink.Outside, 0) << What << " crosses the plate at " << Ink.Bounds.x() << ","
                                << Ink.Bounds.y() << " " << Ink.Bounds.width() << "x"
                                << Ink.Bounds.height();
      EXPECT_GE(w.TitleLabel().ShownFont().pixelSize(), w.TitleLabel().MinPixelSize()) << What;
      const QString ShownText = w.TitleLabel().ShownText();
      if (ShownText != w.TitleLabel().text()) {
        // Shrunk as far as it goes and then cut short with an ellipsis.
        ++Elided;
        EXPECT_EQ(w.TitleLabel().ShownFont().pixelSize(), w.TitleLabel().MinPixelSize()) << What;
        EXPECT_TRUE(ShownText.endsWith(QChar(0x2026))) << What;
        EXPECT_TRUE(w.TitleLabel().text().startsWith(ShownText.chopped(1))) << What;
      }
    }
  }
  // Most titles show whole.
  EXPECT_LT(Elided, int(Catalog.size() * LangFiles.size()) / 4);
}

TEST_F(MainWindowTitle, AShortTitleKeepsTheFullSizeAndALongOneShrinksThenEndsInAnEllipsis) {
  const std::string Long(120, 'W');
  AddPicture("a.twf", "Apple", TwoAreaPicture(), "Ann");
  AddPicture("b.twf", "Ladybird", TwoAreaPicture(), "Architetto Francesco Rollandin");
  AddPicture("c.twf", Long, TwoAreaPicture(), "Ann");
  WriteDefaults({"a.twf", "b.twf", "c.twf"});
  TFMain& w = Start();
  const QImage Art = Bare();
  const std::vector<bool> Plate = PlateArea();
  const int FullSize = w.TitleLabel().font().pixelSize();
  EXPECT_EQ(w.TitleLabel().ShownText(), "Apple - Ann");
  EXPECT_EQ(w.TitleLabel().ShownFont().pixelSize(), FullSize);
  const TInk Short = InkOn(Shown(), Art, Plate);

  Press("btnNextPic");
  EXPECT_EQ(w.TitleLabel().ShownText(), "Ladybird - Architetto Francesco Rollandin");
  EXPECT_LT(w.TitleLabel().ShownFont().pixelSize(), FullSize);
  const TInk Shrunk = InkOn(Shown(), Art, Plate);
  EXPECT_EQ(Shrunk.Outside, 0);
  EXPECT_GT(Shrunk.Bounds.width(), Short.Bounds.width());

  Press("btnNextPic");
  EXPECT_EQ(w.TitleLabel().text(), QString::fromStdString(Long + " - Ann"));
  EXPECT_EQ(w.TitleLabel().ShownFont().pixelSize(), w.TitleLabel().MinPixelSize());
  EXPECT_TRUE(w.TitleLabel().ShownText().endsWith(QChar(0x2026)));
  EXPECT_TRUE(w.TitleLabel().ShownText().startsWith("WWW"));
  EXPECT_EQ(InkOn(Shown(), Art, Plate).Outside, 0);
}

TEST_F(MainWindowTitle, AscendersAndDescendersSitBalancedOnThePlate) {
  AddPicture("a.twf", "Hdl", TwoAreaPicture(), "gyp");
  WriteDefaults({"a.twf"});
  Start();
  const QImage Art = Bare();
  const std::vector<bool> Plate = PlateArea();
  const TInk Ink = InkOn(Shown(), Art, Plate);
  ASSERT_GT(Ink.Count, 0);
  // The plate's narrowest rows over the text's columns.
  int Top = 0, Bottom = Art.height();
  for (int x = Ink.Bounds.left(); x <= Ink.Bounds.right(); ++x) {
    int ColumnTop = -1, ColumnBottom = -1;
    for (int y = 0; y < Art.height(); ++y) {
      if (!Plate[size_t(y * Art.width() + x)]) continue;
      if (ColumnTop < 0) ColumnTop = y;
      ColumnBottom = y;
    }
    Top = std::max(Top, ColumnTop);
    Bottom = std::min(Bottom, ColumnBottom);
  }
  const int Above = Ink.Bounds.top() - Top;
  const int Below = Bottom - Ink.Bounds.bottom();
  EXPECT_GE(Above, 1);
  EXPECT_GE(Below, 1);
  EXPECT_LE(std::abs(Above - Below), FWindow->devicePixelRatioF()) << Above << " above, " << Below << " below";
}

}  // namespace
}  // namespace tw::test
