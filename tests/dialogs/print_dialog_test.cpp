// The print dialog: its layout and texts in every shipped language, the
// printer list in the system's order with the current printer selected and
// kept, the PDF entry when the system has no printer (the page rendered back
// with pdftoppm and probed), the numbered PDF names, and a printer that went
// away giving one message and nothing else.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "controls/QImgButtonU.h"
#include "dialogs/DlgPrintF.h"
#include "base/ErrorsU.h"
#include "dialogs/NumberedNameU.h"
#include "painter/qt/PainterQtU.h"
#include "pictures/PictureTestUtil.h"
#include "pictures/QFoldersU.h"
#include "qtsupport/WidgetTestSupport.h"
#include "settings/ProgramGlobalsU.h"

namespace tw::test {
namespace {

#ifdef TINTWELL_TEST_DATA
const std::string LangFolder = TINTWELL_TEST_DATA "/../data/lang";
#else
const std::string LangFolder =
    (std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "data" / "lang").string();
#endif
const std::vector<std::string> LanguageCodes = {"en_us", "de_de", "fr_fr", "es_es", "it_it",
                                                "nl_nl", "pl_pl", "pt_br", "ru_ru", "uk_ua"};

constexpr TColor Red = 0x0000FF;
constexpr TColor Blue = 0xFF0000;
constexpr TColor Green = 0x00FF00;

// A print system with made-up printers: it records the jobs and fails for
// the printers listed in Gone, as the real one does for a printer that was
// removed.
class TFakePrinters : public TPrinterSystem {
 public:
  struct TJob {
    QString Printer;
    QString Title;
  };

  QStringList PrinterNames() const override { return Names; }
  QString DefaultPrinterName() const override { return Default; }
  QString CurrentPrinterName() const override { return Current; }
  void PrintOn(TPainter&, const QString& PrinterName, const QString& Title) override {
    if (Gone.contains(PrinterName)) throw EError("gone: " + PrinterName.toStdString());
    Jobs.push_back({PrinterName, Title});
    Current = PrinterName;
  }

