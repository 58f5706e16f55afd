// The close and information dialogs: their layout, the answers the close
// dialog gives, the information dialog's texts and web-address subtitle,
// long texts wrapping inside the text area, and every shipped language's
// texts fitting their places.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "controls/ControlTestSupport.h"
#include "controls/QImgButtonU.h"
#include "dialogs/DlgCloseF.h"
#include "dialogs/DlgInfoF.h"
#include "palette/qt/CursorTableU.h"
#include "pictures/PictureTestUtil.h"
#include "pictures/QUtilU.h"
#include "pictures/qt/ArtResourceU.h"
#include "qtsupport/WidgetTestSupport.h"
#include "settings/ProgramGlobalsU.h"

namespace tw::test {
namespace {

std::filesystem::path LangFolder() {
#ifdef TINTWELL_TEST_DATA
  return std::filesystem::path(TINTWELL_TEST_DATA) / ".." / "data" / "lang";
#else
  // tests/dialogs/<this file> -> the repository's data/lang.
  return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "data" /
         "lang";
#endif
}

// The language codes of the shipped files lang/tintwell_<code>.ini.
std::vector<std::string> ShippedLanguages() {
  std::vector<std::string> codes;
  for (const auto& entry : std::filesystem::directory_iterator(LangFolder())) {
    const std::string name = entry.path().filename().string();
    const std::string prefix = "tintwell_";
    if (name.rfind(prefix, 0) == 0 && entry.path().extension() == ".ini") {
      codes.push_back(name.substr(prefix.size(), name.size() - prefix.size() - 4));
    }
  }
  return codes;
}

// Runs `step` on the modal dialog of type T once its loop processes events.
template <class T>
void WhenShown(std::function<void(T&)> step) {
  QTimer::singleShot(0, [step] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    step(*dialog);
  });
}

// A text of `count` words, so the test controls how long it is.
QString Words(int count) {
  QStringList words;
  const QStringList pool = {QStringLiteral("colour"), QStringLiteral("the"),
                            QStringLiteral("happy"),  QStringLiteral("dragon"),
                            QStringLiteral("with"),   QStringLiteral("bright"),
                            QStringLiteral("paints")};
  for (int i = 0; i < count; ++i) words << pool[i % pool.size()];
  return words.join(QLatin1Char(' '));
}

// Whether `label`'s wrapped text, drawn with its font in the given way,
// needs no more room than `width` x `height`.
bool FitsIn(const QLabel& label, int flags, int width, int height) {
  const QRect needed =
      QFontMetrics(label.font()).boundingRect(QRect(0, 0, width, height), flags, label.text());
  return needed.width() <= width && needed.height() <= height;
}

// Whether `label`'s font is the largest, from `maxSize` down to the
// smallest readable size, at which its text fits `width` x `height` (line
// boxes included).
bool HasLargestFittingSize(const QLabel& label, int flags, int maxSize, int width, int height) {
  const int size = label.font().pixelSize();
  if (size > maxSize || size < MinFittedPixelSize) return false;
  if (!FitsIn(label, flags, width, height)) return size == MinFittedPixelSize;
  if (size == maxSize) return true;
  QFont bigger = label.font();
  bigger.setPixelSize(size + 1);
  const QRect needed =
      QFontMetrics(bigger).boundingRect(QRect(0, 0, width, height), flags, label.text());
  return needed.width() > width || needed.height() > height;
}

// The bounds of the near-black pixels in `area` of `image`: the prompt's
// black text (nothing else in the dialog is that dark).
QRect DarkInk(const QImage& image, const QRect& area) {
  QRect bounds;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb c = image.pixel(x, y);
      if (qRed(c) < 60 && qGreen(c) < 60 && qBlue(c) < 60) bounds |= QRect(x, y, 1, 1);
    }
  return bounds;
}

