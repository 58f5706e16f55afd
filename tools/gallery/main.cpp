// Entry point of the developer gallery: shows every control and piece of
// artwork in one window, or with --screenshot FILE renders that window to
// a PNG file and exits (which also works on the offscreen platform).
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "GalleryU.h"
#include "controls/QDialogF.h"
#include "pictures/QUtilU.h"
#include "pictures/qt/QtPlatformU.h"
#include "settings/LangU.h"

namespace tw::gallery {

namespace {

// The language texts, from the lang folder beside the program (the build
// folder links the shipped one there); without it the keys show.
std::unique_ptr<TLang>& GalleryLang() {
  static std::unique_ptr<TLang> Lang;
  return Lang;
}

QString LangFolder() { return QCoreApplication::applicationDirPath() + "/lang"; }

void Usage() {
  std::fputs(
      "Usage: tintwell-gallery [--lang CODE] [--screenshot FILE]\n"
      "Shows every control and every built-in picture of Tintwell in one window.\n"
      "  --lang CODE        interface language of the texts (default en_us)\n"
      "  --screenshot FILE  render the whole gallery to the PNG file FILE and exit\n",
      stdout);
}

}  // namespace

std::string GalleryLanguage() { return GalleryLang() ? GalleryLang()->Language() : ""; }

std::vector<std::string> GalleryLanguages() {
  std::vector<std::string> Codes;
  const QStringList Files =
      QDir(LangFolder()).entryList({QStringLiteral("tintwell_*.ini")}, QDir::Files, QDir::Name);
  for (const QString& File : Files) {
    Codes.push_back(
        QFileInfo(File).completeBaseName().mid(QStringLiteral("tintwell_").size()).toStdString());
  }
  return Codes;
}

void SetGalleryLanguage(const std::string& Code) {
  if (GalleryLang() && !Code.empty()) GalleryLang()->SetLanguage(Code);
}

}  // namespace tw::gallery

int main(int argc, char** argv) {
  using namespace tw;
  using namespace tw::gallery;
  QApplication App(argc, argv);
  QString ScreenshotFile;
  std::string Language = "en_us";
  const QStringList Args = QCoreApplication::arguments();
  for (qsizetype I = 1; I < Args.size(); ++I) {
    if (Args[I] == QLatin1String("--screenshot") && I + 1 < Args.size()) {
      ScreenshotFile = Args[++I];
    } else if (Args[I] == QLatin1String("--lang") && I + 1 < Args.size()) {
      Language = Args[++I].toStdString();
    } else if (Args[I] == QLatin1String("--help") || Args[I] == QLatin1String("-h")) {
      Usage();
      return 0;
    } else {
      std::fprintf(stderr, "tintwell-gallery: unknown argument \"%s\"\n",
                   Args[I].toLocal8Bit().constData());
      Usage();
      return 2;
    }
  }

  try {
    InstallPlatformHooks();
    if (QDir(LangFolder()).exists()) {
      GalleryLang() = std::make_unique<TLang>(LangFolder().toStdString(), "tintwell");
      GalleryLang()->SetLanguage(Language);
      OnTranslate = [](const std::string& Key) { return GalleryLang()->GetText(Key); };
    }
    TGalleryWindow Window;
    SetMainForm(&Window);
    if (ScreenshotFile.isEmpty()) {
      Window.show();
      return App.exec();
    }
    Window.show();
    QCoreApplication::processEvents();
    const QImage Shot = Window.Screenshot();
    if (Shot.isNull() || !Shot.save(ScreenshotFile, "PNG")) {
      std::fprintf(stderr, "tintwell-gallery: cannot write the screenshot \"%s\"\n",
                   ScreenshotFile.toLocal8Bit().constData());
      return 1;
    }
    return 0;
  } catch (const std::exception& Error) {
    std::fprintf(stderr, "tintwell-gallery: %s\n", Error.what());
    return 1;
  }
}
