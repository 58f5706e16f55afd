#include "palette/qt/ColorCursorU.h"

#include <QPixmap>
#include <QRect>
#include <cstdio>
#include <string>
#include <vector>

#include "base/ErrorsU.h"
#include "pictures/qt/ArtResourceU.h"

namespace tw {
namespace {

QImage LoadPicture(const QString& Name, const TPictureSource& Source) {
  return Source ? Source(Name) : PngResource(Name);
}

std::string CursorError(int32_t Id, const std::string& What) {
  return "Error creating cursor " + std::to_string(Id) + ": " + What;
}

// Replaces every pixel connected to start (up, down, left, right) that has
// start's colour by fill, a row span at a time with its own work stack.
void FillConnected(QImage& picture, const QPoint& start, QRgb fill) {
  if (!picture.rect().contains(start)) return;
  const int width = picture.width();
  const int height = picture.height();
  const QRgb target = picture.pixel(start) & RGB_MASK;
  const QRgb replacement = fill | ~RGB_MASK;
  if (target == (replacement & RGB_MASK)) return;
  const auto same = [target](const QRgb* line, int x) { return (line[x] & RGB_MASK) == target; };
  std::vector<QPoint> work{start};
  while (!work.empty()) {
    const QPoint seed = work.back();
    work.pop_back();
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(seed.y()));
    if (!same(line, seed.x())) continue;
    int left = seed.x();
    while (left > 0 && same(line, left - 1)) --left;
    int right = seed.x();
    while (right < width - 1 && same(line, right + 1)) ++right;
    for (int x = left; x <= right; ++x) line[x] = replacement;
    for (const int y : {seed.y() - 1, seed.y() + 1}) {
      if (y < 0 || y >= height) continue;
      const auto* next = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
      // One seed per run of the target colour above and below the span.
      for (int x = left; x <= right; ++x)
        if (same(next, x) && (x == left || !same(next, x - 1))) work.push_back({x, y});
    }
  }
}

}  // namespace

TColorCursor::TColorCursor(int32_t Id) : FId(Id) {}

void TColorCursor::LoadMask(const QString& Name, const TPictureSource& Source) {
  SetMaskPicture(LoadPicture(Name, Source));
}

void TColorCursor::LoadColor(const QString& Name, const TPictureSource& Source) {
  SetColorPicture(LoadPicture(Name, Source));
}

void TColorCursor::SetMaskPicture(const QImage& Picture) {
  const QImage source = Picture.convertToFormat(QImage::Format_ARGB32);
  QImage mask(source.size(), QImage::Format_Mono);
  mask.setDevicePixelRatio(source.devicePixelRatio());
  mask.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  mask.fill(0);
  for (int y = 0; y < source.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    for (int x = 0; x < source.width(); ++x)
      if (qAlpha(line[x]) >= 128 && qGray(line[x]) < 128) mask.setPixel(x, y, 1);
  }
  FMask = mask;
}

void TColorCursor::SetColorPicture(const QImage& Picture) {
  FColorUntouched = Picture.convertToFormat(QImage::Format_RGB32);
  FColor = FColorUntouched;
}

void TColorCursor::Build() {
  FCursor = QCursor();
  if (FColor.size() != FMask.size()) {
    char message[160];
    std::snprintf(message, sizeof message,
                  "Error creating cursor %d: Mask/Color not same size (%dx%d / %dx%d)", int(FId),
                  FMask.width(), FMask.height(), FColor.width(), FColor.height());
    throw EError(message);
  }
  if (FColor.isNull()) throw EError(CursorError(FId, "no picture is loaded."));
  if (!QRect(QPoint(0, 0), DesignSize(FColor)).contains(FHotSpot))
    throw EError(CursorError(FId, "the hot spot lies outside the picture."));
  QImage picture = FColor.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < picture.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < picture.width(); ++x)
      line[x] = FMask.pixelIndex(x, y) == 1 ? (line[x] | ~RGB_MASK) : 0;
  }
  // The pixmap keeps the pictures' ratio, so a denser set is drawn sharp
  // at the same size; the hot spot stays in design pixels.
  FCursor = QCursor(QPixmap::fromImage(picture), FHotSpot.x(), FHotSpot.y());
  SetCursorTable(FId, FCursor);
}

void TColorCursor::Tint(const QPoint& ColorPoint, TColor Color, bool Rebuild) {
  FColor = FColorUntouched.copy();
  // The colour point is in design pixels, like the hot spot.
  const QPoint Seed = ColorPoint * FColor.devicePixelRatio();
  FillConnected(FColor, Seed, qRgb(GetRValue(Color), GetGValue(Color), GetBValue(Color)));
  if (Rebuild) Build();
}

}  // namespace tw
