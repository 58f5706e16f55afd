// The save dialog: numbered file-name proposals, the size texts, the folded
// options panel, the radio buttons, the folder chooser, settings written on
// Save and left alone on Cancel, the written picture decoded back at its
// size and format, failures that keep the dialog open, and labels that fit
// in every shipped language.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QLabel>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "controls/QImgButtonU.h"
#include "controls/QPanel.h"
#include "dialogs/DlgSaveF.h"
#include "dialogs/SaveDialogTestSupport.h"
#include "painter/image/ImageFileU.h"
#include "qtsupport/WidgetTestSupport.h"

namespace tw::test {
namespace {

namespace fs = std::filesystem;

class SaveDialog : public SaveDialogFixture {};

// The mean of the Divisor x Divisor block at (bx, by), rounded half up: what
// each pixel of a shrunk picture must hold.
TRaster24 BlockMeans(const TRaster24& source, int divisor) {
  const int w = source.Width() / divisor, h = source.Height() / divisor;
  TRaster24 out(w, h);
  const int n = divisor * divisor;
  for (int by = 0; by < h; ++by)
    for (int bx = 0; bx < w; ++bx) {
      int sum[3] = {0, 0, 0};
      for (int y = by * divisor; y < (by + 1) * divisor; ++y)
        for (int x = bx * divisor; x < (bx + 1) * divisor; ++x) {
          const TColor c = source.Pixel(x, y);
          sum[0] += GetRValue(c);
          sum[1] += GetGValue(c);
          sum[2] += GetBValue(c);
        }
      out.SetPixel(bx, by,
                   RGB(uint8_t((sum[0] + n / 2) / n), uint8_t((sum[1] + n / 2) / n),
                       uint8_t((sum[2] + n / 2) / n)));
    }
  return out;
}

// The largest and the mean difference of any channel between two pictures
// of one size.
struct TDifference {
  int Max = 0;
  double Mean = 0;
};

TDifference ChannelDifference(const TRaster24& a, const TRaster24& b) {
  TDifference d;
  long total = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      const TColor p = a.Pixel(x, y), q = b.Pixel(x, y);
      for (const int diff :
           {std::abs(GetRValue(p) - GetRValue(q)), std::abs(GetGValue(p) - GetGValue(q)),
            std::abs(GetBValue(p) - GetBValue(q))}) {
        d.Max = std::max(d.Max, diff);
        total += diff;
      }
    }
  d.Mean = double(total) / (3.0 * a.Width() * a.Height());
  return d;
}

int CountEntries(const std::string& folder) {
  std::error_code error;
  int count = 0;
  for (auto it = fs::directory_iterator(folder, error); !error && it != fs::directory_iterator();
       it.increment(error))
    ++count;
  return count;
}

TEST_F(SaveDialog, FirstSaveIntoAnEmptyFolderIsNumberOne) {
  const auto painter = PainterWith(ColourfulPicture(40, 30));
  TDSave dialog;
  dialog.SetFolder(SaveFolder());
  dialog.SetPicture(*painter, "house");
  dialog.SelectMode(0);
  EXPECT_EQ(dialog.FileName(), SaveFolder() + "house.001.jpg");
  EXPECT_EQ(dialog.txtFileName->text().toStdString(), SaveFolder() + "house.001.jpg");
}

TEST_F(SaveDialog, EachFormatIsNumberedOnItsOwn) {
  fs::create_directories(SaveFolder());
  WriteBytes(SaveFolder() + "base.001.jpg", "x");
  WriteBytes(SaveFolder() + "base.002.jpg", "x");
  const auto painter = PainterWith(ColourfulPicture(40, 30));
  TDSave dialog;
  dialog.SetFolder(SaveFolder());
  dialog.SetPicture(*painter, "base");
  dialog.SelectMode(0);
  EXPECT_EQ(dialog.FileName(), SaveFolder() + "base.003.jpg");
  dialog.SelectMode(1);
  EXPECT_EQ(dialog.FileName(), SaveFolder() + "base.001.gif");
  dialog.SelectMode(2);
  EXPECT_EQ(dialog.FileName(), SaveFolder() + "base.001.bmp");
  // Changing the size keeps the proposal.
  dialog.SelectSize(0);
  EXPECT_EQ(dialog.FileName(), SaveFolder() + "base.001.bmp");
}

TEST_F(SaveDialog, AGapIsFilledFirst) {
  fs::create_directories(SaveFolder());
  WriteBytes(SaveFolder() + "base.002.jpg", "x");
  WriteBytes(SaveFolder() + "base.004.jpg", "x");
  const auto painter = PainterWith(ColourfulPicture(40, 30));
  TDSave dialog;
  dialog.SetFolder(SaveFolder());
  dialog.SelectMode(0);
  dialog.SetPicture(*painter, "base");
  EXPECT_EQ(dialog.FileName(), SaveFolder() + "base.001.jpg");
  // A folder of that name is taken too.
  fs::create_directories(SaveFolder() + "base.001.jpg");
  dialog.UpdateFileName();
  EXPECT_EQ(dialog.FileName(), SaveFolder() + "base.003.jpg");
}

TEST_F(SaveDialog, TheThousandthSaveHasFourDigits) {
  fs::create_directories(SaveFolder());
  for (int n = 1; n <= 999; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "pic.%03d.gif", n);
    WriteBytes(SaveFolder() + name, "");
  }
  const auto painter = PainterWith(ColourfulPicture(8, 8));
  TDSave dialog;
  dialog.SetFolder(SaveFolder());
  dialog.SelectMode(1);
  dialog.SetPicture(*painter, "pic");
  EXPECT_EQ(dialog.FileName(), SaveFolder() + "pic.1000.gif");
}