// `shown` is `art` made `width` wide: as high, and its left and right
// (width - 2) / 2 columns (the rounded ends of a button) exactly the art's.
void ExpectArtFitted(const QImage& shown, const QImage& art, int width) {
  ASSERT_EQ(shown.size(), QSize(width, art.height()));
  const QImage a = art.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const QImage s = shown.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const int side = (std::min(width, art.width()) - 2) / 2;
  for (int y = 0; y < art.height(); ++y)
    for (int x = 0; x < side; ++x) {
      ASSERT_EQ(s.pixel(x, y), a.pixel(x, y)) << x << "," << y;
      ASSERT_EQ(s.pixel(width - 1 - x, y), a.pixel(art.width() - 1 - x, y)) << x << "," << y;
    }
}

class CloseInfoDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateProgramGlobals(FFolder.File("settings.sqlite3"), FFolder.File("default.ini"),
                         LangFolder().string());
    Lang().SetLanguage("en_us");
    OnTranslate = [](const std::string& key) { return Lang().GetText(key); };
    OnOpenDocument = [this](const std::string& target) {
      Opened.push_back(target);
      return true;
    };
  }
  void TearDown() override {
    FreeProgramGlobals();
    OnTranslate = nullptr;
    OnOpenDocument = nullptr;
    SetMainForm(nullptr);
  }

  std::vector<std::string> Opened;

 private:
  TTempFolder FFolder;
};

TEST_F(CloseInfoDialog, CloseDialogIsLaidOutAsDesigned) {
  TDClose dialog;
  EXPECT_EQ(dialog.objectName(), QStringLiteral("DClose"));
  EXPECT_EQ(dialog.size(), QSize(347, 174));
  EXPECT_EQ(dialog.txtPrompt->geometry(), QRect(20, 24, 309, 89));
  EXPECT_EQ(dialog.btnYes->geometry(), QRect(84, 122, 120, 36));
  EXPECT_EQ(dialog.btnNo->geometry(), QRect(212, 122, 120, 36));
  EXPECT_EQ(dialog.txtPrompt->text(), QStringLiteral("Do you want to stop?"));
  EXPECT_EQ(dialog.btnYes->Caption(), QStringLiteral("Yes"));
  EXPECT_EQ(dialog.btnNo->Caption(), QStringLiteral("No"));
  EXPECT_TRUE(dialog.txtPrompt->font().bold());
  EXPECT_TRUE(dialog.txtPrompt->wordWrap());
  EXPECT_EQ(dialog.txtPrompt->font().family(), InterfaceFontFamily());
  EXPECT_EQ(dialog.btnYes->FontColor(), clWhite);
  EXPECT_TRUE(dialog.btnYes->Font().bold());
  for (int look = 0; look < 4; ++look) {
    ExpectArtFitted(dialog.btnYes->Picture(TQImgButton::TLook(look)),
                    PngResource("btnGreen" + QString::number(look)), 120);
    ExpectArtFitted(dialog.btnNo->Picture(TQImgButton::TLook(look)),
                    PngResource("btnRed" + QString::number(look)), 120);
  }
}

TEST_F(CloseInfoDialog, ButtonArtKeepsBothEndsAtAnyWidth) {
  // A 10 x 3 picture whose every column has its own colour.
  QImage art(10, 3, QImage::Format_ARGB32);
  for (int x = 0; x < 10; ++x)
    for (int y = 0; y < 3; ++y) art.setPixel(x, y, qRgba(20 * x, y * 50, 100, x == 0 ? 128 : 255));
  ExpectArtFitted(ButtonArtForWidth(art, 8), art, 8);
  ExpectArtFitted(ButtonArtForWidth(art, 14), art, 14);
  EXPECT_EQ(ButtonArtForWidth(art, 10), art);
  // Narrowed to 8, the ends are 3 columns each (0-2 and 7-9) and the middle
  // (3-6) is laid from its left and cut after 2 columns.
  const QImage premultiplied = art.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const QImage narrow =
      ButtonArtForWidth(art, 8).convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const int source[8] = {0, 1, 2, 3, 4, 7, 8, 9};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(narrow.pixel(x, 1), premultiplied.pixel(source[x], 1)) << x;
  // Widened to 14, the ends are 4 columns each (0-3 and 6-9) and the
  // middle (4-5) repeats three times.
  const QImage wide =
      ButtonArtForWidth(art, 14).convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const int wideSource[14] = {0, 1, 2, 3, 4, 5, 4, 5, 4, 5, 6, 7, 8, 9};
  for (int x = 0; x < 14; ++x) {
    EXPECT_EQ(wide.pixel(x, 1), premultiplied.pixel(wideSource[x], 1)) << x;
  }
}

