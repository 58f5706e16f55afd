// Writing a whole file so that the target is always either the old file or
// the complete new one: the bytes go to a temporary file in the same folder,
// are flushed to disk, and the temporary file is renamed over the target.
// A process killed in between leaves its temporary file, which a later
// process removes by its name.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "base/ErrorsU.h"
#include "painter/image/ImageFileU.h"

namespace tw {

namespace {

namespace fs = std::filesystem;

// ".tw<process id>-<counter>.tmp": hidden, and the process id tells whether
// its writer may still be at work.
std::string TemporaryName(pid_t pid, unsigned counter) {
  return ".tw" + std::to_string(pid) + "-" + std::to_string(counter) + ".tmp";
}

bool AllDigits(const std::string& text) {
  return !text.empty() && text.size() <= 10 &&
         text.find_first_not_of("0123456789") == std::string::npos;
}

// The process id in a name TemporaryName made; false for any other name.
bool ParseTemporaryName(const std::string& name, pid_t& pid) {
  const std::string prefix = ".tw", suffix = ".tmp";
  if (name.size() <= prefix.size() + suffix.size() || name.rfind(prefix, 0) != 0 ||
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
    return false;
  const std::string middle =
      name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  const size_t dash = middle.find('-');
  if (dash == std::string::npos || !AllDigits(middle.substr(0, dash)) ||
      !AllDigits(middle.substr(dash + 1)))
    return false;
  const long long value = std::stoll(middle.substr(0, dash));
  if (value <= 0 || value > 0x7FFFFFFF) return false;
  pid = pid_t(value);
  return true;
}

bool ProcessRuns(pid_t pid) { return kill(pid, 0) == 0 || errno == EPERM; }

// Removes the temporary file and closes its descriptor unless the write
// went through.
class TTemporaryFile {
 public:
  TTemporaryFile() = default;
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;
  ~TTemporaryFile() {
    CloseQuietly();
    if (!FPath.empty()) unlink(FPath.c_str());
  }

  // Creates a new file in folder with a name no one else uses; returns the
  // errno of the last attempt on failure.
  int Create(const fs::path& folder, mode_t mode) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
      const fs::path path = folder / TemporaryName(getpid(), counter.fetch_add(1));
      FFd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
      if (FFd >= 0) {
        FPath = path;
        return 0;
      }
      if (errno != EEXIST) return errno;
    }
    return EEXIST;
  }

  int Fd() const { return FFd; }
  const fs::path& Path() const { return FPath; }

  // Closes the file and reports the errno of a failed close (a delayed
  // write error), or 0.
  int Close() {
    const int result = close(FFd);
    FFd = -1;
    return result == 0 ? 0 : errno;
  }

  // The file now has its final name: nothing is left to remove.
  void Keep() { FPath.clear(); }

 private:
  void CloseQuietly() {
    if (FFd >= 0) close(FFd);
    FFd = -1;
  }

  int FFd = -1;
  fs::path FPath;
};

int WriteAll(int fd, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += size_t(n);
  }
  return 0;
}

