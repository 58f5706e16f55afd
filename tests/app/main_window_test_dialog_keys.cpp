// The main window's dialogs by keyboard alone: Ctrl+S opens the save
// dialog and Return saves, Escape leaves the save and print dialogs without
// doing anything, and the close question answers Escape with No and Return
// with Yes.
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_window_test_support.h"

namespace tw::test {
namespace {

// Sends a key where the platform sends it: to the focused control of the
// dialog, else to the dialog.
void DialogKey(QWidget* Dialog, int KeyCode, Qt::KeyboardModifiers Modifiers = {}) {
  QWidget* to = Dialog->focusWidget() ? Dialog->focusWidget() : Dialog;
  QTest::keyClick(to, Qt::Key(KeyCode), Modifiers);
}

int FileCount(const std::string& Folder) {
  int n = 0;
  for (const auto& entry : std::filesystem::directory_iterator(Folder))
    n += entry.is_regular_file();
  return n;
}

class MainWindowDialogKeys : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    AddPicture("a.twf", "Apple");
    WriteDefaults({"a.twf"});
    Start();
  }

  // Every dialog that opens gets these keys, one after the other.
  void AnswerWithKeys(std::vector<int> Keys) {
    FAnswerer->AnswerWith = [Keys](QWidget* Dialog) {
      for (int k : Keys) DialogKey(Dialog, k);
      return true;
    };
  }
};

TEST_F(MainWindowDialogKeys, CtrlSThenReturnSaves) {
  ClickPicture(20, 20);
  AnswerWithKeys({Qt::Key_Return});
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(FAnswerer->Seen, std::vector<std::string>{"Keys:tw::TDSave"});
  EXPECT_EQ(FileCount(SaveFolder()), 1);
}

TEST_F(MainWindowDialogKeys, TabToSaveThenSpaceSaves) {
  bool marked = false;
  FAnswerer->AnswerWith = [&](QWidget* Dialog) {
    auto* save = qobject_cast<TDSave*>(Dialog);
    if (!save) return false;
    for (int i = 0; i < 20 && Dialog->focusWidget() != save->btnSave; ++i)
      DialogKey(Dialog, Qt::Key_Tab);
    marked = Dialog->focusWidget() == save->btnSave;
    DialogKey(Dialog, Qt::Key_Space);
    if (Dialog->isVisible()) DialogKey(Dialog, Qt::Key_Escape);
    return true;
  };
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(marked);
  EXPECT_EQ(FileCount(SaveFolder()), 1);
}

TEST_F(MainWindowDialogKeys, EscapeLeavesTheSaveDialogWithoutSaving) {
  AnswerWithKeys({Qt::Key_Escape});
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(FAnswerer->Seen, std::vector<std::string>{"Keys:tw::TDSave"});
  EXPECT_EQ(FileCount(SaveFolder()), 0);
  EXPECT_TRUE(QApplication::activeModalWidget() == nullptr);
}

TEST_F(MainWindowDialogKeys, EscapeLeavesThePrintDialogWithoutPrinting) {
  AnswerWithKeys({Qt::Key_Escape});
  Key(Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(FAnswerer->Seen, std::vector<std::string>{"Keys:tw::TDPrint"});
  EXPECT_EQ(FileCount(SaveFolder()), 0);
  EXPECT_TRUE(QApplication::activeModalWidget() == nullptr);
}

TEST_F(MainWindowDialogKeys, EscapeAnswersNoToClosingAndReturnYes) {
  AnswerWithKeys({Qt::Key_Escape});
  FWindow->close();
  EXPECT_TRUE(FWindow->isVisible());
  AnswerWithKeys({Qt::Key_Return});
  FWindow->close();
  EXPECT_FALSE(FWindow->isVisible());
}

}  // namespace
}  // namespace tw::test
