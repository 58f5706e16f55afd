// The dialog base: its art and margins, running modally until a result is
// set or the window closes, the deferred step inside the modal loop, its
// language texts, centring over the main window and web-address links.
#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "controls/QDialogF.h"
#include "base/ErrorsU.h"
#include "pictures/QUtilU.h"
#include "qtsupport/WidgetTestSupport.h"

namespace tw::test {
namespace {

// Runs `step` once the modal loop that is about to start processes events.
void WhenRunning(std::function<void()> step) { QTimer::singleShot(0, std::move(step)); }

class TEndingDialog : public TfrmQDialog {
 public:
  int Runs = 0;
  bool ModalWhenRun = false;

 protected:
  void DeferredInit() override {
    ++Runs;
    ModalWhenRun = QApplication::activeModalWidget() == this;
    SetModalResult(mrYes);
  }
};

// Restores the program-wide hooks and main window a test changes.
class SkinnedDialog : public ::testing::Test {
 protected:
  void TearDown() override {
    OnTranslate = FOldTranslate;
    OnOpenDocument = FOldOpen;
    SetMainForm(nullptr);
  }

 private:
  TTranslateFunc FOldTranslate = OnTranslate;
  TOpenDocumentFunc FOldOpen = OnOpenDocument;
};

TEST_F(SkinnedDialog, HasTheDialogArtWithMarginsEight) {
  TfrmQDialog dialog;
  EXPECT_EQ(dialog.SliceSettings(), (TSlice9Settings{8, 8, 8, 8, false, false}));
  EXPECT_EQ(dialog.Picture().size(), QSize(24, 24));
  EXPECT_FALSE(dialog.Resizable());
  // No title bar: a dialog cannot be dragged.
  EXPECT_TRUE(dialog.CaptionRect().isEmpty());
  dialog.resize(464, 332);
  EXPECT_EQ(dialog.HitTest({10, 10}), htClient);
  // The art's corners land one to one in the dialog's corners.
  const QImage shown = dialog.grab().toImage();
  const QImage art = dialog.Picture();
  EXPECT_EQ(PixelAt(shown, 0, 0), PixelAt(art, 0, 0));
  EXPECT_EQ(PixelAt(shown, 463, 331), PixelAt(art, 23, 23));
  EXPECT_EQ(PixelAt(shown, 460, 2), PixelAt(art, 20, 2));
}

TEST_F(SkinnedDialog, ShowModalReturnsTheResultAButtonSets) {
  TfrmQDialog dialog;
  dialog.resize(200, 120);
  auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
  ok->setGeometry(20, 20, 60, 30);
  QObject::connect(ok, &QPushButton::clicked, ok,
                   [ok] { dynamic_cast<IModalForm*>(ok->window())->SetModalResult(mrOk); });
  bool wasModal = false;
  WhenRunning([&] {
    wasModal = QApplication::activeModalWidget() == &dialog && dialog.isVisible();
    QTest::mouseClick(ok, Qt::LeftButton);
  });
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_TRUE(wasModal);
  EXPECT_EQ(dialog.ModalResult(), mrOk);
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(SkinnedDialog, ClosingTheWindowGivesCancel) {
  TfrmQDialog dialog;
  dialog.resize(200, 120);
  WhenRunning([&] { dialog.close(); });
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  EXPECT_FALSE(dialog.isVisible());
  // A second run starts without a result.
  WhenRunning([&] { dialog.SetModalResult(mrNo); });
  EXPECT_EQ(dialog.ShowModal(), mrNo);
}

TEST_F(SkinnedDialog, SettingNoResultDoesNotEndTheLoop) {
  TfrmQDialog dialog;
  bool stillRunning = false;
  WhenRunning([&] {
    dialog.SetModalResult(mrNone);
    QTimer::singleShot(0, [&] {
      stillRunning = dialog.isVisible();
      dialog.SetModalResult(mrOk);
    });
  });
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_TRUE(stillRunning);
}

TEST_F(SkinnedDialog, DeferredInitRunsOnceInsideTheModalLoop) {
  TEndingDialog dialog;
  EXPECT_EQ(dialog.ShowModal(), mrYes);
  EXPECT_EQ(dialog.Runs, 1);
  EXPECT_TRUE(dialog.ModalWhenRun);
  WhenRunning([&] { dialog.SetModalResult(mrOk); });
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_EQ(dialog.Runs, 1);
}

TEST_F(SkinnedDialog, ShowingModallyTwiceAtOnceIsAnError) {
  TfrmQDialog dialog;
  bool threw = false;
  WhenRunning([&] {
    try {
      dialog.ShowModal();
    } catch (const EError&) {
      threw = true;
    }
    dialog.SetModalResult(mrOk);
  });
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_TRUE(threw);
}

TEST_F(SkinnedDialog, ADialogDestroyedWhileRunningEndsWithCancel) {
  auto* dialog = new TfrmQDialog;
  WhenRunning([dialog] { delete dialog; });
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
}

TEST_F(SkinnedDialog, TextsAreLookedUpUnderTheDialogsName) {
  std::vector<std::string> asked;
  OnTranslate = [&](const std::string& key) {
    asked.push_back(key);
    if (key == "DSaveSmall") return std::string("Small (%d \xC3\x97 %d)");
    return "[" + key + "]";
  };
  TfrmQDialog dialog;
  dialog.setObjectName(QStringLiteral("DOptions"));
  EXPECT_EQ(dialog.Text(QStringLiteral("Title")), QStringLiteral("[DOptionsTitle]"));
  dialog.setObjectName(QStringLiteral("DSave"));
  EXPECT_EQ(dialog.FormatText(QStringLiteral("Small"), {int64_t(640), int64_t(480)}),
            QString::fromUtf8("Small (640 \xC3\x97 480)"));
  EXPECT_EQ(asked, (std::vector<std::string>{"DOptionsTitle", "DSaveSmall"}));
}

TEST_F(SkinnedDialog, WithoutALanguageTheKeyIsTheText) {
  OnTranslate = nullptr;
  TfrmQDialog dialog;
  dialog.setObjectName(QStringLiteral("DClose"));
  EXPECT_EQ(dialog.Text(QStringLiteral("Prompt")), QStringLiteral("DClosePrompt"));
  EXPECT_EQ(dialog.FormatText(QStringLiteral("%s"), {std::string("x")}), QStringLiteral("DClosex"));
}

TEST_F(SkinnedDialog, IsCentredOverTheMainForm) {
  TfrmQBase main;
  main.setGeometry(100, 50, 800, 600);
  main.show();
  SetMainForm(&main);
  EXPECT_EQ(MainForm(), &main);
  TfrmQDialog dialog(&main);
  dialog.resize(464, 332);
  QRect seen;
  WhenRunning([&] {
    seen = dialog.geometry();
    dialog.SetModalResult(mrOk);
  });
  dialog.ShowModal();
  // (800 - 464) / 2 = 168 and (600 - 332) / 2 = 134 from the main form's corner.
  EXPECT_EQ(seen, QRect(268, 184, 464, 332));
}

TEST_F(SkinnedDialog, WithoutAMainFormItIsCentredOnTheScreen) {
  SetMainForm(nullptr);
  TfrmQDialog dialog;
  dialog.resize(300, 200);
  dialog.show();
  const QRect area = dialog.screen()->availableGeometry();
  EXPECT_EQ(dialog.pos(),
            QPoint(area.x() + (area.width() - 300) / 2, area.y() + (area.height() - 200) / 2));
}

TEST_F(SkinnedDialog, TheMainFormPointerForgetsADestroyedWindow) {
  auto main = std::make_unique<QWidget>();
  SetMainForm(main.get());
  EXPECT_EQ(MainForm(), main.get());
  main.reset();
  EXPECT_EQ(MainForm(), nullptr);
}

TEST_F(SkinnedDialog, AWebAddressLabelBecomesALink) {
  std::vector<std::string> opened;
  OnOpenDocument = [&](const std::string& target) {
    opened.push_back(target);
    return false;  // a refusal is ignored
  };
  QLabel label(QStringLiteral("HTTPS://Example.org/colouring"));
  label.resize(200, 20);
  TfrmQDialog::SetupLink(&label);
  TfrmQDialog::SetupLink(&label);
  EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);
  EXPECT_FALSE(label.font().underline());
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QCoreApplication::sendEvent(&label, &enter);
  EXPECT_TRUE(label.font().underline());
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(&label, &leave);
  EXPECT_FALSE(label.font().underline());
  QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(10, 10));
  // Set up twice, still opened once per click.
  EXPECT_EQ(opened, (std::vector<std::string>{"HTTPS://Example.org/colouring"}));
}

TEST_F(SkinnedDialog, OnlyTheThreePrefixesMakeALink) {
  std::vector<std::string> opened;
  OnOpenDocument = [&](const std::string& target) {
    opened.push_back(target);
    return true;
  };
  for (const char* text : {"http://a.example", "WWW.example.org", "https://b.example"}) {
    QLabel label(QString::fromLatin1(text));
    label.resize(200, 20);
    TfrmQDialog::SetupLink(&label);
    EXPECT_TRUE(label.testAttribute(Qt::WA_SetCursor)) << text;
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(10, 10));
  }
  EXPECT_EQ(opened.size(), 3u);
  for (const char* text : {"Visit www.example.org", "ftp://example.org", " http://x", "www"}) {
    QLabel label(QString::fromLatin1(text));
    label.resize(200, 20);
    TfrmQDialog::SetupLink(&label);
    EXPECT_FALSE(label.testAttribute(Qt::WA_SetCursor)) << text;
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&label, &enter);
    EXPECT_FALSE(label.font().underline()) << text;
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(10, 10));
  }
  EXPECT_EQ(opened.size(), 3u);
}

}  // namespace
}  // namespace tw::test