  QStringList Names;
  QString Default;
  QString Current;
  QStringList Gone;
  std::vector<TJob> Jobs;
};

// Lists made-up printers but prints through the real print system, so a
// listed printer is one that is not there (any more).
class TVanishedPrinters : public TFakePrinters {
 public:
  void PrintOn(TPainter& Painter, const QString& PrinterName, const QString& Title) override {
    SystemPrinters().PrintOn(Painter, PrinterName, Title);
  }
};

bool IsRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; }
bool IsBlue(QRgb c) { return qRed(c) < 80 && qGreen(c) < 80 && qBlue(c) > 200; }
bool IsGreen(QRgb c) { return qRed(c) < 80 && qGreen(c) > 200 && qBlue(c) < 80; }
bool IsColoured(QRgb c) { return IsRed(c) || IsBlue(c) || IsGreen(c); }
int Brightness(QRgb c) { return (qRed(c) + qGreen(c) + qBlue(c)) / 3; }

// The page of a one-page PDF as pixels at 50 dots per inch.
QImage RenderPdf(const std::string& Pdf, const QTemporaryDir& Dir) {
  const QString Tool = QStandardPaths::findExecutable("pdftoppm");
  if (Tool.isEmpty()) return QImage();
  QProcess Render;
  Render.start(Tool, {"-r", "50", "-png", "-singlefile", QString::fromStdString(Pdf),
                      Dir.filePath("page")});
  if (!Render.waitForFinished(60000) || Render.exitCode() != 0) return QImage();
  return QImage(Dir.filePath("page.png"));
}

struct TBox {
  int Left = 0, Top = 0, Right = -1, Bottom = -1;
  double CentreX() const { return (Left + Right + 1) / 2.0; }
  double CentreY() const { return (Top + Bottom + 1) / 2.0; }
};

TBox ColouredBox(const QImage& Page) {
  TBox Box{Page.width(), Page.height(), -1, -1};
  for (int y = 0; y < Page.height(); ++y)
    for (int x = 0; x < Page.width(); ++x)
      if (IsColoured(Page.pixel(x, y))) {
        Box.Left = std::min(Box.Left, x);
        Box.Right = std::max(Box.Right, x);
        Box.Top = std::min(Box.Top, y);
        Box.Bottom = std::max(Box.Bottom, y);
      }
  return Box;
}

// A dark pixel within three steps outward from (x, y).
bool DarkOutside(const QImage& Page, int x, int y, int dx, int dy) {
  for (int i = 1; i <= 3; ++i) {
    const int px = x + i * dx, py = y + i * dy;
    if (px < 0 || py < 0 || px >= Page.width() || py >= Page.height()) return false;
    if (Brightness(Page.pixel(px, py)) < 128) return true;
  }
  return false;
}

// Whether Label's text fits its rectangle with its own font, alignment and
// word wrap.
bool LabelTextFits(const QLabel* Label) {
  const int Flags = int(Label->alignment()) | (Label->wordWrap() ? Qt::TextWordWrap : 0);
  const QRect Needed =
      QFontMetrics(Label->font()).boundingRect(Label->rect(), Flags, Label->text());
  return Needed.width() <= Label->width() && Needed.height() <= Label->height();
}

// Label's font is the largest, from MaxPixelSize down, at which its text
// fits; a text that fits nowhere keeps a readable size.
bool HasLargestFittingSize(const QLabel* Label, int MaxPixelSize) {
  QFont Font = Label->font();
  const int Flags = int(Label->alignment()) | (Label->wordWrap() ? Qt::TextWordWrap : 0);
  for (int Size = MaxPixelSize; Size >= 9; --Size) {
    Font.setPixelSize(Size);
    const QRect Needed = QFontMetrics(Font).boundingRect(Label->rect(), Flags, Label->text());
    if (Needed.width() <= Label->width() && Needed.height() <= Label->height())
      return Label->font().pixelSize() == Size;
  }
  return Label->font().pixelSize() == 9;
}

class PrintDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(FFolder.File("default.ini"), "");
    CreateProgramGlobals(FFolder.File("settings.sqlite3"), FFolder.File("default.ini"),
                         LangFolder);
    Lang().SetLanguage("en_us");
    OnTranslate = [](const std::string& Key) { return Lang().GetText(Key); };
    QCSetting().WritePathSave(SaveFolder());
    OnShowPrintInformation = [this](const QString& Caption, const QString& Message) {
      Informations.push_back(Caption + "\n" + Message);
    };
  }

  void TearDown() override {
    OnShowPrintInformation = nullptr;
    OnTranslate = nullptr;
    FreeProgramGlobals();
  }

  static void WriteFile(const std::string& Path, const std::string& Text) {
    std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
    Out << Text;
  }

  // Not there yet: printing creates it.
  std::string SaveFolder() const { return FFolder.File("saved") + "/"; }

  // A wide picture: red left of a black line, blue right of it.
  static void LoadWidePicture(TPainter& Painter) {
    TRaster24 Picture(400, 300, clWhite);
    for (int y = 0; y < 300; ++y) Picture.SetPixel(200, y, clBlack);
    Painter.LoadPicture(Picture);
    Painter.SetPaintMode(pmFill);
    Painter.SetPaintColor(Red);
    Painter.ApplyToolAt({100, 150});
    Painter.SetPaintColor(Blue);
    Painter.ApplyToolAt({300, 150});
  }

  static void LoadTallPicture(TPainter& Painter) {
    Painter.LoadPicture(TRaster24(300, 400, clWhite));
    Painter.SetPaintMode(pmFill);
    Painter.SetPaintColor(Green);
    Painter.ApplyToolAt({150, 200});
  }

  TTempFolder FFolder;
  TWarningRecorder FWarnings;
  std::vector<QString> Informations;
};