TEST_F(CloseInfoDialog, AShortPromptKeepsItsBigFont) {
  OnTranslate = [](const std::string& key) { return key == "DClosePrompt" ? "Stop?" : key; };
  TDClose dialog;
  EXPECT_EQ(dialog.txtPrompt->font().pixelSize(), 32);
  EXPECT_EQ(dialog.btnYes->Font().pixelSize(), 16);
}

TEST_F(CloseInfoDialog, ALongPromptShrinksUntilItFits) {
  const std::string prompt =
      "Do you really, really want to stop colouring this lovely picture right now?";
  OnTranslate = [&](const std::string& key) { return key == "DClosePrompt" ? prompt : key; };
  TDClose dialog;
  const QLabel& label = *dialog.txtPrompt;
  EXPECT_LT(label.font().pixelSize(), 32);
  EXPECT_GE(label.font().pixelSize(), MinFittedPixelSize);
  EXPECT_TRUE(FitsIn(label, Qt::AlignCenter | Qt::TextWordWrap, 309, 89));
  // One pixel bigger would not have fitted.
  QFont bigger = label.font();
  bigger.setPixelSize(bigger.pixelSize() + 1);
  const QRect needed = QFontMetrics(bigger).boundingRect(
      QRect(0, 0, 309, 89), Qt::AlignCenter | Qt::TextWordWrap, label.text());
  EXPECT_TRUE(needed.width() > 309 || needed.height() > 89);
}

TEST_F(CloseInfoDialog, YesAnswersTrue) {
  WhenShown<TDClose>([](TDClose& dialog) { QTest::mouseClick(dialog.btnYes, Qt::LeftButton); });
  EXPECT_TRUE(CloseDialogRun());
}

TEST_F(CloseInfoDialog, NoAnswersFalse) {
  WhenShown<TDClose>([](TDClose& dialog) { QTest::mouseClick(dialog.btnNo, Qt::LeftButton); });
  EXPECT_FALSE(CloseDialogRun());
}

