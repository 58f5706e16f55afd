// The main window's test bench: a temporary settings store seeded from a
// defaults file the test writes, a catalog folder with copies of shipped
// pictures and small generated ones, a save folder, the silent sound sink,
// a recorder of the cues played, and an answerer for the modal dialogs that
// the window opens (it records which dialogs came and answers each one).
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QLabel>
#include <QTest>
#include <QPointer>
#include <cmath>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/MainSoundsU.h"
#include "app/PaintF.h"
#include "controls/QDialogF.h"
#include "controls/QFitLabelU.h"
#include "controls/QImgButtonU.h"
#include "dialogs/DlgCloseF.h"
#include "dialogs/DlgInfoF.h"
#include "dialogs/DlgOptionsF.h"
#include "dialogs/DlgPrintF.h"
#include "dialogs/DlgSaveF.h"
#include "painter/qt/PainterQtU.h"
#include "controls/PaintGridU.h"
#include "pictures/PictureFileU.h"
#include "pictures/PictureTestUtil.h"
#include "qtsupport/WidgetTestSupport.h"
#include "settings/ProgramGlobalsU.h"
#include "settings/SettingTestUtil.h"
#include "sound/qt/QtSoundNotifierU.h"
#include "support/EnvVar.h"

namespace tw::test {

// The repository's data folder, through QtTest's source folder when the
// build does not name the tests folder.
#ifdef TINTWELL_TEST_DATA
inline const std::string RepoData = std::string(TINTWELL_TEST_DATA) + "/../data";
#else
inline const std::string RepoData = std::string(QT_TESTCASE_SOURCEDIR) + "/../data";
#endif

// Answers every dialog that opens while it lives and records what came:
// "Close", "Info:<title>", "Save", "Print", "Options", "Input", or
// "Other:<class>" for any other dialog (a message box, a file chooser),
// which it closes. A dialog is answered from its own modal loop: its Show
// event posts the answer, which that loop delivers first, so no timer and
// no clock is involved.
class TDialogAnswerer {
 public:
  TDialogAnswerer() {
    FFilter.OnShow = [this](QWidget* Window) { Shown(Window); };
    QCoreApplication::instance()->installEventFilter(&FFilter);
  }
  ~TDialogAnswerer() { QCoreApplication::instance()->removeEventFilter(&FFilter); }
  TDialogAnswerer(const TDialogAnswerer&) = delete;
  TDialogAnswerer& operator=(const TDialogAnswerer&) = delete;

  std::vector<std::string> Seen;
  // The answer to the close question.
  bool CloseYes = true;
  // The texts typed into successive password boxes; an empty text cancels.
  std::deque<std::string> Inputs;
  // Called with the kind of each dialog before it is answered.
  std::function<void(const std::string& Kind)> OnDialog;
  // When set, gets every dialog first; true means it answered the dialog
  // itself (by keys, say) and the answerer leaves it alone.
  std::function<bool(QWidget* Dialog)> AnswerWith;
  // The information dialogs' texts, in order: title, text, subtitle.
  std::vector<std::vector<std::string>> InfoTexts;

  int Count(const std::string& Kind) const {
    int n = 0;
    for (const std::string& s : Seen) n += s == Kind || s.rfind(Kind + ":", 0) == 0;
    return n;
  }

 private:
  // Reports the Show events of top-level windows.
  class TShowFilter : public QObject {
   public:
    std::function<void(QWidget*)> OnShow;

   protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
      if (Event->type() == QEvent::Show && Watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(Watched);
        if (widget->isWindow() && OnShow) OnShow(widget);
      }
      return false;
    }
  };

  static bool IsDialog(QWidget* Window) {
    return dynamic_cast<IModalForm*>(Window) || qobject_cast<QDialog*>(Window);
  }

  void Shown(QWidget* Window) {
    // Other top-level windows (the bubble hint) are no dialogs.
    if (!IsDialog(Window)) return;
    const QPointer<QWidget> dialog(Window);
    QMetaObject::invokeMethod(
        Window,
        [this, dialog] {
          if (dialog && dialog->isVisible()) Answer(dialog);
        },
        Qt::QueuedConnection);
  }

