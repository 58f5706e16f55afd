// The parent's config tool end to end against a temporary settings store and
// defaults file: values of each type, listing, INI export and import round
// trips, the factory reset, the password read from piped input and kept as
// a hash, the locks, the catalog commands with a real picture file, and bad
// command lines.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "pictures/PictureFileU.h"
#include "settings/ConfigToolFixture.h"
#include "settings/QCSettingU.h"
#include "settings/SettingU.h"
#include "tools/config/ConfigArgsU.h"
#include "support/EnvVar.h"

namespace tw {
namespace {

using test::Has;
using test::ReadText;
using test::TRun;
using test::WriteText;
using ConfigTool = test::ConfigToolFixture;

TEST_F(ConfigTool, SetAndGetEachType) {
  EXPECT_EQ(Run({"set", "Extra", "Count", "42"}).Code, ExitOk);
  EXPECT_EQ(Run({"set", "Extra", "Word", "hello"}).Code, ExitOk);
  EXPECT_EQ(Run({"set", "Extra", "Flag", "TRUE"}).Code, ExitOk);
  EXPECT_EQ(Run({"set", "Extra", "Zeros", "007", "--string"}).Code, ExitOk);
  EXPECT_EQ(Run({"set", "--int", "Extra", "Hex", "0x10"}).Code, ExitOk);
  EXPECT_EQ(Run({"set", "Extra", "Off", "off", "--bool"}).Code, ExitOk);
  EXPECT_EQ(Run({"set", "Main", "MusicVolume", "-2000"}).Code, ExitOk);

  EXPECT_EQ(Run({"get", "Extra", "Count"}).Out, "42\n");
  EXPECT_EQ(Run({"get", "extra", "WORD"}).Out, "hello\n");
  EXPECT_EQ(Run({"get", "Extra", "Zeros"}).Out, "007\n");
  EXPECT_EQ(Run({"get", "Extra", "Hex"}).Out, "16\n");
  EXPECT_EQ(Run({"get", "Main", "MusicVolume"}).Out, "-2000\n");
  EXPECT_TRUE(Value("Extra", "Count").IsInteger);
  EXPECT_FALSE(Value("Extra", "Word").IsInteger);
  EXPECT_FALSE(Value("Extra", "Zeros").IsInteger);
  // Booleans are stored as the integers 1 and 0.
  EXPECT_TRUE(Value("Extra", "Flag").IsInteger);
  EXPECT_EQ(Value("Extra", "Flag").Integer, 1);
  EXPECT_EQ(Value("Extra", "Off").Integer, 0);

  const TRun missing = Run({"get", "Extra", "Nothing"});
  EXPECT_EQ(missing.Code, ExitFailure);
  EXPECT_TRUE(Has(missing.Err, "no value \"Nothing\""));
}

TEST_F(ConfigTool, TheProgramsOwnKeysKeepTheirType) {
  // A picture name of digits stays text, so its leading zeros survive.
  EXPECT_EQ(Run({"set", "Main", "CurrentPicture", "007"}).Code, ExitOk);
  EXPECT_EQ(Run({"get", "Main", "CurrentPicture"}).Out, "007\n");
  EXPECT_EQ(Run({"set", "Main", "Hints", "no"}).Code, ExitOk);
  TSetting store(FDatabase, ProductKey, "");
  EXPECT_FALSE(TQCSetting(store).ReadHints());
  // Text where the program reads a Boolean would make it fail at start.
  const TRun wrong = Run({"set", "Main", "Hints", "maybe"});
  EXPECT_EQ(wrong.Code, ExitUsage);
  EXPECT_TRUE(Has(wrong.Err, "not a Boolean"));
  EXPECT_EQ(Run({"set", "Main", "SaveMode", "x", "--string"}).Code, ExitUsage);
  EXPECT_EQ(Run({"set", "Main", "SaveMode", "big"}).Code, ExitUsage);
  EXPECT_FALSE(TQCSetting(store).ReadHints());
}

TEST_F(ConfigTool, SetWithoutAFlagFollowsTheDefaultsFileRules) {
  const std::vector<std::string> samples = {"007",  "12abc", "TRUE", "false", "$ff", "0x1F",
                                            "-5",   "abc",   " 7",   "",      "1e3", "$FFFFFFFF",
                                            "2147483648"};
  std::string ini = "[ByFile]\n";
  for (size_t i = 0; i < samples.size(); ++i) {
    ASSERT_EQ(Run({"set", "--", "BySet", "V" + std::to_string(i), samples[i]}).Code, ExitOk)
        << samples[i];
    ini += "V" + std::to_string(i) + "=" + samples[i] + "\n";
  }
  WriteText(FFolder.File("samples.ini"), ini);
  ASSERT_EQ(Run({"import", FFolder.File("samples.ini")}).Code, ExitOk);
  const auto bySet = Values("BySet");
  const auto byFile = Values("ByFile");
  ASSERT_EQ(bySet.size(), samples.size());
  ASSERT_EQ(byFile.size(), samples.size());
  for (size_t i = 0; i < samples.size(); ++i) {
    SCOPED_TRACE(bySet[i].Name);
    EXPECT_EQ(bySet[i].IsInteger, byFile[i].IsInteger);
    if (bySet[i].IsInteger) {
      EXPECT_EQ(bySet[i].Integer, byFile[i].Integer);
    } else {
      EXPECT_EQ(bySet[i].Text, byFile[i].Text);
    }
  }
  EXPECT_EQ(Run({"get", "BySet", "V0"}).Out, "7\n");
  EXPECT_EQ(Run({"get", "BySet", "V1"}).Out, "12abc\n");
}

TEST_F(ConfigTool, EveryCommandFirstSeedsTheStoreFromTheDefaults) {
  const TRun run = Run({"list", "Main"});
  ASSERT_EQ(run.Code, ExitOk) << run.Err;
  // Text in quotes, integers (and Booleans) bare.
  EXPECT_TRUE(Has(run.Out, "[Main]\nHints = 0\nPathCatalog = \"" + FFolder.File("catalog/") + "\"\n"));
  EXPECT_EQ(Run({"catalog", "list"}).Out, "one.twf\ntwo.twf\n");
}

TEST_F(ConfigTool, ListShowsASectionAndTheSectionsBelowIt) {
  ASSERT_EQ(Run({"set", "PalettesOld", "X", "1"}).Code, ExitOk);
  const TRun palettes = Run({"list", "palettes"});
  ASSERT_EQ(palettes.Code, ExitOk);
  EXPECT_EQ(palettes.Out,
            "[Palettes]\nPaletteCount = 1\n\n[Palettes\\Palette0]\nColor0 = 255\n"
            "ColorCount = 1\nEnabled = 1\nName = \"Only\"\n");
  const TRun all = Run({"list"});
  EXPECT_TRUE(Has(all.Out, "[PalettesOld]\nX = 1\n"));
  EXPECT_TRUE(Has(all.Out, "[Catalog]\nFile0 = \"one.twf\"\nFile1 = \"two.twf\"\nFileCount = 2\n"));
  EXPECT_EQ(Run({"list", "Nowhere"}).Code, ExitFailure);
}

TEST_F(ConfigTool, ExportAndImportGiveTheSameStoreBack) {
  ASSERT_EQ(Run({"set", "Main", "PathSave", "  spaced out  "}).Code, ExitOk);
  ASSERT_EQ(Run({"set", "Extra", "Quoted", "\"quoted\""}).Code, ExitOk);
  ASSERT_EQ(Run({"set", "Extra", "Single", "'"}).Code, ExitOk);
  ASSERT_EQ(Run({"set", "Extra", "Equals", "a=b; c"}).Code, ExitOk);
  ASSERT_EQ(Run({"set", "Extra", "Letters", "Українська"}).Code, ExitOk);
  ASSERT_EQ(Run({"set", "Extra", "Empty", "", "--string"}).Code, ExitOk);
  ASSERT_EQ(Run({"set", "Extra", "Lowest", "-2147483648"}).Code, ExitOk);
  ASSERT_EQ(Run({"set", "Deep\\Er\\Section2", "N", "5"}).Code, ExitOk);
  const TRun exported = Run({"export"});
  ASSERT_EQ(exported.Code, ExitOk) << exported.Err;
  EXPECT_EQ(exported.Err, "");

  std::map<std::string, std::vector<TSetting::TValue>> before;
  {
    TSetting store(FDatabase, ProductKey, "");
    for (const std::string& section : store.SectionNames()) before[section] = store.Values(section);
  }
  ASSERT_EQ(Run({"reset", "--yes"}).Code, ExitOk);
  EXPECT_EQ(Run({"get", "Extra", "Quoted"}).Code, ExitFailure);
  WriteText(FFolder.File("exported.ini"), exported.Out);
  const TRun imported = Run({"import", FFolder.File("exported.ini")});
  ASSERT_EQ(imported.Code, ExitOk) << imported.Err;

  TSetting store(FDatabase, ProductKey, "");
  for (const auto& [section, values] : before) {
    SCOPED_TRACE(section);
    const std::vector<TSetting::TValue> after = store.Values(section);
    ASSERT_EQ(after.size(), values.size());
    for (size_t i = 0; i < values.size(); ++i) {
      EXPECT_EQ(after[i].Name, values[i].Name);
      EXPECT_EQ(after[i].IsInteger, values[i].IsInteger);
      EXPECT_EQ(after[i].Integer, values[i].Integer);
      EXPECT_EQ(after[i].Text, values[i].Text);
    }
  }
}

TEST_F(ConfigTool, ExportWarnsAboutTextThatWouldComeBackAsANumber) {
  ASSERT_EQ(Run({"set", "Main", "CurrentPicture", "0042"}).Code, ExitOk);
  ASSERT_EQ(Run({"set", "Extra", "Plain", "42", "--string"}).Code, ExitOk);
  const TRun exported = Run({"export"});
  EXPECT_EQ(exported.Code, ExitOk);
  EXPECT_TRUE(Has(exported.Out, "\n[Main]\n"));
  EXPECT_TRUE(Has(exported.Out, "\nCurrentPicture=0042\n"));
  EXPECT_TRUE(Has(exported.Err, "Main\\CurrentPicture is the text \"0042\""));
  // "42" reads back as the same text, so it needs no warning.
  EXPECT_FALSE(Has(exported.Err, "Plain"));
}

TEST_F(ConfigTool, ImportOfAMissingFileFails) {
  const TRun run = Run({"import", FFolder.File("none.ini")});
  EXPECT_EQ(run.Code, ExitFailure);
  EXPECT_TRUE(Has(run.Err, "Cannot read"));
}

TEST_F(ConfigTool, ResetAsksForYesFirst) {
  ASSERT_EQ(Run({"set", "Main", "Hints", "true"}).Code, ExitOk);
  ASSERT_EQ(Run({"set", "Extra", "Keep", "1"}).Code, ExitOk);
  const TRun refused = Run({"reset"}, "no\n");
  EXPECT_EQ(refused.Code, ExitFailure);
  EXPECT_TRUE(Has(refused.Err, "Type yes to go on"));
  EXPECT_TRUE(Has(refused.Err, "Nothing was changed"));
  EXPECT_EQ(Run({"get", "Extra", "Keep"}).Out, "1\n");
  EXPECT_EQ(Run({"reset"}, "").Code, ExitFailure);

  const TRun done = Run({"reset"}, "yes\n");
  EXPECT_EQ(done.Code, ExitOk) << done.Err;
  EXPECT_EQ(Run({"get", "Extra", "Keep"}).Code, ExitFailure);
  // The factory settings are back.
  EXPECT_EQ(Run({"get", "Main", "Hints"}).Out, "0\n");
}

TEST_F(ConfigTool, PasswordIsReadTwiceFromPipedInputAndKeptOnlyAsAHash) {
  const TRun set = Run({"password"}, "Se cret\nSe cret\n");
  ASSERT_EQ(set.Code, ExitOk) << set.Err;
  EXPECT_TRUE(Has(set.Err, "not locked yet"));
  EXPECT_FALSE(Has(set.Out + set.Err, "Se cret"));
  EXPECT_FALSE(Has(ReadText(FDatabase), "Se cret"));
  EXPECT_TRUE(Has(Run({"get", "Main", "ParentPassword"}).Out, "$argon2id$"));
  TSetting store(FDatabase, ProductKey, "");
  TQCSetting settings(store);
  EXPECT_FALSE(settings.CheckParentPassword("se cret"));
  EXPECT_TRUE(settings.CheckParentPassword("Se cret"));

  const std::string before = store.ReadString("ParentPassword", "", "Main");
  const TRun mismatch = Run({"password"}, "one\nOne\n");
  EXPECT_EQ(mismatch.Code, ExitFailure);
  EXPECT_TRUE(Has(mismatch.Err, "differ"));
  const TRun once = Run({"password"}, "lonely\n");
  EXPECT_EQ(once.Code, ExitFailure);
  EXPECT_EQ(store.ReadFreshString("ParentPassword", "", "Main"), before);
  // Windows line ends from a piped file are not part of the password.
  ASSERT_EQ(Run({"password"}, "dos\r\ndos\r\n").Code, ExitOk);
  EXPECT_TRUE(settings.CheckParentPassword("dos"));
  // The empty password is no password: an empty answer goes ahead.
  ASSERT_EQ(Run({"password"}, "\n\n").Code, ExitOk);
  EXPECT_EQ(store.ReadFreshString("ParentPassword", "?", "Main"), "");
  EXPECT_TRUE(settings.CheckParentPassword(""));
}

TEST_F(ConfigTool, PasswordsThatCannotBeTypedAreRefused) {
  for (const std::string& password : {std::string("tab\there"), std::string("latin1 \xFC"),
                                      std::string(300, 'x')}) {
    const TRun run = Run({"password"}, password + "\n" + password + "\n");
    EXPECT_EQ(run.Code, ExitFailure);
    EXPECT_TRUE(Has(run.Err, "was not changed"));
    EXPECT_FALSE(Has(run.Out + run.Err, password));
  }
  ExpectNothingStored("ParentPassword");
}

TEST_F(ConfigTool, ThePasswordIsNeverSetAsPlainValue) {
  for (const char* name : {"ParentPassword", "parentPASSWORD"}) {
    const TRun run = Run({"set", "Main", name, "visible"});
    EXPECT_EQ(run.Code, ExitUsage);
    EXPECT_TRUE(Has(run.Err, "tintwell-config password"));
  }
  ExpectNothingStored("ParentPassword");
  // In another section it is an ordinary value.
  EXPECT_EQ(Run({"set", "Extra", "ParentPassword", "x"}).Code, ExitOk);
}

// A password in clear, from the defaults file or a file to import, is kept
// only as its hash; an exported hash imports back and still works.
TEST_F(ConfigTool, ClearPasswordsFromFilesAreStoredAsTheirHash) {
  WriteText(FFolder.File("family.ini"), "[Main]\nParentPassword=Meadow-9\nPasswordSave=true\n");
  const TRun imported = Run({"import", FFolder.File("family.ini")});
  ASSERT_EQ(imported.Code, ExitOk) << imported.Err;
  EXPECT_FALSE(Has(ReadText(FDatabase), "Meadow-9"));
  const TRun exported = Run({"export"});
  EXPECT_TRUE(Has(exported.Out, "ParentPassword=$argon2id$"));
  ASSERT_EQ(Run({"reset", "--yes"}).Code, ExitOk);
  WriteText(FFolder.File("exported.ini"), exported.Out);
  ASSERT_EQ(Run({"import", FFolder.File("exported.ini")}).Code, ExitOk);
  TSetting store(FDatabase, ProductKey, "");
  TQCSetting settings(store);
  EXPECT_TRUE(settings.ReadPasswordSave());
  EXPECT_TRUE(settings.CheckParentPassword("Meadow-9"));
}

TEST_F(ConfigTool, LockAloneShowsTheLocksAndWhereTheyComeFrom) {
  ASSERT_EQ(Run({"lock", "print", "on"}).Code, ExitOk);
  const TRun run = Run({"lock"});
  EXPECT_EQ(run.Code, ExitOk);
  EXPECT_TRUE(Has(run.Out, "Saving does not ask"));
  EXPECT_TRUE(Has(run.Out, "Printing asks"));
  EXPECT_TRUE(Has(run.Out, "No parent password is set"));
  EXPECT_TRUE(Has(run.Out, "your own settings \"" + FDatabase + "\""));
}

TEST_F(ConfigTool, LocksSwitchSavingAndPrinting) {
  const TRun on = Run({"lock", "save", "on"});
  ASSERT_EQ(on.Code, ExitOk);
  EXPECT_TRUE(Has(on.Err, "no parent password is set"));
  TSetting store(FDatabase, ProductKey, "");
  TQCSetting settings(store);
  EXPECT_TRUE(settings.ReadPasswordSave());
  EXPECT_FALSE(settings.ReadPasswordPrint());
  ASSERT_EQ(Run({"lock", "PRINT", "On"}).Code, ExitOk);
  EXPECT_TRUE(settings.ReadPasswordPrint());
  ASSERT_EQ(Run({"lock", "save", "off"}).Code, ExitOk);
  EXPECT_FALSE(settings.ReadPasswordSave());
  EXPECT_TRUE(settings.ReadPasswordPrint());
  EXPECT_EQ(Run({"lock", "door", "on"}).Code, ExitUsage);
  EXPECT_EQ(Run({"lock", "save", "maybe"}).Code, ExitUsage);
  EXPECT_EQ(Run({"lock", "save"}).Code, ExitUsage);
}

// The kept colourings are the program's own files in its own folder; the
// tool shows where and clears them, and never touches another file there.
TEST_F(ConfigTool, ColoringsAreShownAndClearedWithConfirmation) {
  const std::string data = FFolder.File("data");
  const test::TEnvVar xdg("XDG_DATA_HOME", data);
  const std::string folder = data + "/Tintwell/Colorings/";
  TRun empty = Run({"colorings"});
  EXPECT_EQ(empty.Code, ExitOk);
  EXPECT_TRUE(Has(empty.Out, folder));
  EXPECT_TRUE(Has(empty.Out, "0 pictures"));
  std::filesystem::create_directories(folder);
  for (const char* name : {"one.twf.colour.gif", "one.twf.outline.gif", "two.twf.colour.gif",
                           "parent.gif", "notes.txt"})
    WriteText(folder + name, "x");
  EXPECT_TRUE(Has(Run({"colorings"}).Out, "2 pictures have one"));
  const TRun refused = Run({"colorings", "clear"}, "no\n");
  EXPECT_EQ(refused.Code, ExitFailure);
  EXPECT_TRUE(Has(refused.Err, "Nothing was changed"));
  EXPECT_TRUE(std::filesystem::exists(folder + "one.twf.colour.gif"));
  EXPECT_EQ(Run({"colorings", "--yes"}).Code, ExitUsage);
  EXPECT_EQ(Run({"colorings", "wipe"}).Code, ExitUsage);
  const TRun cleared = Run({"colorings", "clear"}, "yes\n");
  EXPECT_EQ(cleared.Code, ExitOk) << cleared.Err;
  EXPECT_FALSE(std::filesystem::exists(folder + "one.twf.colour.gif"));
  EXPECT_FALSE(std::filesystem::exists(folder + "one.twf.outline.gif"));
  EXPECT_FALSE(std::filesystem::exists(folder + "two.twf.colour.gif"));
  EXPECT_EQ(ReadText(folder + "parent.gif"), "x");
  EXPECT_EQ(ReadText(folder + "notes.txt"), "x");
  EXPECT_EQ(Run({"colorings", "clear", "--yes"}).Code, ExitOk);
}

TEST_F(ConfigTool, CatalogAddListAndRemove) {
  const std::string kite = MakePicture("Kite.twf", "Kite");
  const TRun added = Run({"catalog", "add", kite});
  ASSERT_EQ(added.Code, ExitOk) << added.Err;
  EXPECT_TRUE(Has(added.Out, "\"Kite.twf\" (Kite) as picture 3"));
  EXPECT_EQ(ReadText(FFolder.File("catalog/Kite.twf")), ReadText(kite));
  EXPECT_EQ(Catalog(), (std::vector<std::string>{"one.twf", "two.twf", "Kite.twf"}));
  const TRun listed = Run({"catalog", "list"});
  EXPECT_EQ(listed.Out, "one.twf\ntwo.twf\nKite.twf\n");
  // Only the pictures whose files are missing get a note.
  EXPECT_TRUE(Has(listed.Err, "\"one.twf\" is not in"));
  EXPECT_FALSE(Has(listed.Err, "Kite.twf"));

  const TRun again = Run({"catalog", "add", kite});
  EXPECT_EQ(again.Code, ExitFailure);
  EXPECT_TRUE(Has(again.Err, "in the catalog already"));

  const TRun removed = Run({"catalog", "remove", "KITE.twf"});
  ASSERT_EQ(removed.Code, ExitOk) << removed.Err;
  EXPECT_EQ(Catalog(), (std::vector<std::string>{"one.twf", "two.twf"}));
  EXPECT_TRUE(std::filesystem::exists(FFolder.File("catalog/Kite.twf")));
  EXPECT_EQ(Run({"catalog", "remove", "Kite.twf"}).Code, ExitFailure);
  // The file left in the folder is the same picture, so adding it again is fine.
  EXPECT_EQ(Run({"catalog", "add", kite}).Code, ExitOk);
}

TEST_F(ConfigTool, CatalogAddsSeveralFilesInOrder) {
  const std::string kite = MakePicture("Kite.twf", "Kite");
  const std::string boat = MakePicture("Boat.twf", "Boat");
  const TRun added = Run({"catalog", "add", kite, boat});
  ASSERT_EQ(added.Code, ExitOk) << added.Err;
  EXPECT_TRUE(Has(added.Out, "\"Kite.twf\" (Kite) as picture 3"));
  EXPECT_TRUE(Has(added.Out, "\"Boat.twf\" (Boat) as picture 4"));
  EXPECT_EQ(Catalog(), (std::vector<std::string>{"one.twf", "two.twf", "Kite.twf", "Boat.twf"}));
  EXPECT_EQ(ReadText(FFolder.File("catalog/Boat.twf")), ReadText(boat));

  // What cannot be added is named; the rest goes in, once each.
  WriteText(FFolder.File("junk.twf"), "not a picture at all");
  const std::string sun = MakePicture("Sun.twf", "Sun");
  std::filesystem::create_directories(FFolder.File("other"));
  std::filesystem::copy_file(sun, FFolder.File("other/SUN.twf"));
  const TRun mixed =
      Run({"catalog", "add", FFolder.File("junk.twf"), sun, kite, FFolder.File("other/SUN.twf")});
  EXPECT_EQ(mixed.Code, ExitFailure);
  EXPECT_TRUE(Has(mixed.Err, "damaged or is not a picture file")) << mixed.Err;
  EXPECT_TRUE(Has(mixed.Err, "\"Kite.twf\" is in the catalog already")) << mixed.Err;
  EXPECT_TRUE(Has(mixed.Err, "\"Sun.twf\" is in the catalog already")) << mixed.Err;
  EXPECT_TRUE(Has(mixed.Err, "3 of 4 files were not added; the others were.")) << mixed.Err;
  EXPECT_TRUE(Has(mixed.Out, "\"Sun.twf\" (Sun) as picture 5"));
  EXPECT_EQ(Catalog(),
            (std::vector<std::string>{"one.twf", "two.twf", "Kite.twf", "Boat.twf", "Sun.twf"}));

  const TRun none = Run({"catalog", "add", kite, boat});
  EXPECT_EQ(none.Code, ExitFailure);
  EXPECT_TRUE(Has(none.Err, "2 of 2 files were not added."));
  EXPECT_EQ(Catalog().size(), 5u);
}

TEST_F(ConfigTool, CatalogRefusesFilesThatAreNoPictures) {
  WriteText(FFolder.File("junk.twf"), "not a picture at all");
  const TRun junk = Run({"catalog", "add", FFolder.File("junk.twf")});
  EXPECT_EQ(junk.Code, ExitFailure);
  EXPECT_TRUE(Has(junk.Err, "damaged or is not a picture file"));
  const TRun missing = Run({"catalog", "add", FFolder.File("gone.twf")});
  EXPECT_EQ(missing.Code, ExitFailure);
  EXPECT_TRUE(Has(missing.Err, "does not exist"));
  WriteText(FFolder.File("kite.png"), "png");
  EXPECT_EQ(Run({"catalog", "add", FFolder.File("kite.png")}).Code, ExitFailure);

  // Another picture of the same name already in the catalog folder stays.
  std::filesystem::create_directories(FFolder.File("catalog"));
  WriteText(FFolder.File("catalog/Kite.twf"), "someone else's");
  const TRun clash = Run({"catalog", "add", MakePicture("Kite.twf", "Kite")});
  EXPECT_EQ(clash.Code, ExitFailure);
  EXPECT_TRUE(Has(clash.Err, "A different file"));
  EXPECT_EQ(ReadText(FFolder.File("catalog/Kite.twf")), "someone else's");
  EXPECT_EQ(Catalog(), (std::vector<std::string>{"one.twf", "two.twf"}));
}

TEST_F(ConfigTool, BadCommandLines) {
  EXPECT_EQ(RunBare({}).Code, ExitUsage);
  const TRun help = RunBare({"--help"});
  EXPECT_EQ(help.Code, ExitOk);
  EXPECT_TRUE(Has(help.Out, "Usage: tintwell-config"));
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"frobnicate"},
                                             {"get", "Main"},
                                             {"set", "A", "B"},
                                             {"set", "A", "B", "1", "--int", "--bool"},
                                             {"set", "A", "B=C", "1"},
                                             {"set", "A\\\\B", "C", "1"},
                                             {"get", "A", "B", "--yes"},
                                             {"export", "now"},
                                             {"import", "x.ini", "--bool"},
                                             {"catalog"},
                                             {"catalog", "add"},
                                             {"list", "--colour"},
                                             {"--database"}}) {
    const TRun run = Run(args);
    EXPECT_EQ(run.Code, ExitUsage) << args.front();
    EXPECT_TRUE(Has(run.Err, "--help\" for help"));
  }
  const TRun noDefaults = Run({"--defaults", FFolder.File("none.ini"), "list"});
  EXPECT_EQ(noDefaults.Code, ExitFailure);
  EXPECT_TRUE(Has(noDefaults.Err, "cannot read the defaults file"));
}