TEST_F(CloseInfoDialog, ClosingTheWindowOrEscapeAnswersFalse) {
  WhenShown<TDClose>([](TDClose& dialog) { dialog.close(); });
  EXPECT_FALSE(CloseDialogRun());
  WhenShown<TDClose>([](TDClose& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
  EXPECT_FALSE(CloseDialogRun());
}

TEST_F(CloseInfoDialog, TheDialogBelongsToTheMainFormAndIsFreedAfterwards) {
  QWidget main;
  main.resize(800, 600);
  SetMainForm(&main);
  QPointer<TDClose> seen;
  WhenShown<TDClose>([&](TDClose& dialog) {
    seen = &dialog;
    EXPECT_EQ(dialog.parentWidget(), &main);
    dialog.btnYes->Click();
  });
  EXPECT_TRUE(CloseDialogRun());
  EXPECT_TRUE(seen.isNull());
  EXPECT_TRUE(main.findChildren<TDClose*>().isEmpty());
}

TEST_F(CloseInfoDialog, AMainFormGoingAwayWhileAskingAnswersFalse) {
  auto* main = new QWidget;
  SetMainForm(main);
  WhenShown<TDClose>([main](TDClose&) { delete main; });
  EXPECT_FALSE(CloseDialogRun());
}

TEST_F(CloseInfoDialog, InfoDialogIsLaidOutAsDesigned) {
  TDInfo dialog;
  EXPECT_EQ(dialog.objectName(), QStringLiteral("DInfo"));
  EXPECT_EQ(dialog.size(), QSize(615, 380));
  EXPECT_EQ(dialog.txtTitle->geometry(), QRect(16, 12, 583, 33));
  EXPECT_EQ(dialog.txtPrompt->geometry(), QRect(16, 56, 580, 271));
  EXPECT_EQ(dialog.txtSubtitle->geometry(), QRect(16, 336, 460, 23));
  EXPECT_EQ(dialog.btnOK->geometry(), QRect(479, 330, 120, 36));
  EXPECT_EQ(dialog.btnOK->Caption(), QStringLiteral("OK"));
  EXPECT_EQ(dialog.txtTitle->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
  EXPECT_EQ(dialog.txtTitle->palette().color(QPalette::WindowText), QColor(0, 0, 128));
  EXPECT_EQ(dialog.txtPrompt->palette().color(QPalette::WindowText), QColor(0, 0, 0));
  EXPECT_EQ(dialog.txtSubtitle->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_EQ(dialog.txtTitle->font().pixelSize(), 24);
  EXPECT_TRUE(dialog.txtPrompt->font().bold());
  EXPECT_TRUE(dialog.txtSubtitle->font().bold());
  ExpectArtFitted(dialog.btnOK->Picture(TQImgButton::lkNormal), PngResource("btnGreen0"), 120);
}

TEST_F(CloseInfoDialog, EveryTextTakesTheLargestSizeThatFits) {
  const int oneLine = Qt::AlignLeft | Qt::AlignVCenter;
  TDInfo dialog;
  dialog.SetTexts(QStringLiteral("The Dragon"), QStringLiteral("Text"),
                  QStringLiteral("www.example.org"));
  EXPECT_TRUE(HasLargestFittingSize(*dialog.txtTitle, Qt::AlignCenter, 24, 583, 33));
  EXPECT_TRUE(HasLargestFittingSize(*dialog.txtSubtitle, oneLine, 16, 460, 23));
  EXPECT_EQ(dialog.txtPrompt->font().pixelSize(), 16);
  const int shortSize = dialog.txtSubtitle->font().pixelSize();
  // A subtitle far too wide for its line shrinks further.
  const QString address = QStringLiteral("https://example.org/") + QString(60, QLatin1Char('x'));
  dialog.SetTexts(QStringLiteral("The Dragon"), QStringLiteral("Text"), address);
  EXPECT_LT(dialog.txtSubtitle->font().pixelSize(), shortSize);
  EXPECT_TRUE(HasLargestFittingSize(*dialog.txtSubtitle, oneLine, 16, 460, 23));
}

TEST_F(CloseInfoDialog, InfoDialogRunShowsTheTextsUntilOK) {
  QString title, prompt, subtitle;
  WhenShown<TDInfo>([&](TDInfo& dialog) {
    title = dialog.txtTitle->text();
    prompt = dialog.txtPrompt->text();
    subtitle = dialog.txtSubtitle->text();
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  });
  InfoDialogRun(std::string("The Dragon"), std::string("A dragon in a garden.|x"),
                std::string("Anna \xC3\x85str\xC3\xB6m"));
  EXPECT_EQ(title, QStringLiteral("The Dragon"));
  EXPECT_EQ(prompt, QStringLiteral("A dragon in a garden.|x"));
  EXPECT_EQ(subtitle, QString::fromUtf8("Anna \xC3\x85str\xC3\xB6m"));
  const QWidgetList windows = QApplication::topLevelWidgets();
  EXPECT_TRUE(std::none_of(windows.begin(), windows.end(),
                           [](QWidget* w) { return qobject_cast<TDInfo*>(w) != nullptr; }));
}

TEST_F(CloseInfoDialog, MarkupInTheTextsIsShownAsWritten) {
  TDInfo dialog;
  dialog.SetTexts(QStringLiteral("<b>T</b>"), QStringLiteral("<i>x</i>"), QStringLiteral("<u>"));
  EXPECT_EQ(dialog.txtPrompt->textFormat(), Qt::PlainText);
  EXPECT_EQ(dialog.txtTitle->textFormat(), Qt::PlainText);
  EXPECT_EQ(dialog.txtSubtitle->textFormat(), Qt::PlainText);
}

TEST_F(CloseInfoDialog, WebAddressSubtitlesBecomeLinksWhateverTheirCase) {
  const QCursor hand = ProgramCursor(TProgramCursor::Hand);
  for (const char* address : {"http://example.org", "https://example.org/pictures",
                              "www.example.org", "WWW.Example.Org", "Https://EXAMPLE.org"}) {
    Opened.clear();
    TDInfo dialog;
    dialog.SetTexts(QStringLiteral("Title"), QStringLiteral("Text"), QString::fromLatin1(address));
    QLabel& label = *dialog.txtSubtitle;
    EXPECT_TRUE(label.testAttribute(Qt::WA_SetCursor)) << address;
    EXPECT_EQ(label.cursor().shape(), hand.shape()) << address;
    SendEnter(label);
    EXPECT_TRUE(label.font().underline()) << address;
    SendLeave(label);
    EXPECT_FALSE(label.font().underline()) << address;
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 10));
    EXPECT_EQ(Opened, std::vector<std::string>{address});
  }
}

TEST_F(CloseInfoDialog, OtherSubtitlesStayPlainText) {
  for (const char* text : {"Anna Smith", "Drawn by www.example.org", "example.org", "http:/x",
                           "wwwexample.org", " www.example.org"}) {
    TDInfo dialog;
    dialog.SetTexts(QStringLiteral("Title"), QStringLiteral("Text"), QString::fromLatin1(text));
    QLabel& label = *dialog.txtSubtitle;
    EXPECT_FALSE(label.testAttribute(Qt::WA_SetCursor)) << text;
    SendEnter(label);
    EXPECT_FALSE(label.font().underline()) << text;
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 10));
  }
  EXPECT_TRUE(Opened.empty());
}

