// Running one replay of the random test in a child process of its own
// (fork, no exec), so that a crash or a hang of the program under test
// ends only that child: the test can then report it and replay shorter
// sequences to find the shortest one that still crashes. The child reports
// how far it got and what failed through a shared memory page; how it
// ended (exit status or signal) says the rest.
//
// The parent must not hold anything a child would share badly (an open
// settings database, sound threads): forking copies only the calling
// thread, so the parent forks while no window exists and no other thread
// runs (RunInChild refuses to fork otherwise, rather than let the child
// wait for a lock whose holder was left behind).
#pragma once

#include <functional>
#include <string>

namespace tw::test {

// What the child writes while it runs.
class TChildReport {
 public:
  // The index of the step now running: a crash happened there.
  virtual void SetStep(int Step) = 0;
  // A check failed at Step; the child then ends.
  virtual void Fail(int Step, const std::string& Message) = 0;
  // What a run that passed did, in a few words.
  virtual void SetSummary(const std::string& Summary) = 0;

 protected:
  ~TChildReport() = default;
};

struct TChildOutcome {
  enum TKind { Passed, Failed, Crashed, Hung };
  TKind Kind = Passed;
  // The step that failed, crashed or hung; -1 before the first step.
  int Step = -1;
  // What failed ("line art: ..."), or how the child ended ("crash: signal
  // 11 (Segmentation fault)").
  std::string Message;
  // The summary of a run that passed.
  std::string Summary;

  bool Ok() const { return Kind == Passed; }
  // The kind of failure without its details: the failed check's name (the
  // text before the first ':'), "crash" or "hang". Two outcomes with the
  // same signature count as the same failure when a sequence is shortened.
  std::string Signature() const;
};

// Runs Body in a forked child and waits for it. A child that has not ended
// after TimeLimitSeconds is stopped by an alarm signal and reported as a
// hang; the limit only bounds a run that went wrong.
TChildOutcome RunInChild(const std::function<void(TChildReport&)>& Body, int TimeLimitSeconds);

}  // namespace tw::test
