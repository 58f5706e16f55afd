// Shared fixture of the save dialog tests: a temporary settings store with
// the shipped languages (English selected), a temporary pictures folder,
// warnings recorded instead of shown, and painters holding known colours.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "controls/QDialogF.h"
#include "painter/qt/PainterQtU.h"
#include "pictures/PictureTestUtil.h"
#include "pictures/QFoldersU.h"
#include "pictures/QUtilU.h"
#include "settings/ProgramGlobalsU.h"

namespace tw::test {

// The shipped language files beside the sources.
inline std::string ShippedLangFolder() {
#ifdef TINTWELL_TEST_DATA
  return std::string(TINTWELL_TEST_DATA) + "/../data/lang";
#else
  return (std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "data" /
          "lang")
      .string();
#endif
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// Colours that differ in every channel from pixel to pixel, repeating in
// 4 x 4 blocks of one colour each on the left half and varying pixel by
// pixel on the right half, so both plain and mixed blocks are shrunk.
inline TRaster24 ColourfulPicture(int w, int h) {
  TRaster24 r(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (x < w / 2)
        r.SetPixel(x, y, RGB(uint8_t(40 * (x / 4) % 250), uint8_t(60 * (y / 4) % 250), 200));
      else
        r.SetPixel(x, y, RGB(uint8_t(x * 7 % 256), uint8_t(y * 11 % 256), uint8_t((x + y) % 256)));
    }
  return r;
}

class SaveDialogFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(PicturesPath());
    SetPicturesFolder(PicturesPath());
    WriteBytes(FFolder.File("default.ini"), "[Main]\nLanguage=en_us\n");
    CreateProgramGlobals(FFolder.File("settings.sqlite3"), FFolder.File("default.ini"),
                         ShippedLangFolder());
    Lang().SetLanguage("en_us");
    OnTranslate = [](const std::string& key) { return Lang().GetText(key); };
  }
  void TearDown() override {
    FreeProgramGlobals();
    OnTranslate = nullptr;
    SetPicturesFolder("");
    SetMainForm(nullptr);
  }

  std::string PicturesPath() const { return FFolder.File("Pictures"); }
  // A folder for saving in, as the dialog keeps it: ending in "/".
  std::string SaveFolder(const std::string& name = "saved") const {
    return FFolder.File(name) + "/";
  }

  // A painter whose colour layer holds exactly `colours`.
  static std::unique_ptr<TPainter> PainterWith(const TRaster24& colours) {
    auto painter = std::make_unique<TPainter>();
    painter->LoadPicture(TRaster24(colours.Width(), colours.Height(), clWhite));
    painter->AssignLayer(TBitmap(colours), false);
    return painter;
  }

  TTempFolder FFolder;
  TWarningRecorder FWarnings;
};

// Runs `step` once the modal loop that is about to start processes events.
inline void WhenRunning(std::function<void()> step) { QTimer::singleShot(0, std::move(step)); }

// The open top-level window of type T, or null.
template <class T>
T* FindTopLevel() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* found = qobject_cast<T*>(widget); found && found->isVisible()) return found;
  return nullptr;
}

// Whether the label's whole text fits its rectangle in the label's font,
// wrapped at words where the label wraps; the text and the room it needs
// when it does not.
inline ::testing::AssertionResult LabelTextFits(const QLabel& label) {
  const QFontMetrics metrics(label.font());
  const int flags = Qt::AlignLeft | Qt::AlignTop | (label.wordWrap() ? Qt::TextWordWrap : 0);
  const QRect needed =
      metrics.boundingRect(QRect(0, 0, label.width(), 1 << 20), flags, label.text());
  if (needed.width() <= label.width() && needed.height() <= label.height())
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << '"' << label.text().toStdString() << "\" at " << label.font().pixelSize()
         << " px needs " << needed.width() << " x " << needed.height() << " in " << label.width()
         << " x " << label.height();
}

}  // namespace tw::test