TEST_F(PrintDialog, ControlsSitWhereTheDesignPutsThem) {
  TFakePrinters Printers;
  Printers.Names = {"Laser"};
  TDPrint Dialog(nullptr, &Printers);
  EXPECT_EQ(Dialog.objectName(), "DPrint");
  EXPECT_EQ(Dialog.size(), QSize(481, 178));
  EXPECT_EQ(Dialog.TitleLabel()->geometry(), QRect(16, 12, 449, 33));
  // The prompt is drawn 16 pixels bold as the save dialog's is: its label
  // grows around the design rectangle to hold a line of that font.
  const QRect Prompt = Dialog.PromptLabel()->geometry();
  EXPECT_TRUE(Prompt.contains(QRect(16, 56, 453, 20))) << Prompt.y() << " " << Prompt.height();
  EXPECT_LE(std::abs(Prompt.center().y() - QRect(16, 56, 453, 20).center().y()), 1);
  EXPECT_LE(Prompt.bottom(), Dialog.PrinterList()->geometry().top());
  EXPECT_EQ(Dialog.PromptLabel()->font().pixelSize(), 16);
  EXPECT_EQ(Dialog.PrinterList()->geometry(), QRect(32, 84, 417, 24));
  EXPECT_EQ(Dialog.CancelButton()->geometry(), QRect(213, 128, 120, 36));
  EXPECT_EQ(Dialog.PrintButton()->geometry(), QRect(341, 128, 124, 36));

  EXPECT_EQ(Dialog.TitleLabel()->text(), "Print picture");
  EXPECT_EQ(Dialog.PromptLabel()->text(), "Choose a printer:");
  EXPECT_EQ(Dialog.CancelButton()->Caption(), "Cancel");
  EXPECT_EQ(Dialog.PrintButton()->Caption(), "Print");
  EXPECT_EQ(Dialog.TitleLabel()->alignment(), Qt::AlignCenter);
  EXPECT_EQ(Dialog.TitleLabel()->palette().color(QPalette::WindowText), QColor(0, 0, 128));
  EXPECT_TRUE(Dialog.PromptLabel()->font().bold());
  // The design sizes (24 and 16 pixels), shrunk only as far as the embedded
  // font's tall lines need to fit the design rectangles.
  EXPECT_TRUE(HasLargestFittingSize(Dialog.TitleLabel(), 24));
  EXPECT_TRUE(HasLargestFittingSize(Dialog.PromptLabel(), 16));
  EXPECT_TRUE(Dialog.PromptLabel()->wordWrap());
  EXPECT_TRUE(Dialog.PrinterList()->font().bold());
  EXPECT_EQ(Dialog.PrinterList()->font().pixelSize(), 13);
  EXPECT_EQ(Dialog.CancelButton()->FontColor(), clWhite);
  EXPECT_TRUE(Dialog.PrintButton()->Font().bold());
}

TEST_F(PrintDialog, TextsFitInEveryShippedLanguage) {
  TFakePrinters Printers;
  Printers.Names = {"Laser"};
  for (const std::string& Code : LanguageCodes) {
    Lang().SetLanguage(Code);
    TDPrint Dialog(nullptr, &Printers);
    for (const QLabel* Label : {Dialog.TitleLabel(), Dialog.PromptLabel()}) {
      EXPECT_FALSE(Label->text().startsWith("Text: ")) << Code;
      EXPECT_TRUE(LabelTextFits(Label)) << Code << ": " << Label->text().toStdString();
    }
    for (const TQImgButton* Button : {Dialog.CancelButton(), Dialog.PrintButton()}) {
      EXPECT_FALSE(Button->Caption().isEmpty()) << Code;
      EXPECT_LT(QFontMetrics(Button->Font()).horizontalAdvance(Button->Caption()),
                Button->width())
          << Code << ": " << Button->Caption().toStdString();
    }
  }
}

