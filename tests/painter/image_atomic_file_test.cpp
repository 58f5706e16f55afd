// Saving a file: missing folders are created, an existing file is replaced
// whole, and a failed save leaves neither a partial file nor a temporary one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/ErrorsU.h"
#include "painter/image/ImageFileU.h"
#include "pictures/PictureTestUtil.h"
#include "support/PrivateMounts.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

class ImageAtomicFile : public ::testing::Test {
 protected:
  std::vector<std::string> Names(const fs::path& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
      names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  static std::vector<uint8_t> Contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  test::TTempFolder FTemp{"tw-save"};
  const fs::path FFolder = FTemp.Path();
};

TEST_F(ImageAtomicFile, CreatesMissingFoldersAndLeavesOnlyTheFile) {
  const fs::path file = FFolder / "a" / "b" / "c" / "picture.gif";
  const std::vector<uint8_t> bytes = {1, 2, 3, 4, 5};
  WriteFileAtomically(file.string(), bytes);
  EXPECT_EQ(Contents(file), bytes);
  EXPECT_EQ(Names(file.parent_path()), std::vector<std::string>{"picture.gif"});
}

TEST_F(ImageAtomicFile, ReplacesAnExistingFileWholeAndKeepsItsPermissions) {
  const fs::path file = FFolder / "picture.bmp";
  WriteFileAtomically(file.string(), std::vector<uint8_t>(1000, 7));
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const std::vector<uint8_t> shorter = {9, 8, 7};
  WriteFileAtomically(file.string(), shorter);
  EXPECT_EQ(Contents(file), shorter);
  EXPECT_EQ(fs::status(file).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(Names(FFolder), std::vector<std::string>{"picture.bmp"});
}

TEST_F(ImageAtomicFile, FolderUnderARegularFileIsAnErrorNamingTheFile) {
  WriteFileAtomically((FFolder / "plain").string(), {1});
  const std::string file = (FFolder / "plain" / "sub" / "picture.gif").string();
  try {
    WriteFileAtomically(file, {1, 2, 3});
    FAIL() << "no error";
  } catch (const EError& e) {
    EXPECT_NE(std::string(e.what()).find(file), std::string::npos) << e.what();
  }
  EXPECT_EQ(Names(FFolder), std::vector<std::string>{"plain"});
  EXPECT_EQ(Contents(FFolder / "plain"), std::vector<uint8_t>{1});
}

TEST_F(ImageAtomicFile, TargetThatIsAFolderStaysAndNoTemporaryIsLeft) {
  fs::create_directory(FFolder / "taken.gif");
  EXPECT_THROW(WriteFileAtomically((FFolder / "taken.gif").string(), {1, 2}), EError);
  EXPECT_TRUE(fs::is_directory(FFolder / "taken.gif"));
  EXPECT_EQ(Names(FFolder), std::vector<std::string>{"taken.gif"});
  EXPECT_THROW(WriteFileAtomically("", {1}), EError);
  EXPECT_THROW(WriteFileAtomically((FFolder / "dir" / "").string(), {1}), EError);
}

TEST_F(ImageAtomicFile, OnlyRegularFilesAreReplacedAndLinksAreFollowed) {
  ASSERT_EQ(mkfifo((FFolder / "pipe.gif").c_str(), 0600), 0);
  EXPECT_THROW(WriteFileAtomically((FFolder / "pipe.gif").string(), {1, 2}), EError);
  EXPECT_TRUE(fs::is_fifo(FFolder / "pipe.gif"));

  fs::create_directory(FFolder / "real");
  WriteFileAtomically((FFolder / "real" / "picture.gif").string(), {1});
  fs::create_symlink(FFolder / "real" / "picture.gif", FFolder / "link.gif");
  WriteFileAtomically((FFolder / "link.gif").string(), {4, 5});
  EXPECT_TRUE(fs::is_symlink(FFolder / "link.gif"));
  EXPECT_EQ(Contents(FFolder / "real" / "picture.gif"), (std::vector<uint8_t>{4, 5}));
  EXPECT_EQ(Names(FFolder / "real"), std::vector<std::string>{"picture.gif"});
  EXPECT_EQ(Names(FFolder), (std::vector<std::string>{"link.gif", "pipe.gif", "real"}));
}

TEST_F(ImageAtomicFile, ReadOnlyFolderIsAnErrorAndNothingIsWritten) {
  const fs::path locked = FFolder / "locked";
  fs::create_directory(locked);
  const auto tryWrite = [&] {
    try {
      WriteFileAtomically((locked / "picture.gif").string(), {1, 2});
      return std::string("written");
    } catch (const EError& error) {
      return std::string("refused: ") + error.what();
    }
  };
  if (geteuid() != 0) {
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(tryWrite().rfind("refused", 0), 0u);
    fs::permissions(locked, fs::perms::owner_all);
  } else {
    // Permission bits do not stop root; a read-only mount does.
    const auto report = test::RunWithPrivateMounts([&] { test::MountReadOnly(locked.string()); }, tryWrite);
    ASSERT_TRUE(report) << "root without a private mount namespace cannot check this";
    EXPECT_EQ(report->rfind("refused", 0), 0u) << *report;
    EXPECT_NE(report->find("picture.gif"), std::string::npos) << "names the file: " << *report;
  }
  EXPECT_TRUE(Names(locked).empty());
}

// A file that must be new never replaces anything: an existing file, a
// link or a folder of that name stays, and no temporary file is left.
TEST_F(ImageAtomicFile, ANewFileNeverReplacesWhatHasTheName) {
  const std::vector<uint8_t> bytes = {1, 2, 3};
  const fs::path fresh = FFolder / "sub" / "fresh.gif";
  EXPECT_TRUE(WriteNewFileAtomically(fresh.string(), bytes));
  EXPECT_EQ(Contents(fresh), bytes);
  EXPECT_FALSE(WriteNewFileAtomically(fresh.string(), {9}));
  EXPECT_EQ(Contents(fresh), bytes);
  fs::create_symlink(FFolder / "nowhere", FFolder / "link.gif");
  EXPECT_FALSE(WriteNewFileAtomically((FFolder / "link.gif").string(), bytes));
  EXPECT_FALSE(fs::exists(FFolder / "nowhere"));
  fs::create_directories(FFolder / "folder.gif");
  EXPECT_FALSE(WriteNewFileAtomically((FFolder / "folder.gif").string(), bytes));
  EXPECT_EQ(Names(FFolder), (std::vector<std::string>{"folder.gif", "link.gif", "sub"}));
  EXPECT_EQ(Names(FFolder / "sub"), (std::vector<std::string>{"fresh.gif"}));
  EXPECT_THROW(WriteNewFileAtomically("", bytes), EError);
}

// Where the stopped writer below says that it stopped.
int WriterStopped = -1;

// A writer whose process stops inside the write: its temporary file stays
// while the process lives and goes once it has been killed; other files of
// the folder stay.
TEST_F(ImageAtomicFile, TemporaryFilesOfKilledWritersAreRemovedOthersStay) {
  for (const char* other : {"notes.tmp", ".tw.tmp", "picture.gif", ".twx-1.tmp"})
    std::ofstream(FFolder / other) << "kept";
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Past the size limit the write stops here, the temporary file open.
    rlimit limit{16, 16};
    setrlimit(RLIMIT_FSIZE, &limit);
    WriterStopped = ready[1];
    signal(SIGXFSZ, [](int) {
      const char byte = 1;
      (void)!write(WriterStopped, &byte, 1);
      for (;;) pause();
    });
    WriteFileAtomically((FFolder / "colouring.gif").string(), std::vector<uint8_t>(4096, 1));
    _exit(0);
  }
  close(ready[1]);
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  close(ready[0]);
  const std::vector<std::string> during = Names(FFolder);
  EXPECT_EQ(during.size(), 5u) << "the writer's temporary file is there";
  EXPECT_EQ(RemoveStaleTemporaryFiles(FFolder.string()), 0) << "its writer still runs";
  EXPECT_EQ(Names(FFolder), during);

  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_EQ(RemoveStaleTemporaryFiles(FFolder.string()), 1);
  EXPECT_EQ(Names(FFolder),
            (std::vector<std::string>{".tw.tmp", ".twx-1.tmp", "notes.tmp", "picture.gif"}));
  EXPECT_EQ(RemoveStaleTemporaryFiles((FFolder / "missing").string()), 0);
}

}  // namespace
}  // namespace tw
