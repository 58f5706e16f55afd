#include "settings/SystemPolicyU.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "base/ErrorsU.h"
#include "settings/IniFileU.h"
#include "settings/PasswordHashU.h"
#include "settings/SettingsTextU.h"

namespace tw {

namespace {

constexpr const char* SystemFolder = "/etc/xdg";
constexpr const char* PolicySection = "Main";

// A lock is on unless the file leaves it out or says so plainly; a value
// the program does not understand locks rather than unlocks.
bool ReadLock(const TIniFile& ini, const char* name) {
  const std::string value = LowerAsciiText(TrimBlanks(ini.ReadString(PolicySection, name, "")));
  return !(value.empty() || value == "false" || value == "no" || value == "off" || value == "0");
}

enum class TFound { fMissing, fTrusted, fUnsearchable, fIgnored };

TFound LookAt(const std::string& path, std::string& reason) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    // A folder the user may not look into could hold a policy for them.
    return errno == EACCES ? TFound::fUnsearchable : TFound::fMissing;
  }
  if (!S_ISREG(info.st_mode)) {
    reason = "it is not a plain file";
    return TFound::fIgnored;
  }
  if (info.st_uid != 0 || (info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    reason = "it must belong to root and be writable by root alone";
    return TFound::fIgnored;
  }
  return TFound::fTrusted;
}

std::string ErrorText(int error) { return std::strerror(error); }

void MakeFolders(const std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::is_directory(folder, error)) return;
  if (folder.has_parent_path() && folder.parent_path() != folder) MakeFolders(folder.parent_path());
  if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
    throw EError("Cannot create the folder \"" + folder.string() + "\": " + ErrorText(errno) + ".");
  // Whatever the umask, every user's copy of the program must reach the file.
  chmod(folder.c_str(), 0755);
}

void WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = write(fd, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) throw EError(ErrorText(errno));
    done += size_t(written);
  }
}

}  // namespace

std::vector<std::string> SystemPolicyFolders() {
  std::vector<std::string> folders;
  const char* dirs = std::getenv("XDG_CONFIG_DIRS");
  const std::string list = dirs ? dirs : "";
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    std::string folder = list.substr(start, end - start);
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    // The base directory rules ignore relative entries.
    if (!folder.empty() && folder[0] == '/') folders.push_back(folder);
    start = end + 1;
  }
  bool hasSystem = false;
  for (const std::string& folder : folders) hasSystem = hasSystem || folder == SystemFolder;
  if (!hasSystem) folders.push_back(SystemFolder);
  return folders;
}

std::string SystemPolicyFile(const std::string& folder) {
  return folder + (folder.empty() || folder.back() != '/' ? "/" : "") + "Tintwell/policy.ini";
}

TSystemPolicy ReadPolicyFile(const std::string& path) {
  TSystemPolicy policy;
  policy.Path = path;
  const TIniFile ini(path);
  policy.Readable = ini.Exists();
  if (!policy.Readable) {
    policy.PasswordSave = policy.PasswordPrint = true;
    return policy;
  }
  policy.ParentPassword = ini.ReadString(PolicySection, "ParentPassword", "");
  policy.PasswordSave = ReadLock(ini, "PasswordSave");
  policy.PasswordPrint = ReadLock(ini, "PasswordPrint");
  return policy;
}

TSystemPolicy ReadSystemPolicy() {
  std::vector<std::string> ignored;
  for (const std::string& folder : SystemPolicyFolders()) {
    const std::string path = SystemPolicyFile(folder);
    std::string reason;
    const TFound found = LookAt(path, reason);
    if (found == TFound::fMissing) continue;
    if (found == TFound::fIgnored) {
      ignored.push_back("\"" + path + "\" is ignored: " + reason + ".");
      continue;
    }
    TSystemPolicy policy = found == TFound::fTrusted ? ReadPolicyFile(path) : TSystemPolicy();
    if (found == TFound::fUnsearchable) {
      policy.Path = path;
      policy.Readable = false;
      policy.PasswordSave = policy.PasswordPrint = true;
    }
    policy.InForce = true;
    policy.Ignored = ignored;
    return policy;
  }
  TSystemPolicy none;
  none.Ignored = ignored;
  return none;
}

std::string SystemPolicyWritePath() {
  const TSystemPolicy policy = ReadSystemPolicy();
  if (policy.InForce) return policy.Path;
  return SystemPolicyFile(SystemPolicyFolders().front());
}

void WriteSystemPolicy(const std::string& path, const TSystemPolicy& policy) {
  namespace fs = std::filesystem;
  const std::string password = policy.ParentPassword.empty() || IsPasswordHash(policy.ParentPassword)
                                   ? policy.ParentPassword
                                   : HashPassword(policy.ParentPassword);
  const std::string text =
      "; Tintwell's system policy for every user of this computer, written by\n"
      "; \"tintwell-config --system\". While this file exists it alone decides the\n"
      "; parent's password and whether saving and printing ask for it; delete it\n"
      "; to leave them to each user's own settings again.\n"
      "[Main]\n"
      "ParentPassword=" + password + "\n" +
      "PasswordSave=" + (policy.PasswordSave ? "true" : "false") + "\n" +
      "PasswordPrint=" + (policy.PasswordPrint ? "true" : "false") + "\n";
  const std::string where = "Cannot write the system policy \"" + path + "\": ";
  try {
    MakeFolders(fs::path(path).parent_path());
  } catch (const EError& error) {
    throw EError(where + error.what());
  }
  std::string temporary = path + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) throw EError(where + ErrorText(errno) + ".");
  try {
    WriteAll(fd, text);
    if (fchmod(fd, 0644) != 0 || fsync(fd) != 0) throw EError(ErrorText(errno));
  } catch (const EError& error) {
    close(fd);
    unlink(temporary.c_str());
    throw EError(where + error.what() + ".");
  }
  close(fd);
  if (rename(temporary.c_str(), path.c_str()) != 0) {
    const int error = errno;
    unlink(temporary.c_str());
    throw EError(where + ErrorText(error) + ".");
  }
}

}  // namespace tw