TEST_F(PrintDialog, ListsThePrintersInTheSystemsOrderWithTheDefaultSelected) {
  TFakePrinters Printers;
  Printers.Names = {"Zeta", "Alpha", "Mid"};
  Printers.Default = "Mid";
  TDPrint Dialog(nullptr, &Printers);
  QStringList Shown;
  for (int i = 0; i < Dialog.PrinterList()->count(); ++i)
    Shown << Dialog.PrinterList()->itemText(i);
  EXPECT_EQ(Shown, Printers.Names);
  EXPECT_FALSE(Dialog.PrintsToFile());
  EXPECT_EQ(Dialog.SelectedPrinter(), "Mid");

  // Without a default (or with one that is not listed), the first.
  Printers.Default = "Elsewhere";
  Dialog.FillPrinters();
  EXPECT_EQ(Dialog.SelectedPrinter(), "Zeta");
}

TEST_F(PrintDialog, TheChosenPrinterStaysChosenForTheNextRun) {
  TFakePrinters Printers;
  Printers.Names = {"Laser", "Inkjet", "Office"};
  Printers.Default = "Laser";
  TPainter Painter;
  LoadWidePicture(Painter);
  {
    TDPrint Dialog(nullptr, &Printers);
    Dialog.SetPicture(&Painter, "House");
    EXPECT_EQ(Dialog.SelectedPrinter(), "Laser");
    Dialog.PrinterList()->setCurrentIndex(1);
    QTest::mouseClick(Dialog.PrintButton(), Qt::LeftButton);
    EXPECT_EQ(Dialog.ModalResult(), mrOk);
  }
  ASSERT_EQ(Printers.Jobs.size(), 1u);
  EXPECT_EQ(Printers.Jobs[0].Printer, "Inkjet");
  EXPECT_EQ(Printers.Jobs[0].Title, "House");
  TDPrint Again(nullptr, &Printers);
  EXPECT_EQ(Again.SelectedPrinter(), "Inkjet");
  EXPECT_TRUE(FWarnings.Messages.empty());
  EXPECT_TRUE(Informations.empty());
}

TEST_F(PrintDialog, CancelPrintsNothing) {
  TFakePrinters Printers;
  Printers.Names = {"Laser"};
  TPainter Painter;
  LoadWidePicture(Painter);
  TDPrint Dialog(nullptr, &Printers);
  Dialog.SetPicture(&Painter, "House");
  QTest::mouseClick(Dialog.CancelButton(), Qt::LeftButton);
  EXPECT_EQ(Dialog.ModalResult(), mrCancel);
  EXPECT_TRUE(Printers.Jobs.empty());
  EXPECT_FALSE(std::filesystem::exists(SaveFolder()));
}

TEST_F(PrintDialog, APrinterThatWentAwayGivesOneMessageAndNothingElse) {
  TVanishedPrinters Printers;
  Printers.Names = {"Tintwell Test Printer That Is Not There"};
  const QString CurrentBefore = SystemPrinters().CurrentPrinterName();
  TPainter Painter;
  LoadWidePicture(Painter);
  TDPrint Dialog(nullptr, &Printers);
  Dialog.SetPicture(&Painter, "House");
  EXPECT_FALSE(Dialog.Print());
  ASSERT_EQ(FWarnings.Messages.size(), 1u);
  EXPECT_NE(FWarnings.Messages[0].find("Tintwell Test Printer That Is Not There"),
            std::string::npos)
      << FWarnings.Messages[0];
  // The dialog stays open for another choice; nothing was written or chosen.
  EXPECT_EQ(Dialog.ModalResult(), mrNone);
  EXPECT_TRUE(Informations.empty());
  EXPECT_FALSE(std::filesystem::exists(SaveFolder()));
  EXPECT_EQ(SystemPrinters().CurrentPrinterName(), CurrentBefore);
}

