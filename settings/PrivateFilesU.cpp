#include "settings/PrivateFilesU.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace tw {

namespace {

constexpr mode_t OthersAccess = S_IRWXG | S_IRWXO;

// Tightens path to mode & ~OthersAccess when it is a folder or plain file
// (as isFolder says) owned by this user and not private yet.
void Tighten(const std::string& path, bool isFolder) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || info.st_uid != geteuid()) return;
  if (isFolder ? !S_ISDIR(info.st_mode) : !S_ISREG(info.st_mode)) return;
  if ((info.st_mode & OthersAccess) != 0) chmod(path.c_str(), info.st_mode & 07700);
}

}  // namespace

void MakePrivateFolder(const std::string& folder, const std::string& tightenFrom) {
  namespace fs = std::filesystem;
  const fs::path target = fs::path(folder).lexically_normal();
  const fs::path from = tightenFrom.empty() ? fs::path() : fs::path(tightenFrom).lexically_normal();
  // From the top down: each level either exists or is created private.
  fs::path level;
  bool inside = false;
  for (const fs::path& part : target) {
    level /= part;
    if (level.filename().empty()) continue;
    inside = inside || (!from.empty() && level == from);
    if (mkdir(level.c_str(), 0700) == 0) continue;
    if (errno == EEXIST && inside) Tighten(level.string(), true);
  }
}

void TightenPrivateFiles(const std::string& folder, const std::string& prefix) {
  namespace fs = std::filesystem;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.compare(0, prefix.size(), prefix) == 0) Tighten(it->path().string(), false);
  }
}

void CreatePrivateFile(const std::string& file) {
  const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd >= 0) close(fd);
}

}  // namespace tw
