// The parent's tool with a store in trouble: held by another writer, held
// so that nobody can read it, or on a read-only file system. A command that
// cannot do its work exits 1 with one sentence saying nothing was changed
// (or nothing could be read), and the file stays as it was. Also: import
// holds the program's own values to their types, and get shows the value
// the program uses when nothing is stored.
#include <gtest/gtest.h>

#include <filesystem>

#include "settings/ConfigToolFixture.h"
#include "settings/QCSettingU.h"
#include "settings/SettingU.h"
#include "support/HeldStore.h"
#include "support/PrivateMounts.h"

namespace tw {
namespace {

using test::Has;
using test::ReadText;
using test::TRun;
using test::WriteText;

using test::THeldStore;

class ConfigTroubledStore : public test::ConfigToolFixture {
 protected:
  void SetUp() override {
    test::ConfigToolFixture::SetUp();
    // A held lock fails the tool after this wait instead of five seconds.
    TSetting::SetBusyTimeout(20);
    ASSERT_EQ(Run({"set", "Main", "SaveMode", "1"}).Code, ExitOk);
    WriteText(FFolder.File("some.ini"), "[Extra]\nKite=red\n");
  }
  void TearDown() override {
    TSetting::SetBusyTimeout(5000);
    test::ConfigToolFixture::TearDown();
  }

  struct TChange {
    std::vector<std::string> Args;
    std::string Input;
    std::string Success;  // what the tool says when it did it
  };
  std::vector<TChange> Changes() const {
    return {{{"lock", "save", "on"}, "", "asks for the parent password"},
            {{"lock", "print", "on"}, "", "asks for the parent password"},
            {{"password"}, "Kite-7\nKite-7\n", "password is set"},
            {{"set", "Main", "Hints", "false"}, "", ""},
            {{"reset", "--yes"}, "", "factory settings"},
            {{"import", FFolder.File("some.ini")}, "", "Imported"}};
  }

  // Each change refused with the sentence, and the file untouched.
  void ExpectEveryChangeRefused() {
    const std::string before = ReadText(FDatabase);
    for (const TChange& change : Changes()) {
      const TRun run = Run(change.Args, change.Input);
      EXPECT_EQ(run.Code, ExitFailure) << change.Args[0];
      EXPECT_TRUE(Has(run.Err, "Nothing was changed.")) << change.Args[0];
      if (!change.Success.empty()) {
        EXPECT_FALSE(Has(run.Out, change.Success)) << change.Args[0];
      }
    }
    EXPECT_EQ(ReadText(FDatabase), before);
  }
};

TEST_F(ConfigTroubledStore, HeldByAnotherWriterEveryChangeFailsAndReadingStillWorks) {
  {
    THeldStore held(FDatabase, "BEGIN IMMEDIATE");
    ExpectEveryChangeRefused();
    // The stored values, not the factory ones.
    const TRun get = Run({"get", "Main", "SaveMode"});
    EXPECT_EQ(get.Code, ExitOk);
    EXPECT_EQ(get.Out, "1\n");
    const TRun exported = Run({"export"});
    EXPECT_EQ(exported.Code, ExitOk);
    EXPECT_TRUE(Has(exported.Out, "SaveMode=1"));
  }
  // Once the other writer is gone the same command goes through.
  const TRun lock = Run({"lock", "save", "on"});
  EXPECT_EQ(lock.Code, ExitOk) << lock.Err;
  TSetting store(FDatabase, ProductKey, "");
  EXPECT_TRUE(TQCSetting(store).ReadPasswordSave());
}

TEST_F(ConfigTroubledStore, HeldSoThatNobodyCanReadItNothingIsShownAsStored) {
  THeldStore held(FDatabase, "BEGIN EXCLUSIVE");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"get", "Main", "SaveMode"}, {"export"}, {"list"}, {"lock"}}) {
    const TRun run = Run(args);
    EXPECT_EQ(run.Code, ExitFailure) << args[0];
    EXPECT_TRUE(Has(run.Err, "Nothing could be read.")) << args[0];
    EXPECT_EQ(run.Out, "") << args[0];
  }
  ExpectEveryChangeRefused();
}

