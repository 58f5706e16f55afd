#include "pictures/qt/QtPlatformU.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>

#include "pictures/QFoldersU.h"
#include "pictures/QUtilU.h"

namespace tw {
namespace {

// Installs the hooks for one test and puts the core's defaults back after.
class PlatformHooks : public ::testing::Test {
 protected:
  void SetUp() override {
    FOldH = HorzScrollBarHeight();
    FOldV = VertScrollBarWidth();
    InstallPlatformHooks();
  }
  void TearDown() override {
    OnShowWarning = nullptr;
    OnOpenDocument = nullptr;
    SetScrollBarSizes(FOldH, FOldV);
    SetDocumentsFolder("");
    SetPicturesFolder("");
  }

 private:
  int FOldH = 0, FOldV = 0;
};

std::string Expected(QStandardPaths::StandardLocation location) {
  const QString folder = QStandardPaths::writableLocation(location);
  return folder.isEmpty() ? std::string() : QDir::cleanPath(folder).toStdString();
}

TEST_F(PlatformHooks, ScrollBarSizesComeFromTheStyle) {
  const int extent = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  EXPECT_EQ(HorzScrollBarHeight(), extent);
  EXPECT_EQ(VertScrollBarWidth(), extent);
}

TEST_F(PlatformHooks, UserFoldersComeFromTheStandardLocations) {
  const std::string documents = Expected(QStandardPaths::DocumentsLocation);
  const std::string pictures = Expected(QStandardPaths::PicturesLocation);
  // Qt answers on every desktop; where it cannot, the core finds them itself.
  ASSERT_FALSE(documents.empty());
  ASSERT_FALSE(pictures.empty());
  EXPECT_EQ(DocumentsFolder(), documents);
  EXPECT_EQ(PicturesFolder(), pictures);
}

TEST_F(PlatformHooks, TheWarningIsAMessageBoxWithOneOkButton) {
  ASSERT_TRUE(OnShowWarning);
  ASSERT_TRUE(OnOpenDocument);
  QString text;
  int buttons = -1;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  // The box is modal: inspect and close it from the event loop it runs,
  // looking again until it shows.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      if (!box || !box->isVisible()) continue;
      text = box->text();
      buttons = int(box->buttons().size());
      icon = box->icon();
      poll.stop();
      box->button(QMessageBox::Ok)->click();
      return;
    }
  });
  poll.start(5);
  EXPECT_THROW(ShowAbort("Picture missing"), EAbort);
  EXPECT_EQ(text, "Picture missing");
  EXPECT_EQ(buttons, 1);
  EXPECT_EQ(icon, QMessageBox::Warning);
}

TEST_F(PlatformHooks, AnEmptyTargetIsNotOpened) { EXPECT_FALSE(OpenDocument("")); }

}  // namespace
}  // namespace tw
