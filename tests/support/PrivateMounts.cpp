#include "support/PrivateMounts.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace tw::test {

namespace {

constexpr int NotPossible = 77;

void WriteProcFile(const std::string& Path, const std::string& Text) {
  const int Fd = open(Path.c_str(), O_WRONLY);
  if (Fd < 0) throw std::runtime_error(Path);
  const bool Written = write(Fd, Text.data(), Text.size()) == ssize_t(Text.size());
  close(Fd);
  if (!Written) throw std::runtime_error(Path);
}

void EnterNamespace() {
  if (geteuid() == 0) {
    if (unshare(CLONE_NEWNS) != 0) throw std::runtime_error("unshare");
  } else {
    const uid_t Uid = geteuid();
    const gid_t Gid = getegid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) throw std::runtime_error("unshare");
    WriteProcFile("/proc/self/setgroups", "deny");
    WriteProcFile("/proc/self/uid_map", std::to_string(Uid) + " " + std::to_string(Uid) + " 1");
    WriteProcFile("/proc/self/gid_map", std::to_string(Gid) + " " + std::to_string(Gid) + " 1");
  }
  // Nothing mounted here may reach the machine's own namespace.
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
    throw std::runtime_error("private");
}

void SendAll(int Fd, const std::string& Text) {
  size_t Done = 0;
  while (Done < Text.size()) {
    const ssize_t N = write(Fd, Text.data() + Done, Text.size() - Done);
    if (N <= 0) return;
    Done += size_t(N);
  }
}

}  // namespace

void MountReadOnly(const std::string& Folder) {
  if (mount(Folder.c_str(), Folder.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
      mount(nullptr, Folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0)
    throw std::runtime_error(std::string("read-only mount: ") + std::strerror(errno));
}

void MountTinyTmpfs(const std::string& Folder, size_t Bytes) {
  const std::string Options = "size=" + std::to_string(Bytes);
  if (mount("tmpfs", Folder.c_str(), "tmpfs", 0, Options.c_str()) != 0)
    throw std::runtime_error(std::string("tmpfs: ") + std::strerror(errno));
}

std::optional<std::string> RunWithPrivateMounts(const std::function<void()>& Mounts,
                                                const std::function<std::string()>& Body) {
  int Pipe[2];
  if (pipe(Pipe) != 0) return std::nullopt;
  const pid_t Child = fork();
  if (Child < 0) return std::nullopt;
  if (Child == 0) {
    close(Pipe[0]);
    // A child that hangs (a lock some other thread of the parent held at
    // the fork) ends instead of stopping the test run.
    alarm(120);
    try {
      EnterNamespace();
      Mounts();
    } catch (...) {
      _exit(NotPossible);
    }
    std::string Report;
    try {
      Report = Body();
    } catch (const std::exception& Error) {
      Report = std::string("exception: ") + Error.what();
    }
    SendAll(Pipe[1], Report);
    close(Pipe[1]);
    // No exit handlers: they belong to the parent's test run.
    _exit(0);
  }
  close(Pipe[1]);
  std::string Text;
  char Buffer[4096];
  for (ssize_t N; (N = read(Pipe[0], Buffer, sizeof Buffer)) != 0;) {
    if (N < 0 && errno == EINTR) continue;
    if (N < 0) break;
    Text.append(Buffer, size_t(N));
  }
  close(Pipe[0]);
  int Status = 0;
  while (waitpid(Child, &Status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(Status) && WEXITSTATUS(Status) == NotPossible) return std::nullopt;
  if (!WIFEXITED(Status) || WEXITSTATUS(Status) != 0) return std::string("child died");
  return Text;
}

}  // namespace tw::test
