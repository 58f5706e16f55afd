// Looks the artwork up through a case-insensitive index of the resource
// folder, built once, and decodes it with the program's codecs.
#include "pictures/qt/ArtResourceU.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <cstring>

#include "base/ErrorsU.h"
#include "painter/image/ImageFileU.h"

namespace tw {

namespace {

QHash<QString, QString> IndexFolder(const QString& Folder) {
  QHash<QString, QString> result;
  QDirIterator it(Folder, QDir::Files);
  while (it.hasNext()) {
    const QString path = it.next();
    result.insert(QFileInfo(path).fileName().toLower(), path);
  }
  return result;
}

// Lower-case "name.ext" to the resource path, one index per set.
const QHash<QString, QString>& ArtIndex(int Scale = 1) {
  static const QHash<QString, QString> design = IndexFolder(QStringLiteral(":/art"));
  static const QHash<QString, QString> doubled = IndexFolder(QStringLiteral(":/art/2x"));
  return Scale == 2 ? doubled : design;
}

int ChosenScale(int Scale) { return Scale == 0 ? ScreenArtScale() : ArtScaleFor(Scale); }

QByteArray ReadArt(const QString& Name, const char* Extension, int Scale) {
  const QString path = ArtIndex(Scale).value((Name + QLatin1String(Extension)).toLower());
  QFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
    throw EError("The built-in picture \"" + Name.toStdString() + "\" is missing.");
  return file.readAll();
}

const uint8_t* Bytes(const QByteArray& Data) {
  return reinterpret_cast<const uint8_t*>(Data.constData());
}

}  // namespace

int ArtScaleFor(double DevicePixelRatio) { return DevicePixelRatio > 1.0 ? 2 : 1; }

namespace {
// Only the GUI thread loads artwork.
int ChosenScreenScale = 0;
}  // namespace

int ScreenArtScale() {
  if (ChosenScreenScale != 0) return ChosenScreenScale;
  const QScreen* primary = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
  return primary ? ArtScaleFor(primary->devicePixelRatio()) : 1;
}

void SetScreenArtScale(int Scale) { ChosenScreenScale = Scale == 0 ? 0 : ArtScaleFor(Scale); }

QSize DesignSize(const QImage& Picture) { return Picture.deviceIndependentSize().toSize(); }

QImage JpegResource(const QString& Name, int Scale) {
  const int scale = ChosenScale(Scale);
  const QByteArray data = ReadArt(Name, ".jpg", scale);
  const TRaster24 raster = DecodeImage(Bytes(data), size_t(data.size()));
  const QImage view(raster.Data(), raster.Width(), raster.Height(), qsizetype(raster.Stride()),
                    QImage::Format_RGB888);
  QImage image = view.convertToFormat(QImage::Format_RGB32);
  image.setDevicePixelRatio(scale);
  return image;
}

QImage PngResource(const QString& Name, int Scale) {
  const int scale = ChosenScale(Scale);
  const QByteArray data = ReadArt(Name, ".png", scale);
  const TRgbaImage rgba = DecodePngWithAlpha(Bytes(data), size_t(data.size()));
  QImage image(rgba.Width, rgba.Height, QImage::Format_RGBA8888);
  const size_t rowBytes = size_t(rgba.Width) * 4;
  for (int y = 0; y < rgba.Height; ++y)
    std::memcpy(image.scanLine(y), rgba.Pixels.data() + size_t(y) * rowBytes, rowBytes);
  QImage result = image.convertToFormat(QImage::Format_ARGB32);
  result.setDevicePixelRatio(scale);
  return result;
}

void LoadJpegResource(QImage& Picture, const QString& Name) { Picture = JpegResource(Name); }

void LoadPngResource(QImage& Picture, const QString& Name) { Picture = PngResource(Name); }

bool HasArtResource(const QString& Name) {
  const QString key = Name.toLower();
  return ArtIndex().contains(key + QLatin1String(".jpg")) ||
         ArtIndex().contains(key + QLatin1String(".png"));
}

QString InterfaceFontFamily() {
  static const QString family = [] {
    QString result;
    for (const char* file : {":/fonts/Andika-Regular.ttf", ":/fonts/Andika-Bold.ttf"}) {
      const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
      const QStringList families = QFontDatabase::applicationFontFamilies(id);
      if (result.isEmpty() && !families.isEmpty()) result = families.first();
    }
    return result.isEmpty() ? QGuiApplication::font().family() : result;
  }();
  return family;
}

}  // namespace tw