TEST_F(PrintDialog, TheSystemPrintersRefuseAnUnknownPrinterClearly) {
  TPainter Painter;
  LoadWidePicture(Painter);
  const QString CurrentBefore = SystemPrinters().CurrentPrinterName();
  try {
    SystemPrinters().PrintOn(Painter, "No Such Printer 42", "House");
    FAIL() << "printing on a printer that does not exist succeeded";
  } catch (const EError& Error) {
    EXPECT_NE(std::string(Error.what()).find("\"No Such Printer 42\" is not available"),
              std::string::npos)
        << Error.what();
  }
  EXPECT_EQ(SystemPrinters().CurrentPrinterName(), CurrentBefore);
}

TEST_F(PrintDialog, WithoutPrintersTheListOffersAPdfFileInTheSaveFolder) {
  if (!QPrinterInfo::availablePrinterNames().isEmpty())
    GTEST_SKIP() << "this system has printers";
  TPainter Painter;
  LoadWidePicture(Painter);
  TDPrint Dialog;
  Dialog.SetPicture(&Painter, "House");
  EXPECT_TRUE(Dialog.PrintsToFile());
  ASSERT_EQ(Dialog.PrinterList()->count(), 1);
  EXPECT_EQ(Dialog.SelectedPrinter(), "");
  const std::string Expected = DisplayFolderNames(SaveFolder() + "House.001.pdf");
  EXPECT_EQ(Dialog.PrinterList()->itemText(0), "PDF: " + QString::fromStdString(Expected));
}

TEST_F(PrintDialog, AWidePicturePrintsIntoALandscapePdfCentredInAFrame) {
  TFakePrinters NoPrinters;
  TPainter Painter;
  LoadWidePicture(Painter);
  TDPrint Dialog(nullptr, &NoPrinters);
  Dialog.SetPicture(&Painter, "House");
  QTest::mouseClick(Dialog.PrintButton(), Qt::LeftButton);
  EXPECT_EQ(Dialog.ModalResult(), mrOk);
  EXPECT_TRUE(FWarnings.Messages.empty());
  const std::string Pdf = SaveFolder() + "House.001.pdf";
  EXPECT_EQ(Dialog.PdfFile(), Pdf);
  ASSERT_TRUE(std::filesystem::exists(Pdf));

  // One message, which says where the file went.
  ASSERT_EQ(Informations.size(), 1u);
  EXPECT_TRUE(Informations[0].startsWith("Picture saved as PDF\n")) << Informations[0].toStdString();
  EXPECT_TRUE(Informations[0].endsWith(QString::fromStdString(DisplayFolderNames(Pdf))))
      << Informations[0].toStdString();

  QTemporaryDir Dir;
  ASSERT_TRUE(Dir.isValid());
  const QImage Page = RenderPdf(Pdf, Dir);
  if (Page.isNull()) GTEST_SKIP() << "pdftoppm (poppler-utils) could not render the file";
  EXPECT_GT(Page.width(), Page.height());

  const TBox Box = ColouredBox(Page);
  ASSERT_GE(Box.Right, 0) << "no picture on the page";
  // Centred on the paper (the printable area's margins are even), within the
  // pixel the frame and rounding take at 50 dpi.
  EXPECT_NEAR(Box.CentreX(), Page.width() / 2.0, 2.0);
  EXPECT_NEAR(Box.CentreY(), Page.height() / 2.0, 2.0);
  // Fitted keeping its proportions of 4 : 3, and large on the page.
  const double W = Box.Right - Box.Left + 1, H = Box.Bottom - Box.Top + 1;
  EXPECT_NEAR(W / H, 4.0 / 3.0, 0.03);
  EXPECT_GT(W, Page.width() * 0.6);
  // Not turned or mirrored: red on the left, blue on the right.
  const int MidY = (Box.Top + Box.Bottom) / 2;
  EXPECT_TRUE(IsRed(Page.pixel(Box.Left + int(W / 4), MidY)));
  EXPECT_TRUE(IsBlue(Page.pixel(Box.Left + int(3 * W / 4), MidY)));
  // The frame runs just outside the picture on every side.
  const int MidX = (Box.Left + Box.Right) / 2;
  EXPECT_TRUE(DarkOutside(Page, Box.Left, MidY, -1, 0));
  EXPECT_TRUE(DarkOutside(Page, Box.Right, MidY, 1, 0));
  EXPECT_TRUE(DarkOutside(Page, MidX, Box.Top, 0, -1));
  EXPECT_TRUE(DarkOutside(Page, MidX, Box.Bottom, 0, 1));
  // White paper beyond it.
  EXPECT_GT(Brightness(Page.pixel(Box.Left - 6, MidY)), 240);
  EXPECT_GT(Brightness(Page.pixel(MidX, Box.Bottom + 6)), 240);
}