TEST_F(CloseInfoDialog, AnEmptySubtitleLeavesABlankLineAndNoLink) {
  WhenShown<TDInfo>([&](TDInfo& dialog) {
    EXPECT_TRUE(dialog.txtSubtitle->text().isEmpty());
    EXPECT_FALSE(dialog.txtSubtitle->testAttribute(Qt::WA_SetCursor));
    QTest::mouseClick(dialog.txtSubtitle, Qt::LeftButton, {}, QPoint(5, 10));
    // The blank line draws nothing: no dark or blue pixels.
    const QImage shown = dialog.grab().toImage();
    for (int y = 336; y < 336 + 23; ++y)
      for (int x = 16; x < 16 + 460; ++x) {
        const QRgb c = shown.pixel(x, y);
        ASSERT_FALSE(qBlue(c) > 150 && qRed(c) < 100 && qGreen(c) < 100) << x << "," << y;
      }
    dialog.btnOK->Click();
  });
  InfoDialogRun(QStringLiteral("Picture not found"), QStringLiteral("It was removed."), QString());
  EXPECT_TRUE(Opened.empty());
}

TEST_F(CloseInfoDialog, ALongDescriptionWrapsInsideTheTextArea) {
  const QString text = Words(70);
  TDInfo dialog;
  dialog.SetTexts(QStringLiteral("The Dragon"), text, QString());
  const QLabel& label = *dialog.txtPrompt;
  // It is far wider than the area on one line, but fits wrapped at full size.
  EXPECT_GT(QFontMetrics(label.font()).horizontalAdvance(text), 2 * 580);
  EXPECT_EQ(label.font().pixelSize(), 16);
  EXPECT_TRUE(FitsIn(label, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, 580, 271));
  // Drawn, its ink stays in the text area and spans several lines.
  dialog.show();
  SettlePaints();
  const QImage shown = dialog.grab().toImage();
  const QRect ink = DarkInk(shown, QRect(0, 0, 615, 328));
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_TRUE(QRect(16, 56, 580, 271).contains(ink))
      << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
  EXPECT_GT(ink.height(), 3 * QFontMetrics(label.font()).lineSpacing());
}

