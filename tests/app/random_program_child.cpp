#include "app/random_program_child.h"

#include <signal.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QThreadPool>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <new>
#include <string>
#include <thread>
#include <vector>

namespace tw::test {
namespace {

// The page the child writes and the parent reads after the child ended.
struct TSharedReport {
  int Step;
  int Failed;
  char Message[8192];
  char Summary[1024];
};

void CopyText(char* Target, size_t Size, const std::string& Text) {
  const size_t n = std::min(Text.size(), Size - 1);
  memcpy(Target, Text.data(), n);
  Target[n] = 0;
}

class TSharedChildReport final : public TChildReport {
 public:
  explicit TSharedChildReport(TSharedReport& Shared) : FShared(Shared) {}
  void SetStep(int Step) override { FShared.Step = Step; }
  void Fail(int Step, const std::string& Message) override {
    FShared.Step = Step;
    CopyText(FShared.Message, sizeof FShared.Message, Message);
    FShared.Failed = 1;
  }
  void SetSummary(const std::string& Summary) override {
    CopyText(FShared.Summary, sizeof FShared.Summary, Summary);
  }

 private:
  TSharedReport& FShared;
};

constexpr int ExitFailed = 3;

// The names of this process's threads; a thread that ends while they are
// listed is left out.
std::vector<std::string> ThreadNames() {
  std::vector<std::string> names;
  std::error_code error;
  for (auto it = std::filesystem::directory_iterator("/proc/self/task", error);
       !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    std::ifstream comm(it->path() / "comm");
    std::string name;
    if (comm && std::getline(comm, name)) names.push_back(name);
  }
  return names;
}

// Threads of earlier tests that were told to end may still be on their
// way out; they get the processor until they are gone, a bounded number of
// times.
std::vector<std::string> ThreadsLeft() {
  std::vector<std::string> names = ThreadNames();
  for (int round = 0; round < 10000 && names.size() > 1; ++round) {
    std::this_thread::yield();
    names = ThreadNames();
  }
  return names;
}

}  // namespace

std::string TChildOutcome::Signature() const {
  switch (Kind) {
    case Passed: return "passed";
    case Crashed: return "crash";
    case Hung: return "hang";
    case Failed: return Message.substr(0, Message.find(':'));
  }
  return "";
}

TChildOutcome RunInChild(const std::function<void(TChildReport&)>& Body, int TimeLimitSeconds) {
  TChildOutcome outcome;
  void* page = mmap(nullptr, sizeof(TSharedReport), PROT_READ | PROT_WRITE,
                    MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (page == MAP_FAILED) {
    outcome.Kind = TChildOutcome::Failed;
    outcome.Message = std::string("setup: no shared page: ") + strerror(errno);
    return outcome;
  }
  auto* shared = new (page) TSharedReport{-1, 0, {}, {}};
  // Whatever waits in the buffers would otherwise be written twice.
  std::cout.flush();
  std::cerr.flush();
  fflush(nullptr);
  // Idle workers of Qt's shared pool, left by earlier windows of the test
  // program, end first.
  QThreadPool::globalInstance()->waitForDone();
  // The child would have only this thread: a lock another thread holds
  // now would stay locked there for ever.
  const std::vector<std::string> threads = ThreadsLeft();
  if (threads.size() != 1) {
    outcome.Kind = TChildOutcome::Failed;
    outcome.Message = "setup: a child would hang, these threads run:";
    for (const std::string& name : threads) outcome.Message += " \"" + name + "\"";
    munmap(page, sizeof(TSharedReport));
    return outcome;
  }
  const pid_t child = fork();
  if (child == 0) {
    // A crash is reported here; a core file would only litter the folder.
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    alarm(unsigned(TimeLimitSeconds));
    TSharedChildReport report(*shared);
    Body(report);
    fflush(nullptr);
    // No destructors: the copies of the parent's objects (its temporary
    // folder above all) belong to the parent.
    _exit(shared->Failed ? ExitFailed : 0);
  }
  if (child < 0) {
    outcome.Kind = TChildOutcome::Failed;
    outcome.Message = std::string("setup: fork failed: ") + strerror(errno);
    munmap(page, sizeof(TSharedReport));
    return outcome;
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  outcome.Step = shared->Step;
  if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) {
    outcome.Kind = TChildOutcome::Hung;
    outcome.Message = "hang: no end within " + std::to_string(TimeLimitSeconds) + " s";
  } else if (WIFSIGNALED(status)) {
    outcome.Kind = TChildOutcome::Crashed;
    outcome.Message = "crash: signal " + std::to_string(WTERMSIG(status)) + " (" +
                      strsignal(WTERMSIG(status)) + ")";
  } else if (WIFEXITED(status) && WEXITSTATUS(status) == ExitFailed && shared->Failed) {
    outcome.Kind = TChildOutcome::Failed;
    outcome.Message = shared->Message;
  } else if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
    outcome.Kind = TChildOutcome::Passed;
    outcome.Summary = shared->Summary;
  } else {
    outcome.Kind = TChildOutcome::Crashed;
    outcome.Message = "crash: exit status " + std::to_string(WEXITSTATUS(status));
  }
  munmap(page, sizeof(TSharedReport));
  return outcome;
}

}  // namespace tw::test