TEST_F(ConfigTroubledStore, OnAReadOnlyFileSystemEveryChangeFails) {
  const std::string before = ReadText(FDatabase);
  // The child sends: each change's exit status, "#", what get printed, "#",
  // every message.
  const auto report = test::RunWithPrivateMounts(
      [&] { test::MountReadOnly(FFolder.Path()); },
      [&] {
        std::string codes, messages;
        for (const TChange& change : Changes()) {
          const TRun run = Run(change.Args, change.Input);
          codes += std::to_string(run.Code);
          messages += run.Err;
        }
        return codes + "#" + Run({"get", "Main", "SaveMode"}).Out + "#" + messages;
      });
  if (!report) GTEST_SKIP() << "no private mount namespace here (needs root or user namespaces)";
  const size_t first = report->find('#');
  const size_t second = report->find('#', first + 1);
  ASSERT_NE(second, std::string::npos) << *report;
  EXPECT_EQ(report->substr(0, first), std::string(Changes().size(), '1')) << *report;
  EXPECT_EQ(report->substr(first + 1, second - first - 1), "1\n") << "reading works all the same";
  size_t sentences = 0;
  for (size_t at = 0; (at = report->find("Nothing was changed.", at)) != std::string::npos; ++at)
    ++sentences;
  EXPECT_EQ(sentences, Changes().size()) << *report;
  EXPECT_EQ(ReadText(FDatabase), before);
}

TEST_F(ConfigTroubledStore, ImportHoldsTheProgramsOwnValuesToTheirTypes) {
  WriteText(FFolder.File("bad.ini"),
            "[Main]\nStayColored=two\nHints=maybe\nLanguage=de_de\n[Extra]\nKite=red\n");
  const TRun bad = Run({"import", FFolder.File("bad.ini")});
  EXPECT_EQ(bad.Code, ExitFailure);
  EXPECT_TRUE(Has(bad.Err, "StayColored"));
  EXPECT_TRUE(Has(bad.Err, "Hints"));
  EXPECT_TRUE(Has(bad.Err, "Nothing was imported."));
  EXPECT_FALSE(Has(bad.Err, "Language"));
  EXPECT_EQ(Run({"get", "Extra", "Kite"}).Code, ExitFailure) << "nothing of a refused file is kept";

  // Words set accepts for a Boolean, and hexadecimal numbers, become numbers.
  WriteText(FFolder.File("good.ini"), "[Main]\nHints=no\nStayColored=$1\n");
  const TRun good = Run({"import", FFolder.File("good.ini")});
  ASSERT_EQ(good.Code, ExitOk) << good.Err;
  EXPECT_TRUE(Has(good.Out, "Imported 2 values"));
  TSetting store(FDatabase, ProductKey, "");
  TQCSetting settings(store);
  EXPECT_FALSE(settings.ReadHints());
  EXPECT_EQ(settings.ReadStayColored(), 1);

  WriteText(FFolder.File("one.ini"), "[Extra]\nKite=red\n");
  EXPECT_TRUE(Has(Run({"import", FFolder.File("one.ini")}).Out, "Imported 1 value from"));
}

TEST_F(ConfigTroubledStore, GetShowsTheValueTheProgramUsesWhenNothingIsStored) {
  const TRun stay = Run({"get", "Main", "StayColored"});
  EXPECT_EQ(stay.Code, ExitOk);
  EXPECT_EQ(stay.Out, "2\n");
  EXPECT_TRUE(Has(stay.Err, "built-in default"));
  // The same value the program reads from that store.
  TSetting store(FDatabase, ProductKey, "");
  EXPECT_EQ(TQCSetting(store).ReadStayColored(), 2);
  const TRun other = Run({"get", "Main", "NoSuchValue"});
  EXPECT_EQ(other.Code, ExitFailure);
}

}  // namespace
}  // namespace tw
