// The program's built-in artwork and interface font, compiled into the
// program as Qt resources: pictures are found by name without regard to
// case (":/art/<Name>.jpg" or ".png") and decoded by the program's own
// codecs, so every machine shows exactly the same pixels.
#pragma once

#include <QImage>
#include <QString>

namespace tw {

// A JPEG picture as Format_RGB32; throws EError "The built-in picture
// \"<Name>\" is missing." when there is none of that name.
QImage JpegResource(const QString& Name);
// A PNG picture as Format_ARGB32 with its alpha channel; throws as above.
QImage PngResource(const QString& Name);

void LoadJpegResource(QImage& Picture, const QString& Name);
void LoadPngResource(QImage& Picture, const QString& Name);

// Whether a JPEG or PNG picture of that name is built in.
bool HasArtResource(const QString& Name);

// Registers the embedded interface font on first use and returns its
// family; the application's default family when it cannot be registered.
QString InterfaceFontFamily();

}  // namespace tw