// Makes the rename itself durable; a folder that cannot be flushed does not
// make the save fail, the file is complete either way.
void SyncFolder(const fs::path& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// Where a write to fileName goes: the file a link points to, the folder
// created. Throws EError for a name that cannot be a file.
struct TTarget {
  std::string Subject;
  fs::path Path;
  fs::path Folder;
  bool Exists = false;
  mode_t Mode = 0666;
};

TTarget PrepareTarget(const std::string& fileName) {
  if (fileName.empty()) throw EError("No file name was given for saving.");
  TTarget t;
  t.Subject = "The file \"" + fileName + "\"";
  t.Path = fileName;
  if (!t.Path.has_filename()) throw EError(t.Subject + " cannot be saved: it names a folder.");
  // A link is followed, so the file it points to is replaced and the link
  // stays a link.
  std::error_code linkError;
  if (fs::is_symlink(fs::symlink_status(t.Path, linkError))) {
    t.Path = fs::canonical(t.Path, linkError);
    if (linkError)
      throw EError(t.Subject + " cannot be saved: it is a link to a missing file (" +
                   linkError.message() + ").");
  }
  t.Folder = t.Path.has_parent_path() ? t.Path.parent_path() : fs::path(".");
  std::error_code error;
  fs::create_directories(t.Folder, error);
  if (error)
    throw EError(t.Subject + " cannot be saved: the folder \"" + t.Folder.string() +
                 "\" cannot be created (" + error.message() + ").");
  // Only a regular file is replaced, keeping its permissions; a device, a
  // pipe or a folder of that name stays as it is. A new file gets the usual
  // permissions for the user's umask.
  struct stat existing {};
  t.Exists = stat(t.Path.c_str(), &existing) == 0;
  if (t.Exists && S_ISDIR(existing.st_mode))
    throw EError(t.Subject + " cannot be saved: a folder has that name.");
  if (t.Exists && !S_ISREG(existing.st_mode))
    throw EError(t.Subject + " cannot be saved: it is not a regular file.");
  if (t.Exists) t.Mode = mode_t(existing.st_mode & 07777);
  return t;
}

[[noreturn]] void Fail(const TTarget& t, int code) {
  throw EError(t.Subject + " cannot be saved (" + std::strerror(code) + ").");
}

// The bytes complete and flushed in a temporary file beside the target.
void WriteTemporary(const TTarget& t, TTemporaryFile& temporary,
                    const std::vector<uint8_t>& bytes) {
  if (const int code = temporary.Create(t.Folder, t.Mode)) Fail(t, code);
  if (t.Mode != 0666 && fchmod(temporary.Fd(), t.Mode) != 0) Fail(t, errno);
  if (const int code = WriteAll(temporary.Fd(), bytes)) Fail(t, code);
  if (fsync(temporary.Fd()) != 0) Fail(t, errno);
  if (const int code = temporary.Close()) Fail(t, code);
}

// Gives the temporary file the target's name only if no file has it:
// errno EEXIST when one does. A hard link is created atomically or not at
// all; where the file system has no links, a rename that refuses to
// replace does the same.
int PublishWithoutReplacing(TTemporaryFile& temporary, const fs::path& target) {
  // After a link the temporary name is removed as usual.
  if (link(temporary.Path().c_str(), target.c_str()) == 0) return 0;
  if (errno == EEXIST) return EEXIST;
  if (renameat2(AT_FDCWD, temporary.Path().c_str(), AT_FDCWD, target.c_str(),
                RENAME_NOREPLACE) == 0) {
    temporary.Keep();
    return 0;
  }
  return errno;
}

}  // namespace

void WriteFileAtomically(const std::string& fileName, const std::vector<uint8_t>& bytes) {
  const TTarget t = PrepareTarget(fileName);
  TTemporaryFile temporary;
  WriteTemporary(t, temporary, bytes);
  if (rename(temporary.Path().c_str(), t.Path.c_str()) != 0) Fail(t, errno);
  temporary.Keep();
  SyncFolder(t.Folder);
}

bool WriteNewFileAtomically(const std::string& fileName, const std::vector<uint8_t>& bytes) {
  std::error_code error;
  if (fs::exists(fs::symlink_status(fileName, error))) return false;
  const TTarget t = PrepareTarget(fileName);
  TTemporaryFile temporary;
  WriteTemporary(t, temporary, bytes);
  const int code = PublishWithoutReplacing(temporary, t.Path);
  if (code == EEXIST) return false;
  if (code != 0) Fail(t, code);
  SyncFolder(t.Folder);
  return true;
}

int RemoveStaleTemporaryFiles(const std::string& folder) {
  std::vector<fs::path> stale;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    pid_t pid = 0;
    if (!ParseTemporaryName(it->path().filename().string(), pid)) continue;
    if (pid == getpid() || ProcessRuns(pid)) continue;
    std::error_code typeError;
    if (it->is_regular_file(typeError)) stale.push_back(it->path());
  }
  int removed = 0;
  for (const fs::path& path : stale) {
    std::error_code ignored;
    if (fs::remove(path, ignored)) ++removed;
  }
  return removed;
}

}  // namespace tw