TEST_F(SaveDialog, SizeTextsComeFromThePictureSize) {
  const auto painter = PainterWith(TRaster24(600, 450, clWhite));
  TDSave dialog;
  dialog.SetPicture(*painter, "house");
  // 450 / 4 = 112.5 is cut to 112.
  EXPECT_EQ(dialog.txtSm->text(), QString::fromUtf8("Small (150 × 112)"));
  EXPECT_EQ(dialog.txtMd->text(), QString::fromUtf8("Medium (300 × 225)"));
  EXPECT_EQ(dialog.txtLg->text(), QString::fromUtf8("Large (600 × 450)"));
  EXPECT_EQ(dialog.txtAdvanced->text(), QStringLiteral(" Options "));
  EXPECT_EQ(dialog.txtTitle->text(), QStringLiteral("Save picture"));
  EXPECT_EQ(dialog.btnSave->Caption(), QStringLiteral("Save"));
  EXPECT_EQ(dialog.btnCancel->Caption(), QStringLiteral("Cancel"));
  EXPECT_EQ(dialog.txtJPEG->text(), QStringLiteral("JPEG"));
}

TEST_F(SaveDialog, OpensFoldedAndFoldsOutByOneHundredSixty) {
  TDSave dialog;
  EXPECT_EQ(dialog.CollapseHeight(), 160);
  // Folded: 361 - 160; only the panel's header row shows, the buttons
  // followed the bottom edge up.
  EXPECT_EQ(dialog.size(), QSize(481, 201));
  EXPECT_FALSE(dialog.Expanded());
  EXPECT_EQ(dialog.pnlAdvanced->geometry(), QRect(16, 108, 445, 32));
  EXPECT_EQ(dialog.btnSave->geometry(), QRect(341, 151, 124, 36));
  EXPECT_EQ(dialog.btnCancel->geometry(), QRect(213, 151, 120, 36));

  QTest::mouseClick(dialog.txtAdvanced, Qt::LeftButton);
  EXPECT_TRUE(dialog.Expanded());
  EXPECT_TRUE(dialog.btnAdvanced->Down());
  EXPECT_EQ(dialog.height(), 361);
  EXPECT_EQ(dialog.pnlAdvanced->geometry(), QRect(16, 108, 445, 192));
  EXPECT_EQ(dialog.btnSave->geometry(), QRect(341, 311, 124, 36));

  QTest::mouseClick(dialog.txtPath, Qt::LeftButton);
  EXPECT_FALSE(dialog.Expanded());
  EXPECT_EQ(dialog.height(), 201);
  EXPECT_EQ(dialog.pnlAdvanced->height(), 32);

  QTest::mouseClick(dialog.btnAdvanced, Qt::LeftButton);
  EXPECT_EQ(dialog.height(), 361);
}

