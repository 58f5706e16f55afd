// The program's built-in artwork and interface font, compiled into the
// program as Qt resources: pictures are found by name without regard to
// case (":/art/<Name>.jpg" or ".png") and decoded by the program's own
// codecs, so every machine shows exactly the same pixels.
//
// The artwork comes in two sets: the design size (":/art/") and twice that
// (":/art/2x/") for high-density screens. This is the one place that picks
// the set: a picture of the 2x set carries devicePixelRatio 2, so its
// deviceIndependentSize, and with it every layout, hit test and nine-slice
// margin measured in design pixels, is the same in both sets.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace tw {

// The artwork set for a device pixel ratio: 2 for any ratio above 1, 1
// otherwise.
int ArtScaleFor(double DevicePixelRatio);
// The set artwork is loaded from: the one the main window's screen asks for
// once it has said (SetScreenArtScale), else the primary screen's, 1 before
// the application exists.
int ScreenArtScale();
// The main window is on a screen that asks for Scale's set (1 or 2; 0 goes
// back to the primary screen's): artwork loaded from now on comes from it.
void SetScreenArtScale(int Scale);

// A JPEG picture as Format_RGB32 from the set of Scale (1 or 2, the
// screens' set when 0); throws EError "The built-in picture \"<Name>\" is
// missing." when there is none of that name.
QImage JpegResource(const QString& Name, int Scale = 0);
// A PNG picture as Format_ARGB32 with its alpha channel; as above.
QImage PngResource(const QString& Name, int Scale = 0);

// A picture's size in design pixels (its pixel size over its ratio).
QSize DesignSize(const QImage& Picture);

void LoadJpegResource(QImage& Picture, const QString& Name);
void LoadPngResource(QImage& Picture, const QString& Name);

// Whether a JPEG or PNG picture of that name is built in.
bool HasArtResource(const QString& Name);

// Registers the embedded interface font on first use and returns its
// family; the application's default family when it cannot be registered.
QString InterfaceFontFamily();

}  // namespace tw
