#include "app/ThumbnailMakerU.h"

#include <QBuffer>
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/ThumbnailKeyU.h"
#include "base/ErrorsU.h"
#include "painter/PainterU.h"
#include "painter/image/ImageFileU.h"
#include "pictures/QCGraphicU.h"
#include "pictures/QFoldersU.h"

namespace tw {

namespace {

// The PNG text key that holds a kept thumbnail's stamp.
const QString StampKey = QStringLiteral("TintwellStamp");

QImage ReadKept(const std::string& CacheFile, const std::string& Stamp) {
  QImage Kept;
  if (!Kept.load(QString::fromStdString(NativePath(CacheFile)), "PNG")) return {};
  if (Kept.text(StampKey) != QString::fromStdString(Stamp)) return {};
  return Kept.convertToFormat(QImage::Format_RGB32);
}

void Keep(QImage Image, const std::string& CacheFile, const std::string& Stamp) {
  Image.setText(StampKey, QString::fromStdString(Stamp));
  QByteArray Bytes;
  QBuffer Buffer(&Bytes);
  Buffer.open(QIODevice::WriteOnly);
  if (!Image.save(&Buffer, "PNG")) return;
  try {
    WriteFileAtomically(NativePath(CacheFile), std::vector<uint8_t>(Bytes.begin(), Bytes.end()));
  } catch (const EError&) {
    // Not kept: made again next time.
  }
}

QImage MakeThumbnail(const TThumbnailJob& Job) {
  TRaster24 Picture;
  try {
    Picture = ReadPictureImage(Job.PictureFile);
  } catch (const EError&) {
    return {};
  }
  if (Picture.IsEmpty()) return {};
  TPainterModel Model;
  Model.MaxHistory = 0;
  Model.LoadPicture(Picture);
  LoadColoring(Model, Job.Files, Job.StayColored);
  return ScaledThumbnail(Model.ColorLayer(), Job.Size);
}

}  // namespace

QImage ScaledThumbnail(const TRaster24& Layer, int Size) {
  if (Layer.IsEmpty() || Size <= 0) return {};
  const QImage View(Layer.Data(), Layer.Width(), Layer.Height(), qsizetype(Layer.Stride()),
                    QImage::Format_RGB888);
  const double Scale = double(Size) / std::max(Layer.Width(), Layer.Height());
  const int Width = std::max(1, int(std::lround(Layer.Width() * Scale)));
  const int Height = std::max(1, int(std::lround(Layer.Height() * Scale)));
  return View.scaled(Width, Height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
      .convertToFormat(QImage::Format_RGB32);
}

QImage LoadThumbnail(const TThumbnailJob& Job) {
  const std::string Stamp =
      ThumbnailStamp(Job.PictureFile, Job.Files, StoresColorings(Job.StayColored), Job.Size);
  if (!Job.CacheFile.empty()) {
    QImage Kept = ReadKept(Job.CacheFile, Stamp);
    if (!Kept.isNull()) return Kept;
  }
  QImage Made = MakeThumbnail(Job);
  if (!Made.isNull() && !Job.CacheFile.empty()) Keep(Made, Job.CacheFile, Stamp);
  return Made;
}

}  // namespace tw