TEST_F(SaveDialog, MovesUpByHalfTheFoldWhenFirstShown) {
  TDSave dialog;
  dialog.show();
  const int shownAt = dialog.y();
  ASSERT_TRUE(WaitUntil([&] { return dialog.DeferredInitDone(); }));
  EXPECT_EQ(dialog.y(), shownAt - 80);
}

TEST_F(SaveDialog, TheOptionsHeaderHasThePanelsInsideColour) {
  TDSave dialog;
  const QColor inside = dialog.pnlAdvanced->Picture().pixelColor(4, 13);
  EXPECT_TRUE(dialog.txtAdvanced->autoFillBackground());
  EXPECT_EQ(dialog.txtAdvanced->palette().color(QPalette::Window), inside);
  EXPECT_EQ(dialog.pnlAdvanced->SliceSettings(), (TSlice9Settings{4, 4, 13, 4, false, false}));
}

TEST_F(SaveDialog, RadioButtonsAndTheirLabelsSelectOneEach) {
  TDSave dialog;
  dialog.SetFolder(SaveFolder());
  dialog.SetPicture(*PainterWith(ColourfulPicture(8, 8)), "x");
  QTest::mouseClick(dialog.rbGIF, Qt::LeftButton);
  EXPECT_EQ(dialog.Mode(), 1);
  EXPECT_FALSE(dialog.rbJPEG->Down());
  EXPECT_TRUE(dialog.rbGIF->Down());
  EXPECT_FALSE(dialog.rbBMP->Down());
  EXPECT_EQ(fs::path(dialog.FileName()).extension(), ".gif");

  dialog.ToggleAdvanced();
  QTest::mouseClick(dialog.txtBMP, Qt::LeftButton);
  EXPECT_EQ(dialog.Mode(), 2);
  EXPECT_EQ(fs::path(dialog.FileName()).extension(), ".bmp");
  QTest::mouseClick(dialog.txtLg, Qt::LeftButton);
  EXPECT_EQ(dialog.Size(), 2);
  EXPECT_TRUE(dialog.rbLg->Down());
  EXPECT_FALSE(dialog.rbMd->Down());
  QTest::mouseClick(dialog.rbSm, Qt::LeftButton);
  EXPECT_EQ(dialog.Size(), 0);
  EXPECT_TRUE(dialog.rbSm->Down());
  EXPECT_FALSE(dialog.rbLg->Down());
}

TEST_F(SaveDialog, StoredChoicesOutsideTheirRangeAreClamped) {
  QCSetting().WriteSaveMode(7);
  QCSetting().WriteSaveSize(-3);
  TDSave dialog;
  EXPECT_EQ(dialog.Mode(), 2);
  EXPECT_TRUE(dialog.rbBMP->Down());
  EXPECT_EQ(dialog.Size(), 0);
  EXPECT_TRUE(dialog.rbSm->Down());
  EXPECT_EQ(fs::path(dialog.FileName()).extension(), ".bmp");
}

TEST_F(SaveDialog, StartsWithTheStoredChoicesAndShowsPicturesForThePicturesFolder) {
  QCSetting().WriteSaveMode(1);
  QCSetting().WriteSaveSize(2);
  TDSave dialog;
  EXPECT_EQ(dialog.Mode(), 1);
  EXPECT_EQ(dialog.Size(), 2);
  // The default folder lies in the pictures folder.
  EXPECT_EQ(dialog.Folder(), PicturesPath() + "\\Tintwell\\saved\\");
  EXPECT_EQ(dialog.txtCurrentPath->text(), QStringLiteral("Pictures/Tintwell/saved/"));
  dialog.SetPicture(*PainterWith(ColourfulPicture(8, 8)), "cat");
  EXPECT_EQ(dialog.txtFileName->text(), QStringLiteral("Pictures/Tintwell/saved/cat.001.gif"));
}

