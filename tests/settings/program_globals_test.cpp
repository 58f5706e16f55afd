// The program-wide settings and language objects: created in order on a
// real store, reachable everywhere, and a clear error before creation.
#include "settings/ProgramGlobalsU.h"

#include <gtest/gtest.h>

#include "base/ErrorsU.h"
#include "settings/SettingTestUtil.h"

namespace tw {
namespace {

class ProgramGlobals : public test::SettingsFixture {
 protected:
  void TearDown() override { FreeProgramGlobals(); }
};

TEST_F(ProgramGlobals, AreMissingUntilCreatedAndAfterFreed) {
  FreeProgramGlobals();
  EXPECT_FALSE(ProgramGlobalsExist());
  EXPECT_THROW(QCSetting(), EError);
  EXPECT_THROW(Lang(), EError);
  EXPECT_THROW(Setting(), EError);
}

TEST_F(ProgramGlobals, ShareOneStoreAndTheShippedLanguages) {
  WriteDefaults("[Main]\nLanguage=de_de\nMaxHistory=7\n");
  CreateProgramGlobals(DatabasePath(), DefaultsPath(), std::string(TINTWELL_TEST_DATA) + "/../data/lang");
  ASSERT_TRUE(ProgramGlobalsExist());
  EXPECT_EQ(QCSetting().ReadMaxHistory(), 7);
  QCSetting().WriteHints(false);
  EXPECT_FALSE(Setting().ReadBool("Hints", true, "Main"));
  Lang().SetLanguage(QCSetting().ReadLanguage());
  EXPECT_EQ(Lang().GetText("DCloseYes"), "Ja");

  // Creating again starts over on the same file: what was written stays.
  CreateProgramGlobals(DatabasePath(), DefaultsPath(), std::string(TINTWELL_TEST_DATA) + "/../data/lang");
  EXPECT_FALSE(QCSetting().ReadHints());
  EXPECT_THROW(Lang().GetText("DCloseYes"), EError);
}

}  // namespace
}  // namespace tw
