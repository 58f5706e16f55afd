// The parental password gate on a temporary settings store and language
// file, with the input box replaced by a list of answers: how often it asks,
// what it shows, and the exact comparison with the password read anew for
// every attempt, whether the store holds its hash or an older clear text.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "app/ParentGateU.h"
#include "pictures/PictureTestUtil.h"
#include "settings/LangU.h"
#include "settings/ParentControlsU.h"
#include "settings/PasswordHashU.h"
#include "settings/QCSettingU.h"
#include "settings/SettingU.h"

namespace tw::test {
namespace {

class ParentGate : public ::testing::Test {
 protected:
  ParentGate() {
    std::filesystem::create_directories(FFolder.File("lang"));
    WriteFile(FFolder.File("lang/tintwell_en_us.ini"),
              "[Text]\nDPasswordCaption=Grown-ups only\nDPasswordPrompt=Secret word:\n");
    WriteFile(FFolder.File("default.ini"), "[Main]\nHints=true\n");
    FLang.SetLanguage("en_us");
  }

  static void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
  }
  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  void SetPassword(const std::string& password) {
    FStore.WriteString("ParentPassword", password, SectionMain);
  }

  // Answers the prompts in order, recording each caption and prompt; after
  // each answer, BetweenPrompts runs with the number of prompts so far.
  bool Ask(std::vector<std::string> answers) {
    size_t next = 0;
    return AskParentPassword(FSettings, FLang, [&](const std::string& caption,
                                                   const std::string& prompt) {
      Prompts.push_back(caption + " / " + prompt);
      if (next >= answers.size()) {
        ADD_FAILURE() << "asked more often than answers were given";
        return std::string();
      }
      const std::string answer = answers[next++];
      if (BetweenPrompts) BetweenPrompts(int(next));
      return answer;
    });
  }

  TTempFolder FFolder;
  TWarningRecorder FWarnings;
  TSetting FStore{FFolder.File("settings.sqlite3"), ProductKey, FFolder.File("default.ini")};
  TQCSetting FSettings{FStore};
  TLang FLang{FFolder.File("lang"), "tintwell"};
  std::vector<std::string> Prompts;
  std::function<void(int)> BetweenPrompts;
};

TEST_F(ParentGate, RightPasswordAtTheFirstTry) {
  SetPassword("Tulip7");
  EXPECT_TRUE(Ask({"Tulip7"}));
  EXPECT_EQ(Prompts, (std::vector<std::string>{"Grown-ups only / Secret word:"}));
}

TEST_F(ParentGate, ThreeWrongThenCancelAsksFourTimesAndRefuses) {
  SetPassword("Tulip7");
  // Cancel gives the empty text.
  EXPECT_FALSE(Ask({"tulip", "1234", "Tulip", ""}));
  EXPECT_EQ(Prompts.size(), 4u);
  EXPECT_TRUE(FWarnings.Messages.empty());
}

TEST_F(ParentGate, WrongThenRightGoesAhead) {
  SetPassword("Tulip7");
  EXPECT_TRUE(Ask({"Tulip", "Tulip7"}));
  EXPECT_EQ(Prompts.size(), 2u);
}

TEST_F(ParentGate, ComparisonIsExact) {
  SetPassword("Tulip7");
  EXPECT_FALSE(Ask({"TULIP7", "tulip7", "Tulip7 ", " Tulip7", "Tulip", ""}));
  EXPECT_EQ(Prompts.size(), 6u);
}

TEST_F(ParentGate, EmptyPasswordLetsAnEmptyEntryThrough) {
  SetPassword("");
  EXPECT_TRUE(Ask({""}));
  EXPECT_EQ(Prompts.size(), 1u);
}

TEST_F(ParentGate, NoStoredPasswordIsTheEmptyOne) {
  EXPECT_TRUE(Ask({"guess", ""}));
  EXPECT_EQ(Prompts.size(), 2u);
}

TEST_F(ParentGate, PasswordIsReadAnewForEveryAttempt) {
  SetPassword("first");
  // After the first answer (the old password's wrong guess) the parent
  // changes the password; the second answer is compared with the new one.
  BetweenPrompts = [&](int asked) {
    if (asked == 1) SetPassword("second");
  };
  EXPECT_TRUE(Ask({"second-guess", "second"}));
  EXPECT_EQ(Prompts.size(), 2u);

  Prompts.clear();
  SetPassword("old");
  BetweenPrompts = [&](int asked) {
    if (asked == 1) SetPassword("new");
  };
  // "old" was right when the box opened but is compared after the change.
  EXPECT_FALSE(Ask({"old", ""}));
  EXPECT_EQ(Prompts.size(), 2u);
}

// The password as the parent's tool stores it: only its hash. The right
// password opens the gate; a wrong one, or the stored text itself, does not.
TEST_F(ParentGate, AHashedPasswordOpensTheGateAndItsStoredTextDoesNot) {
  TParentControls(FStore).SetPassword("Tulip7");
  const std::string stored = FStore.ReadString("ParentPassword", "", SectionMain);
  ASSERT_TRUE(IsPasswordHash(stored));
  EXPECT_FALSE(Ask({"tulip7", stored, ""}));
  EXPECT_EQ(Prompts.size(), 3u);
  Prompts.clear();
  EXPECT_TRUE(Ask({"Tulip7"}));
  EXPECT_EQ(FStore.ReadString("ParentPassword", "", SectionMain), stored);
}

// An older store holds the password in clear: it still works, and from
// then on only its hash is in the file.
TEST_F(ParentGate, AClearStoredPasswordWorksOnceAndIsThenHashed) {
  SetPassword("Tulip7");
  EXPECT_TRUE(Ask({"Tulip", "Tulip7"}));
  const std::string stored = FStore.ReadString("ParentPassword", "", SectionMain);
  EXPECT_TRUE(IsPasswordHash(stored));
  EXPECT_EQ(ReadBytes(FFolder.File("settings.sqlite3")).find("Tulip7"), std::string::npos);
  Prompts.clear();
  EXPECT_TRUE(Ask({"Tulip7"}));
  EXPECT_EQ(Prompts.size(), 1u);
  EXPECT_FALSE(Ask({"Tulip", ""}));
  EXPECT_TRUE(FWarnings.Messages.empty());
}

TEST_F(ParentGate, PasswordsOutsideAsciiCompareByTheirText) {
  SetPassword("Blümchen");
  EXPECT_FALSE(Ask({"Blumchen", "BLÜMCHEN", ""}));
  Prompts.clear();
  EXPECT_TRUE(Ask({"Blümchen"}));
}

}  // namespace
}  // namespace tw::test