TEST_F(SaveDialog, TheFolderChooserStartsOnTheCurrentFolder) {
  fs::create_directories(SaveFolder());
  TDSave dialog;
  dialog.SetFolder(SaveFolder());
  dialog.SetPicture(*PainterWith(ColourfulPicture(8, 8)), "x");
  QString askedTitle, askedRoot, askedFolder;
  dialog.OnBrowseForFolder = [&](const QString& title, const QString& root, QString& folder) {
    askedTitle = title;
    askedRoot = root;
    askedFolder = folder;
    folder = QString::fromStdString(PicturesPath());
    return true;
  };
  dialog.ToggleAdvanced();
  QTest::mouseClick(dialog.btnPath, Qt::LeftButton);
  EXPECT_EQ(askedTitle, QStringLiteral("Save in folder:"));
  EXPECT_EQ(askedRoot.toStdString(), PicturesPath());
  EXPECT_EQ(askedFolder.toStdString(), SaveFolder());
  EXPECT_EQ(dialog.Folder(), PicturesPath() + "\\");
  EXPECT_EQ(dialog.txtCurrentPath->text(), QStringLiteral("Pictures/"));
  EXPECT_EQ(dialog.FileName(), PicturesPath() + "\\x.001.jpg");

  // Cancelled: nothing changes.
  dialog.OnBrowseForFolder = [&](const QString&, const QString&, QString&) { return false; };
  QTest::mouseClick(dialog.txtCurrentPath, Qt::LeftButton);
  EXPECT_EQ(dialog.Folder(), PicturesPath() + "\\");
}

TEST_F(SaveDialog, AMissingFolderIsNotPreselectedAndIsCreatedBySaving) {
  const auto painter = PainterWith(ColourfulPicture(16, 12));
  TDSave dialog;
  const std::string gone = FFolder.File("gone") + "/deeper/";
  dialog.SetFolder(gone);
  dialog.SetPicture(*painter, "x");
  QString askedFolder = QStringLiteral("unchanged");
  dialog.OnBrowseForFolder = [&](const QString&, const QString&, QString& folder) {
    askedFolder = folder;
    return false;
  };
  dialog.ChooseFolder();
  EXPECT_TRUE(askedFolder.isEmpty());
  ASSERT_TRUE(dialog.Save());
  EXPECT_TRUE(fs::is_regular_file(gone + "x.001.jpg"));
  EXPECT_TRUE(FWarnings.Messages.empty());
}

TEST_F(SaveDialog, CancelLeavesTheSettingsAlone) {
  QCSetting().WriteSaveMode(1);
  QCSetting().WriteSaveSize(0);
  Setting().WriteString("PathSave", "[MyPicturesFolder]\\mine\\", "Main");
  const auto painter = PainterWith(ColourfulPicture(16, 12));
  TDSave dialog;
  dialog.SetPicture(*painter, "x");
  dialog.OnBrowseForFolder = [&](const QString&, const QString&, QString& folder) {
    folder = QString::fromStdString(FFolder.Path());
    return true;
  };
  int result = mrNone;
  WhenRunning([&] {
    dialog.ToggleAdvanced();
    QTest::mouseClick(dialog.rbBMP, Qt::LeftButton);
    QTest::mouseClick(dialog.rbLg, Qt::LeftButton);
    QTest::mouseClick(dialog.btnPath, Qt::LeftButton);
    QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
  });
  result = dialog.ShowModal();
  EXPECT_EQ(result, mrCancel);
  EXPECT_EQ(QCSetting().ReadSaveMode(), 1);
  EXPECT_EQ(QCSetting().ReadSaveSize(), 0);
  EXPECT_EQ(Setting().ReadString("PathSave", "", "Main"), "[MyPicturesFolder]\\mine\\");
  EXPECT_FALSE(fs::exists(FFolder.File("x.001.bmp")));
}

TEST_F(SaveDialog, SaveWritesTheSettingsAndClosesWithOk) {
  const auto painter = PainterWith(ColourfulPicture(16, 12));
  TDSave dialog;
  dialog.SetPicture(*painter, "cat");
  const std::string folder = PicturesPath() + "/mine/";
  dialog.SetFolder(folder);
  WhenRunning([&] {
    dialog.ToggleAdvanced();
    QTest::mouseClick(dialog.rbGIF, Qt::LeftButton);
    QTest::mouseClick(dialog.rbMd, Qt::LeftButton);
    QTest::mouseClick(dialog.btnSave, Qt::LeftButton);
  });
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_EQ(QCSetting().ReadSaveMode(), 1);
  EXPECT_EQ(QCSetting().ReadSaveSize(), 1);
  // Stored with the pictures macro, read back as the full folder.
  EXPECT_EQ(Setting().ReadString("PathSave", "", "Main"), "[MyPicturesFolder]/mine/");
  EXPECT_EQ(QCSetting().ReadPathSave(), folder);
  const TRaster24 written = ReadImageFile(folder + "cat.001.gif");
  EXPECT_EQ(written.Width(), 8);
  EXPECT_EQ(written.Height(), 6);
  EXPECT_TRUE(FWarnings.Messages.empty());
}