TEST_F(PrintDialog, ATallPicturePrintsIntoAPortraitPdf) {
  TPainter Painter;
  LoadTallPicture(Painter);
  const std::string Pdf = PrintPictureToPdf(Painter, "Tower", SaveFolder(), "Tower");
  EXPECT_EQ(Pdf, SaveFolder() + "Tower.001.pdf");
  QTemporaryDir Dir;
  ASSERT_TRUE(Dir.isValid());
  const QImage Page = RenderPdf(Pdf, Dir);
  if (Page.isNull()) GTEST_SKIP() << "pdftoppm (poppler-utils) could not render the file";
  EXPECT_LT(Page.width(), Page.height());
  const TBox Box = ColouredBox(Page);
  ASSERT_GE(Box.Right, 0) << "no picture on the page";
  EXPECT_NEAR(Box.CentreX(), Page.width() / 2.0, 2.0);
  EXPECT_NEAR(Box.CentreY(), Page.height() / 2.0, 2.0);
  const double W = Box.Right - Box.Left + 1, H = Box.Bottom - Box.Top + 1;
  EXPECT_NEAR(W / H, 3.0 / 4.0, 0.03);
  EXPECT_TRUE(DarkOutside(Page, Box.Left, (Box.Top + Box.Bottom) / 2, -1, 0));
}

TEST_F(PrintDialog, PdfFilesAreNumberedLikeSavedPictures) {
  TPainter Painter;
  LoadWidePicture(Painter);
  EXPECT_EQ(PrintPictureToPdf(Painter, "House", SaveFolder(), "House"),
            SaveFolder() + "House.001.pdf");
  EXPECT_EQ(PrintPictureToPdf(Painter, "House", SaveFolder(), "House"),
            SaveFolder() + "House.002.pdf");
  // A gap is filled first; another name starts at 001.
  std::filesystem::remove(SaveFolder() + "House.001.pdf");
  EXPECT_EQ(PrintPictureToPdf(Painter, "House", SaveFolder(), "House"),
            SaveFolder() + "House.001.pdf");
  EXPECT_EQ(PrintPictureToPdf(Painter, "Boat", SaveFolder(), "Boat"),
            SaveFolder() + "Boat.001.pdf");
  // Only PDF files count.
  WriteFile(SaveFolder() + "Tree.001.jpg", "x");
  EXPECT_EQ(FirstFreeNumberedName(SaveFolder() + "Tree", ".pdf"), SaveFolder() + "Tree.001.pdf");
}

TEST_F(PrintDialog, TheThousandthFileGetsFourDigits) {
  const std::string Folder = FFolder.Path() + "/";
  for (int n = 1; n <= 999; ++n) {
    char Name[32];
    std::snprintf(Name, sizeof Name, "Cat.%03d.pdf", n);
    WriteFile(Folder + Name, "");
  }
  EXPECT_EQ(FirstFreeNumberedName(Folder + "Cat", ".pdf"), Folder + "Cat.1000.pdf");
}