  void Answer(QWidget* Dialog) {
    if (AnswerWith && AnswerWith(Dialog)) {
      Seen.push_back(std::string("Keys:") + Dialog->metaObject()->className());
      return;
    }
    if (auto* input = qobject_cast<QInputDialog*>(Dialog)) {
      Seen.push_back("Input");
      const std::string text = Inputs.empty() ? std::string() : Inputs.front();
      if (!Inputs.empty()) Inputs.pop_front();
      if (text.empty()) {
        input->reject();
      } else {
        input->setTextValue(QString::fromStdString(text));
        input->accept();
      }
      return;
    }
    auto* form = dynamic_cast<IModalForm*>(Dialog);
    if (!form) {
      Seen.push_back(std::string("Other:") + Dialog->metaObject()->className());
      if (auto* dialog = qobject_cast<QDialog*>(Dialog)) dialog->reject();
      return;
    }
    if (qobject_cast<TDClose*>(Dialog)) {
      Seen.push_back("Close");
      form->SetModalResult(CloseYes ? mrYes : mrNo);
    } else if (auto* info = qobject_cast<TDInfo*>(Dialog)) {
      Seen.push_back("Info:" + info->txtTitle->text().toStdString());
      InfoTexts.push_back({info->txtTitle->text().toStdString(),
                           info->txtPrompt->text().toStdString(),
                           info->txtSubtitle->text().toStdString()});
      form->SetModalResult(mrOk);
    } else if (qobject_cast<TDSave*>(Dialog)) {
      Seen.push_back("Save");
      if (OnDialog) OnDialog("Save");
      form->SetModalResult(mrCancel);
    } else if (qobject_cast<TDPrint*>(Dialog)) {
      Seen.push_back("Print");
      form->SetModalResult(mrCancel);
    } else if (qobject_cast<TDOptions*>(Dialog)) {
      // Its only button is OK; nothing in it was changed.
      Seen.push_back("Options");
      form->SetModalResult(mrOk);
    } else {
      Seen.push_back(std::string("Other:") + Dialog->metaObject()->className());
      form->SetModalResult(mrCancel);
    }
  }

  TShowFilter FFilter;
};

// The control position of a picture point at the painter's scale.
inline QPoint PainterPoint(const TPainter& Painter, int X, int Y) {
  const double s = Painter.Scale();
  return QPoint(int(std::lround((X + 0.5) * s - 0.5)), int(std::lround((Y + 0.5) * s - 0.5)));
}