// Each format at each size, decoded back: the size is a quarter, half or all
// of the picture's width and height, each pixel the mean of its block.
// BMP keeps every colour; so does GIF here, where the picture has fewer than
// 256 colours at every size; JPEG is close.
TEST_F(SaveDialog, SavedPicturesHaveTheChosenFormatAndSize) {
  // BMP and GIF get a colourful picture; the full-size GIF gets a picture of 12 x 8 plain blocks
  // (96 colours); shrunk, the colourful picture keeps under 256 colours: 48 blocks and 192 single
  // pixels at half size.
  const TRaster24 colours = ColourfulPicture(48, 32);
  TRaster24 fewColours(48, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 48; ++x)
      fewColours.SetPixel(x, y, RGB(uint8_t(x / 4 * 20), uint8_t(y / 4 * 30), 9));
  // JPEG is checked on smooth shading; at quality 80 it stays within a few
  // levels on average there, also at the tiny size where the halved colour
  // resolution shows most.
  TRaster24 smooth(48, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 48; ++x) smooth.SetPixel(x, y, RGB(uint8_t(x * 2), uint8_t(y * 3), 128));
  const std::vector<std::pair<int, std::string>> formats = {{0, ".jpg"}, {1, ".gif"}, {2, ".bmp"}};
  for (const auto& [mode, extension] : formats)
    for (int size = 0; size <= 2; ++size) {
      SCOPED_TRACE("mode " + std::to_string(mode) + " size " + std::to_string(size));
      const TRaster24& source = mode == 0 ? smooth : mode == 1 && size == 2 ? fewColours : colours;
      const auto painter = PainterWith(source);
      TDSave dialog;
      dialog.SetFolder(SaveFolder());
      dialog.SetPicture(*painter, "pic");
      dialog.SelectMode(mode);
      dialog.SelectSize(size);
      const std::string file = dialog.FileName();
      EXPECT_EQ(fs::path(file).extension(), extension);
      ASSERT_TRUE(dialog.Save());
      const std::vector<uint8_t> bytes = [&] {
        std::ifstream in(file, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
      }();
      const TImageFormat expectedFormat = mode == 0   ? TImageFormat::Jpeg
                                          : mode == 1 ? TImageFormat::Gif
                                                      : TImageFormat::Bmp;
      EXPECT_EQ(SniffImageFormat(bytes.data(), bytes.size()), expectedFormat);
      const TRaster24 written = ReadImageFile(file);
      const int divisor = size == 0 ? 4 : size == 1 ? 2 : 1;
      const TRaster24 expected = divisor == 1 ? source : BlockMeans(source, divisor);
      ASSERT_EQ(written.Width(), 48 / divisor);
      ASSERT_EQ(written.Height(), 32 / divisor);
      if (mode == 0)
        EXPECT_LE(ChannelDifference(written, expected).Mean, 5.0);
      else
        EXPECT_EQ(ChannelDifference(written, expected).Max, 0);
      // The next proposal moved on.
      dialog.UpdateFileName();
      EXPECT_NE(dialog.FileName(), file);
    }
  EXPECT_TRUE(FWarnings.Messages.empty());
}

TEST_F(SaveDialog, APictureSmallerThanFourPixelsStillGivesOnePixel) {
  const auto painter = PainterWith(TRaster24(3, 2, RGB(10, 20, 30)));
  TDSave dialog;
  dialog.SetFolder(SaveFolder());
  dialog.SetPicture(*painter, "tiny");
  dialog.SelectMode(2);
  dialog.SelectSize(0);
  ASSERT_TRUE(dialog.Save());
  const TRaster24 written = ReadImageFile(dialog.FileName());
  EXPECT_EQ(written.Width(), 1);
  EXPECT_EQ(written.Height(), 1);
  EXPECT_EQ(written.Pixel(0, 0), RGB(10, 20, 30));
}

// Another program takes the proposed names while the dialog is open: the
// picture goes to the next free number and the other files stay as they
// were, a file and a link alike.
TEST_F(SaveDialog, ANameTakenAfterTheProposalIsNeverOverwritten) {
  const auto painter = PainterWith(ColourfulPicture(16, 12));
  TDSave dialog;
  dialog.SetFolder(SaveFolder());
  dialog.SetPicture(*painter, "kite");
  dialog.SelectMode(1);
  dialog.SelectSize(2);  // full size
  ASSERT_EQ(dialog.FileName(), SaveFolder() + "kite.001.gif");
  fs::create_directories(SaveFolder());
  WriteBytes(SaveFolder() + "kite.001.gif", "the parent's own");
  WriteBytes(SaveFolder() + "target.txt", "linked");
  fs::create_symlink(SaveFolder() + "target.txt", SaveFolder() + "kite.002.gif");
  ASSERT_TRUE(dialog.Save());
  EXPECT_EQ(dialog.FileName(), SaveFolder() + "kite.003.gif");
  EXPECT_EQ(ReadImageFile(SaveFolder() + "kite.003.gif").Width(), 16);
  std::ifstream own(SaveFolder() + "kite.001.gif"), linked(SaveFolder() + "target.txt");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(own), {}), "the parent's own");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(linked), {}), "linked");
  EXPECT_EQ(CountEntries(SaveFolder()), 4);
  EXPECT_TRUE(FWarnings.Messages.empty());
}

