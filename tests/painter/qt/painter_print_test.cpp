// Printing the picture: a real PDF job at the printer's native resolution,
// rendered back to pixels with pdftoppm, shows the picture fitted and centred
// on a landscape page with a dark frame and white margins.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <string>

#include "base/ErrorsU.h"
#include "painter/qt/PainterQtU.h"
#include "qtsupport/WidgetTestSupport.h"

namespace tw::test {
namespace {

constexpr TColor Yellow = 0x00FFFF;

bool IsYellow(QRgb c) { return qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) < 80; }
bool IsWhite(QRgb c) { return qRed(c) > 240 && qGreen(c) > 240 && qBlue(c) > 240; }
int Brightness(QRgb c) { return (qRed(c) + qGreen(c) + qBlue(c)) / 3; }

// A 400 x 300 picture painted yellow all over, without line art, so the only
// dark line on the page is the printed frame.
void LoadYellowPicture(TPainter& painter) {
  painter.LoadPicture(TRaster24(400, 300, clWhite));
  painter.SetPaintColor(Yellow);
  painter.SetPaintMode(pmFill);
  painter.ApplyToolAt({200, 150});
  ASSERT_EQ(painter.ColorLayer().Pixel(0, 0), Yellow);
  ASSERT_EQ(painter.ColorLayer().Pixel(399, 299), Yellow);
}

TEST(PainterPrint, PrintsFittedAndCentredOnALandscapePage) {
  const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
  if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString pdf = dir.filePath("picture.pdf");

  TPainter painter;
  ASSERT_NO_FATAL_FAILURE(LoadYellowPicture(painter));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  painter.PrintPicture(printer, "Colouring");
  EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
  EXPECT_EQ(printer.docName(), "Colouring");
  const int pageW = printer.width(), pageH = printer.height();
  ASSERT_GT(pageW, pageH);

  QProcess render;
  render.start(pdftoppm, {"-r", "50", "-png", "-singlefile", pdf, dir.filePath("page")});
  ASSERT_TRUE(render.waitForFinished(60000));
  ASSERT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
  const QImage page(dir.filePath("page.png"));
  ASSERT_FALSE(page.isNull());
  EXPECT_GT(page.width(), page.height());

  // The picture fills the page less 400 device pixels in the tighter
  // direction: f = min((pageW - 400) / 400, (pageH - 400) / 300). The page
  // is the printable area, which starts at the printer's own margin on the
  // paper; the PNG shows the whole paper at 50 dpi.
  const double fit = std::min((pageW - 400) / 400.0, (pageH - 400) / 300.0);
  const double toPng = 50.0 / printer.resolution();
  const QRectF printable = printer.pageRect(QPrinter::DevicePixel);
  const double w = fit * 400 * toPng, h = fit * 300 * toPng;
  const double centreX = (printable.left() + pageW / 2.0) * toPng;
  const double centreY = (printable.top() + pageH / 2.0) * toPng;

  int left = page.width(), right = -1, top = page.height(), bottom = -1;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x)
      if (IsYellow(page.pixel(x, y))) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  ASSERT_GE(right, 0) << "no picture on the page";
  // Centred, and as large as the fit says, within the pixel or two the frame
  // and the rendering's rounding take at this resolution.
  EXPECT_NEAR((left + right + 1) / 2.0, centreX, 2.0);
  EXPECT_NEAR((top + bottom + 1) / 2.0, centreY, 2.0);
  EXPECT_NEAR(right - left + 1, w, 4.0);
  EXPECT_NEAR(bottom - top + 1, h, 4.0);

  // A dark line runs just outside the yellow area on every side.
  const int midX = (left + right) / 2, midY = (top + bottom) / 2;
  auto darkNear = [&](int x, int y, int dx, int dy) {
    int darkest = 255;
    for (int i = 1; i <= 3; ++i) {
      const int px = x + i * dx, py = y + i * dy;
      if (px < 0 || py < 0 || px >= page.width() || py >= page.height()) break;
      darkest = std::min(darkest, Brightness(page.pixel(px, py)));
    }
    return darkest < 128;
  };
  EXPECT_TRUE(darkNear(left, midY, -1, 0));
  EXPECT_TRUE(darkNear(right, midY, 1, 0));
  EXPECT_TRUE(darkNear(midX, top, 0, -1));
  EXPECT_TRUE(darkNear(midX, bottom, 0, 1));

  // White margins all round, beyond the frame.
  const int margin = 5;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x) {
      const bool outside = x < left - margin || x > right + margin || y < top - margin ||
                           y > bottom + margin;
      if (outside) {
        ASSERT_TRUE(IsWhite(page.pixel(x, y))) << x << "," << y;
      }
    }
}

TEST(PainterPrint, APortraitPictureAsksForPortrait) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TPainter painter;
  painter.LoadPicture(TRaster24(300, 400, clWhite));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath("portrait.pdf"));
  painter.PrintPicture(printer, "Tall");
  EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
  EXPECT_TRUE(QFileInfo(dir.filePath("portrait.pdf")).size() > 0);
}

TEST(PainterPrint, AFailedPrintThrowsAClearError) {
  TPainter painter;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName("/nonexistent-folder/for/sure/picture.pdf");
  // No picture: nothing to print.
  EXPECT_THROW(painter.PrintPicture(printer, "Nothing"), EError);
  painter.LoadPicture(TRaster24(40, 30, clWhite));
  try {
    painter.PrintPicture(printer, "Nowhere");
    FAIL() << "printing to an unwritable file succeeded";
  } catch (const EError& e) {
    EXPECT_NE(std::string(e.what()).find("could not be printed"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace tw::test