TEST_F(CloseInfoDialog, AVeryLongDescriptionShrinksToFit) {
  TDInfo dialog;
  dialog.SetTexts(QStringLiteral("The Dragon"), Words(220), QString());
  const QLabel& label = *dialog.txtPrompt;
  EXPECT_LT(label.font().pixelSize(), 16);
  EXPECT_GE(label.font().pixelSize(), MinFittedPixelSize);
  EXPECT_TRUE(FitsIn(label, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, 580, 271));
}

TEST_F(CloseInfoDialog, AnEndlessDescriptionStopsAtTheSmallestFontAndStillCloses) {
  WhenShown<TDInfo>([](TDInfo& dialog) {
    EXPECT_EQ(dialog.txtPrompt->font().pixelSize(), MinFittedPixelSize);
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  });
  InfoDialogRun(QString(300, QLatin1Char('W')), Words(5000), QString(200, QLatin1Char('w')));
}

TEST_F(CloseInfoDialog, EveryLanguagesTextsFit) {
  const std::vector<std::string> languages = ShippedLanguages();
  ASSERT_GE(languages.size(), 2u);
  const int wrapCentre = Qt::AlignCenter | Qt::TextWordWrap;
  const int wrapTopLeft = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
  for (const std::string& code : languages) {
    Lang().SetLanguage(code);
    for (const char* key : {"DClosePrompt", "DCloseYes", "DCloseNo", "DInfoOK", "DExitTitle",
                            "DExitDescr", "capNotFound", "msgNotFound"}) {
      ASSERT_NE(Lang().GetText(key).rfind("Text: ", 0), 0u) << code << " " << key;
    }
    TDClose close;
    EXPECT_TRUE(FitsIn(*close.txtPrompt, wrapCentre, 309, 89)) << code;
    for (const TQImgButton* button : {close.btnYes, close.btnNo}) {
      // The caption stays clear of the button's ends, also shifted while down.
      const int advance = QFontMetrics(button->Font()).horizontalAdvance(button->Caption());
      EXPECT_LE(advance + 2, 120 - 8) << code << " " << button->Caption().toStdString();
    }
    TDInfo farewell;
    farewell.SetTexts(QString::fromStdString(Lang().GetText("DExitTitle")),
                      QString::fromStdString(Lang().GetText("DExitDescr")),
                      QStringLiteral("www.example.org/colouring-pictures"));
    EXPECT_TRUE(FitsIn(*farewell.txtTitle, Qt::AlignCenter, 583, 33)) << code;
    EXPECT_TRUE(FitsIn(*farewell.txtPrompt, wrapTopLeft, 580, 271)) << code;
    EXPECT_TRUE(FitsIn(*farewell.txtSubtitle, Qt::AlignLeft | Qt::AlignVCenter, 460, 23)) << code;
    const int okAdvance =
        QFontMetrics(farewell.btnOK->Font()).horizontalAdvance(farewell.btnOK->Caption());
    EXPECT_LE(okAdvance + 2, 120 - 8) << code;
    TDInfo missing;
    missing.SetTexts(
        QString::fromStdString(Lang().GetText("capNotFound")),
        QString::fromStdString(Lang().GetTextFmt(
            "msgNotFound", {std::string("%PICTURES%\\Tintwell\\A very long picture name.twf")})),
        QString());
    EXPECT_TRUE(FitsIn(*missing.txtTitle, Qt::AlignCenter, 583, 33)) << code;
    EXPECT_TRUE(FitsIn(*missing.txtPrompt, wrapTopLeft, 580, 271)) << code;
  }
}

}  // namespace
}  // namespace tw::test