// The middle of a well of a paint grid.
inline QPoint WellCentre(TPaintGrid& Grid, int Index) {
  Grid.Layout();
  const TRect& r = Grid.Cells().at(size_t(Index));
  return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

// A white picture with a black frame and a black line LineWidth pixels wide
// down its middle (from x = w / 2): two closed areas, left and right, for
// exact fills.
inline TRaster24 TwoAreaPicture(int w = 160, int h = 120, int LineWidth = 1) {
  TRaster24 image(w, h, clWhite);
  for (int x = 0; x < w; ++x) {
    image.SetPixel(x, 0, clBlack);
    image.SetPixel(x, h - 1, clBlack);
  }
  for (int y = 0; y < h; ++y) {
    image.SetPixel(0, y, clBlack);
    image.SetPixel(w - 1, y, clBlack);
    for (int x = w / 2; x < w / 2 + LineWidth; ++x) image.SetPixel(x, y, clBlack);
  }
  return image;
}

class MainWindowFixture : public ::testing::Test {
 protected:
  static constexpr TColor Yellow = 0x00FFFF;
  static constexpr TColor Blue = 0xFF0000;
  static constexpr TColor Red = 0x0000FF;

  void SetUp() override {
    FOldFolder = std::filesystem::current_path();
    // The window finds "sounds/" in the working folder, as the program does
    // in its own folder.
    std::filesystem::current_path(RepoData);
    setenv("TINTWELL_SOUND", "silent", 1);
    // The kept colourings go to the test's own data folder.
    FDataHome.emplace("XDG_DATA_HOME", FFolder.File("data"));
    std::filesystem::create_directories(CatalogFolder());
    std::filesystem::create_directories(SaveFolder());
  }

  void TearDown() override {
    FWindow.reset();
    FAnswerer.reset();
    if (ProgramGlobalsExist()) FreeProgramGlobals();
    OnTranslate = nullptr;
    std::filesystem::current_path(FOldFolder);
    FDataHome.reset();
  }

  std::string CatalogFolder() const { return FFolder.File("catalog") + "/"; }
  std::string SaveFolder() const { return FFolder.File("saved") + "/"; }
  // The kept colouring files of a catalog entry.
  static TColoringFiles Kept(const std::string& Entry) { return ColoringFileNames(Entry); }

  // Generated pictures with an English title and author.
  void AddPicture(const std::string& Name, const std::string& Title,
                  const TRaster24& Image = TwoAreaPicture(), const std::string& Author = "Ann") {
    WritePictureFile(CatalogFolder() + Name, {{"en_us", Title, Author, Title + " story"}}, Image);
  }
  void CopyShippedPicture(const std::string& Name) {
    std::filesystem::copy_file(RepoData + "/catalog/" + Name, CatalogFolder() + Name);
  }

  // The defaults file: the catalog list, two palettes and any further lines
  // of the section "Main".
  void WriteDefaults(const std::vector<std::string>& Catalog, const std::string& MainLines = "") {
    std::string text = "[Main]\nPathCatalog=" + CatalogFolder() + "\nPathSave=" + SaveFolder() +
                       "\nUseImgCursors=true\n" + MainLines +
                       "\n[Catalog]\nFileCount=" + std::to_string(Catalog.size()) + "\n";
    for (size_t i = 0; i < Catalog.size(); ++i)
      text += "File" + std::to_string(i) + "=" + Catalog[i] + "\n";
    text += "[Palettes]\nPaletteCount=2\n";
    text += "[Palettes\\Palette0]\nName=First\nEnabled=true\nColorCount=20\n";
    for (int i = 0; i < 20; ++i)
      text += "Color" + std::to_string(i) + "=" + std::to_string(PaletteColor(0, i)) + "\n";
    text += "[Palettes\\Palette1]\nName=Second\nEnabled=true\nColorCount=20\n";
    for (int i = 0; i < 20; ++i)
      text += "Color" + std::to_string(i) + "=" + std::to_string(PaletteColor(1, i)) + "\n";
    WriteTextFile(FFolder.File("default.ini"), text);
  }

  // Palette 0 starts with yellow, blue, red, then distinct greys; palette 1
  // holds other distinct colours.
  static TColor PaletteColor(int Palette, int Index) {
    if (Palette == 0 && Index == 0) return Yellow;
    if (Palette == 0 && Index == 1) return Blue;
    if (Palette == 0 && Index == 2) return Red;
    return TColor(0x102030 + Palette * 0x400000 + Index * 0x010101);
  }

  // Creates the globals (once) and the window, shows it and waits for the
  // end of its deferred start.
  TFMain& Start() {
    if (!ProgramGlobalsExist())
      CreateProgramGlobals(FFolder.File("settings.sqlite3"), FFolder.File("default.ini"),
                           RepoData + "/lang");
    if (!FAnswerer) FAnswerer = std::make_unique<TDialogAnswerer>();
    FWindow = std::make_unique<TFMain>(nullptr, FSteeredPointer);
    FWindow->Sounds().OnCuePlayed = [this](int Cue) { Cues.push_back(Cue); };
    FWindow->show();
    EXPECT_TRUE(WaitUntil([this] { return FWindow->Started(); }));
    FWindow->activateWindow();
    WaitUntil([this] { return FWindow->isActiveWindow(); });
    SettlePaints();
    return *FWindow;
  }

  // Runs the close sequence and lets the window go, as the program's end.
  void CloseWindow(bool Yes = true) {
    FAnswerer->CloseYes = Yes;
    FWindow->close();
    if (Yes) FWindow.reset();
  }

  TQImgButton& Button(const char* Name) const {
    auto* button = FWindow->findChild<TQImgButton*>(Name);
    EXPECT_NE(button, nullptr) << Name;
    return *button;
  }
  // Buttons act on the press; the release follows, so no button stays held
  // for the tests that come after.
  void Press(const char* Name) const { QTest::mouseClick(&Button(Name), Qt::LeftButton); }

  // The control position of a picture point at the painter's scale.
  QPoint At(int X, int Y) const { return PainterPoint(FWindow->Painter(), X, Y); }
  void ClickPicture(int X, int Y) const {
    QTest::mouseClick(&FWindow->Painter(), Qt::LeftButton, {}, At(X, Y));
  }
  TColor PixelOf(int X, int Y) const { return FWindow->Painter().ColorLayer().Pixel(X, Y); }

  void ClickWell(TPaintGrid& Grid, int Index) const {
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, WellCentre(Grid, Index));
  }

  void Key(int KeyCode, Qt::KeyboardModifiers Modifiers = {}) const {
    QTest::keyClick(FWindow.get(), Qt::Key(KeyCode), Modifiers);
  }

  int CueCount(int Cue) const { return int(std::count(Cues.begin(), Cues.end(), Cue)); }

  TTempFolder FFolder;
  std::optional<TEnvVar> FDataHome;
  TWarningRecorder FWarnings;
  TQtSoundNotifierScope FNotifier;
  std::unique_ptr<TDialogAnswerer> FAnswerer;
  // Where the window's arrow keys steer; the platform's pointer when null.
  IPointer* FSteeredPointer = nullptr;
  std::unique_ptr<TFMain> FWindow;
  std::vector<int> Cues;
  std::filesystem::path FOldFolder;
};

}  // namespace tw::test