TEST_F(ConfigTool, TheStoreIsInTheUsersConfigFolderByDefault) {
  const TRun run = RunBare({"--defaults", FDefaults, "set", "Main", "Language", "de_de"});
  ASSERT_EQ(run.Code, ExitOk) << run.Err;
  const std::string file = FFolder.File("xdg/Tintwell/Tintwell/1/settings.sqlite3");
  ASSERT_TRUE(std::filesystem::exists(file));
  TSetting store(file, ProductKey, "");
  EXPECT_EQ(TQCSetting(store).ReadLanguage(), "de_de");
}

#ifdef TINTWELL_CONFIG_TOOL
TEST_F(ConfigTool, TheBuiltProgramReadsPipedInputAndReportsThroughItsExitStatus) {
  const std::string err = FFolder.File("stderr.txt");
  const auto status = [&](const std::string& input, const std::string& args) {
    const std::string command = "printf '" + input + "' | '" + std::string(TINTWELL_CONFIG_TOOL) +
                                "' --database '" + FDatabase + "' --defaults '" + FDefaults + "' " +
                                args + " >/dev/null 2>'" + err + "'";
    const int result = std::system(command.c_str());
    return WIFEXITED(result) ? WEXITSTATUS(result) : -1;
  };
  EXPECT_EQ(status("", "--help"), ExitOk);
  EXPECT_EQ(status("piped\\npiped\\n", "password"), ExitOk);
  TSetting store(FDatabase, ProductKey, "");
  EXPECT_TRUE(TQCSetting(store).CheckParentPassword("piped"));
  EXPECT_EQ(status("a\\nb\\n", "password"), ExitFailure);
  EXPECT_EQ(status("", "bogus"), ExitUsage);
  EXPECT_TRUE(Has(ReadText(err), "Unknown command \"bogus\""));
}
#endif

}  // namespace
}  // namespace tw