TEST_F(SaveDialog, AnUnwritableFolderGivesOneMessageAndKeepsTheDialogOpen) {
  const auto painter = PainterWith(ColourfulPicture(16, 12));
  std::string folder;
  std::string locked = FFolder.File("locked");
  fs::create_directories(locked);
  if (geteuid() == 0) {
    // The superuser may write anywhere; a folder under a plain file cannot
    // be created by anyone.
    WriteBytes(FFolder.File("plain"), "x");
    folder = FFolder.File("plain") + "/saved/";
  } else {
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    folder = locked + "/";
  }
  TDSave dialog;
  dialog.SetPicture(*painter, "x");
  dialog.SetFolder(folder);
  bool stayedOpen = false;
  WhenRunning([&] {
    QTest::mouseClick(dialog.btnSave, Qt::LeftButton);
    stayedOpen = dialog.isVisible() && dialog.ModalResult() == mrNone;
    QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
  });
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  fs::permissions(locked, fs::perms::owner_all);
  EXPECT_TRUE(stayedOpen);
  ASSERT_EQ(FWarnings.Messages.size(), 1u);
  EXPECT_NE(FWarnings.Messages[0].find("x.001.jpg"), std::string::npos) << FWarnings.Messages[0];
  EXPECT_EQ(CountEntries(locked), 0);
  EXPECT_FALSE(fs::exists(folder + "x.001.jpg"));
  // The settings were written before the failed write.
  EXPECT_EQ(NativePath(QCSetting().ReadPathSave()), folder);
}

TEST_F(SaveDialog, SavingWithoutAPictureIsOneMessage) {
  TPainter empty;
  TDSave dialog;
  dialog.SetFolder(SaveFolder());
  dialog.SetPicture(empty, "none");
  EXPECT_FALSE(dialog.Save());
  ASSERT_EQ(FWarnings.Messages.size(), 1u);
  EXPECT_EQ(FWarnings.Messages[0], "There is no picture to save.");
  EXPECT_FALSE(fs::exists(SaveFolder()));
}

TEST_F(SaveDialog, SaveDialogRunShowsTheDialogForThePicture) {
  const auto painter = PainterWith(TRaster24(600, 450, clWhite));
  QString sizeText;
  bool modal = false;
  WhenRunning([&] {
    TDSave* dialog = FindTopLevel<TDSave>();
    ASSERT_NE(dialog, nullptr);
    modal = QApplication::activeModalWidget() == dialog;
    sizeText = dialog->txtMd->text();
    QTest::mouseClick(dialog->btnCancel, Qt::LeftButton);
  });
  SaveDialogRun(*painter, "house");
  EXPECT_TRUE(modal);
  EXPECT_EQ(sizeText, QString::fromUtf8("Medium (300 × 225)"));
  // The dialog is freed once the event loop runs again.
  EXPECT_TRUE(WaitUntil([] {
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (qobject_cast<TDSave*>(widget)) return false;
    return true;
  }));
}

