#include "pictures/qt/QtPlatformU.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStyle>
#include <QUrl>

#include "pictures/QFoldersU.h"
#include "pictures/QUtilU.h"

namespace tw {

namespace {

std::string StandardFolder(QStandardPaths::StandardLocation location) {
  const QString folder = QStandardPaths::writableLocation(location);
  return folder.isEmpty() ? std::string() : QDir::cleanPath(folder).toStdString();
}

bool OpenWithDefaultHandler(const std::string& target) {
  const QString text = QString::fromStdString(target);
  // A path that names a file on disk is opened as a local file; anything
  // else (a web or mail address) is handed over as a URL.
  const QFileInfo file(QString::fromStdString(NativePath(target)));
  const QUrl url = file.exists() ? QUrl::fromLocalFile(file.absoluteFilePath())
                                 : QUrl(text, QUrl::TolerantMode);
  return url.isValid() && QDesktopServices::openUrl(url);
}

}  // namespace

void InstallPlatformHooks() {
  OnShowWarning = [](const std::string& message) {
    QMessageBox::warning(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                         QString::fromStdString(message), QMessageBox::Ok);
  };
  OnOpenDocument = OpenWithDefaultHandler;
  if (const QStyle* style = QApplication::style()) {
    const int extent = style->pixelMetric(QStyle::PM_ScrollBarExtent);
    SetScrollBarSizes(extent, extent);
  }
  SetDocumentsFolder(StandardFolder(QStandardPaths::DocumentsLocation));
  SetPicturesFolder(StandardFolder(QStandardPaths::PicturesLocation));
}

}  // namespace tw