TEST_F(PrintDialog, TheDialogNamesThePdfAfterTheBaseNameOrTheTitle) {
  TFakePrinters NoPrinters;
  TPainter Painter;
  LoadWidePicture(Painter);
  TDPrint Dialog(nullptr, &NoPrinters);
  Dialog.SetPicture(&Painter, "My house: at night?", "house");
  ASSERT_TRUE(Dialog.Print());
  EXPECT_EQ(Dialog.PdfFile(), SaveFolder() + "house.001.pdf");
  Dialog.SetPicture(&Painter, "My house: at night?");
  ASSERT_TRUE(Dialog.Print());
  EXPECT_EQ(Dialog.PdfFile(), SaveFolder() + "My house_ at night_.001.pdf");
}

TEST(PrintFileNames, TitlesBecomeSafeFileNames) {
  EXPECT_EQ(FileBaseFromTitle("House"), "House");
  EXPECT_EQ(FileBaseFromTitle("a/b\\c:d*e?f\"g<h>i|j"), "a_b_c_d_e_f_g_h_i_j");
  EXPECT_EQ(FileBaseFromTitle(QString("tab\there")), "tab_here");
  EXPECT_EQ(FileBaseFromTitle("  ..hidden  "), "hidden");
  EXPECT_EQ(FileBaseFromTitle(""), "picture");
  EXPECT_EQ(FileBaseFromTitle(" . "), "picture");
  EXPECT_EQ(FileBaseFromTitle(QString::fromUtf8("Кот и мышь")), QString::fromUtf8("Кот и мышь"));
  EXPECT_EQ(FileBaseFromTitle(QString(200, u'x')), QString(80, u'x'));
  // A character outside the basic plane is never cut in half.
  const QString Emoji = QString::fromUtf8("\xF0\x9F\x90\xB1");
  const QString Cut = FileBaseFromTitle(QString(79, u'y') + Emoji + Emoji);
  EXPECT_EQ(Cut, QString(79, u'y'));
}

TEST_F(PrintDialog, AFolderThatCannotBeMadeGivesOneMessageAndTheDialogStaysOpen) {
  WriteFile(FFolder.File("plain-file"), "not a folder");
  QCSetting().WritePathSave(FFolder.File("plain-file") + "/saved/");
  TFakePrinters NoPrinters;
  TPainter Painter;
  LoadWidePicture(Painter);
  TDPrint Dialog(nullptr, &NoPrinters);
  Dialog.SetPicture(&Painter, "House");
  EXPECT_FALSE(Dialog.Print());
  ASSERT_EQ(FWarnings.Messages.size(), 1u);
  EXPECT_NE(FWarnings.Messages[0].find("could not be created"), std::string::npos)
      << FWarnings.Messages[0];
  EXPECT_EQ(Dialog.ModalResult(), mrNone);
  EXPECT_TRUE(Informations.empty());
}

TEST_F(PrintDialog, PrintDialogRunPrintsIntoThePdfFileWhenThereIsNoPrinter) {
  if (!QPrinterInfo::availablePrinterNames().isEmpty())
    GTEST_SKIP() << "this system has printers";
  TPainter Painter;
  LoadWidePicture(Painter);
  bool Clicked = false;
  QTimer::singleShot(0, [&] {
    for (QWidget* Window : QApplication::topLevelWidgets()) {
      auto* Dialog = qobject_cast<TDPrint*>(Window);
      if (Dialog && Dialog->isVisible()) {
        Clicked = true;
        QTest::mouseClick(Dialog->PrintButton(), Qt::LeftButton);
      }
    }
  });
  // Only bounds a failing run: a dialog still open then is closed.
  QTimer Guard;
  Guard.setSingleShot(true);
  QObject::connect(&Guard, &QTimer::timeout, [] {
    for (QWidget* Window : QApplication::topLevelWidgets())
      if (auto* Dialog = qobject_cast<TDPrint*>(Window)) Dialog->close();
  });
  Guard.start(20000);
  EXPECT_TRUE(PrintDialogRun(Painter, "House"));
  EXPECT_TRUE(Clicked);
  EXPECT_TRUE(std::filesystem::exists(SaveFolder() + "House.001.pdf"));
  EXPECT_EQ(Informations.size(), 1u);
}

}  // namespace
}  // namespace tw::test