// The labels' designed rectangles (left, top, width, height), in the
// dialog or, for the options, in the panel.
const std::map<std::string, QRect>& DesignedLabels() {
  static const std::map<std::string, QRect> rects = {
      {"txtTitle", {16, 12, 449, 33}},    {"txtPrompt", {16, 56, 453, 20}},
      {"txtFileName", {28, 80, 437, 16}}, {"txtAdvanced", {32, 1, 100, 20}},
      {"txtSm", {40, 36, 185, 20}},       {"txtMd", {40, 60, 185, 20}},
      {"txtLg", {40, 84, 185, 20}},       {"txtJPEG", {292, 36, 85, 20}},
      {"txtGIF", {292, 60, 85, 20}},      {"txtBMP", {292, 84, 85, 20}},
      {"txtPath", {8, 125, 429, 20}},     {"txtCurrentPath", {44, 153, 397, 16}}};
  return rects;
}

TEST_F(SaveDialog, EveryLabelFitsInEveryShippedLanguage) {
  std::set<std::string> codes;
  for (const auto& entry : fs::directory_iterator(ShippedLangFolder())) {
    const std::string name = entry.path().stem().string();
    if (entry.path().extension() == ".ini" && name.rfind("tintwell_", 0) == 0)
      codes.insert(name.substr(9));
  }
  ASSERT_GE(codes.size(), 2u);
  const auto painter = PainterWith(TRaster24(2400, 1800, clWhite));
  for (const std::string& code : codes) {
    SCOPED_TRACE(code);
    Lang().SetLanguage(code);
    TDSave dialog;
    dialog.SetFolder(PicturesPath() + "/Tintwell/saved/");
    dialog.SetPicture(*painter, "a-rather-long-picture-name");
    const auto labels = dialog.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), qsizetype(DesignedLabels().size()));
    for (QLabel* label : labels) {
      SCOPED_TRACE(label->objectName().toStdString());
      EXPECT_FALSE(label->text().isEmpty());
      EXPECT_TRUE(LabelTextFits(*label));
      EXPECT_GE(label->font().pixelSize(), 8);
      // Where the line of the font is taller than the label's design, the
      // label grows evenly up and down, never sideways.
      const QRect design = DesignedLabels().at(label->objectName().toStdString());
      EXPECT_EQ(label->x(), design.x());
      EXPECT_EQ(label->width(), design.width());
      EXPECT_GE(label->height(), design.height());
      EXPECT_LE(std::abs(2 * label->y() + label->height() - (2 * design.y() + design.height())), 1);
    }
    // Language texts are shown whole, never shortened.
    EXPECT_EQ(dialog.txtPrompt->text(), dialog.Text(QStringLiteral("Prompt")));
    EXPECT_EQ(dialog.txtSm->text(),
              dialog.FormatText(QStringLiteral("Small"), {int64_t(2400 / 4), int64_t(1800 / 4)}));
    for (TQImgButton* button : {dialog.btnSave, dialog.btnCancel}) {
      const QFontMetrics metrics(button->Font());
      EXPECT_LE(metrics.horizontalAdvance(button->Caption()), button->width() - 8)
          << button->Caption().toStdString();
    }
  }
}

TEST_F(SaveDialog, AVeryLongFolderIsShortenedInTheMiddle) {
  std::string folder = FFolder.Path();
  for (int i = 0; i < 12; ++i) folder += "/a-long-folder-name-" + std::to_string(i);
  folder += "/";
  TDSave dialog;
  dialog.SetFolder(folder);
  EXPECT_TRUE(LabelTextFits(*dialog.txtCurrentPath));
  EXPECT_TRUE(dialog.txtCurrentPath->text().endsWith(QStringLiteral("-11/")));
  EXPECT_EQ(dialog.txtCurrentPath->toolTip().toStdString(), folder);
  EXPECT_EQ(dialog.Folder(), folder);
}

}  // namespace
}  // namespace tw::test
