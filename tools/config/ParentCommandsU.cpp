#include "tools/config/ParentCommandsU.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "settings/ParentControlsU.h"
#include "settings/PasswordHashU.h"
#include "settings/QCSettingU.h"
#include "settings/SettingsTextU.h"
#include "settings/SystemPolicyU.h"

namespace tw {

namespace {

constexpr const char* SudoTool = "sudo tintwell-config --system";

// "PasswordSave" or "PasswordPrint" for the lock command's word, else null.
const char* LockName(const std::string& what) {
  if (SameTextAscii(what, "save")) return "PasswordSave";
  if (SameTextAscii(what, "print")) return "PasswordPrint";
  return nullptr;
}

// The lock and its state from lock's two words; throws EUsage for others.
const char* ReadLockWords(const TConfigCommandLine& line, bool& on) {
  if (line.Words.size() != 2) throw EUsage("lock takes save or print, then on or off.");
  const std::string& what = line.Words[0];
  const std::string& state = line.Words[1];
  const char* name = LockName(what);
  if (name == nullptr) throw EUsage("lock takes save or print, not \"" + what + "\".");
  if (!SameTextAscii(state, "on") && !SameTextAscii(state, "off"))
    throw EUsage("lock " + what + " takes on or off, not \"" + state + "\".");
  on = SameTextAscii(state, "on");
  return name;
}

std::string Doing(const char* lockName) {
  return std::string(lockName) == "PasswordSave" ? "Saving" : "Printing";
}

void NoteIgnored(const TSystemPolicy& policy, TConsole& console) {
  for (const std::string& ignored : policy.Ignored) console.Err << "Note: the policy file " << ignored << "\n";
}

std::string FixedBy(const TSystemPolicy& policy) {
  return "the system policy \"" + policy.Path + "\" for every user of this computer";
}

// Asks for the new password twice. False, after saying why, when the two
// answers are missing or differ or the password cannot be stored.
bool ReadNewPassword(TConsole& console, std::string& password) {
  std::string second;
  if (!ReadAnswer(console, "New parent password: ", true, password) ||
      !ReadAnswer(console, "The same password again: ", true, second)) {
    console.Err << "The password must be given twice; the password was not changed.\n";
    return false;
  }
  if (password != second) {
    console.Err << "The two passwords differ; the password was not changed.\n";
    return false;
  }
  const std::string problem = PasswordProblem(password);
  if (!problem.empty()) {
    console.Err << problem << " The password was not changed.\n";
    return false;
  }
  return true;
}

void ShowLocks(TConsole& console, bool save, bool print, bool hasPassword) {
  console.Out << "Saving " << (save ? "asks" : "does not ask") << " for the parent password.\n"
              << "Printing " << (print ? "asks" : "does not ask") << " for the parent password.\n"
              << (hasPassword ? "A parent password is set.\n" : "No parent password is set.\n");
}

// What a policy shows: its locks, or that it cannot be read.
void ShowPolicy(TConsole& console, const TSystemPolicy& policy) {
  if (!policy.Readable) {
    console.Out << "The system policy \"" << policy.Path
                << "\" cannot be read, so saving and printing stay locked and no password opens "
                   "them. It must be readable by every user (mode 0644).\n";
    return;
  }
  ShowLocks(console, policy.PasswordSave, policy.PasswordPrint, !policy.ParentPassword.empty());
  console.Out << "These are fixed by " << FixedBy(policy) << ".\n";
  if (!policy.ParentPassword.empty() && !IsPasswordHash(policy.ParentPassword))
    console.Err << "Note: the policy holds the password as readable text; store it safely with \""
                << SudoTool << " password\".\n";
}

bool IsRoot() { return geteuid() == 0; }

// The policy file to change and its values now: those of the file at the
// write path (whoever owns it: root is about to replace it), else nothing
// locked and no password.
TSystemPolicy PolicyToChange() {
  const std::string path = SystemPolicyWritePath();
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    TSystemPolicy fresh;
    fresh.Path = path;
    return fresh;
  }
  TSystemPolicy policy = ReadPolicyFile(path);
  if (!policy.Readable) throw EError("Cannot read the system policy \"" + path + "\".");
  return policy;
}

int RunSystemPassword(TConsole& console) {
  TSystemPolicy policy = PolicyToChange();
  std::string password;
  if (!ReadNewPassword(console, password)) return ExitFailure;
  policy.ParentPassword = password.empty() ? password : HashPassword(password);
  WriteSystemPolicy(policy.Path, policy);
  if (password.empty()) {
    console.Out << "The system policy \"" << policy.Path
                << "\" now has no password: an empty answer lets saving and printing go ahead.\n";
  } else {
    console.Out << "The parent password is set in " << FixedBy(policy) << ".\n";
  }
  if (!policy.PasswordSave && !policy.PasswordPrint)
    console.Err << "Note: the policy locks neither saving nor printing yet; use \"" << SudoTool
                << " lock save on\" and \"" << SudoTool << " lock print on\".\n";
  return ExitOk;
}

int RunSystemLock(const TConfigCommandLine& line, TConsole& console) {
  bool on = false;
  const char* name = ReadLockWords(line, on);
  TSystemPolicy policy = PolicyToChange();
  (std::string(name) == "PasswordSave" ? policy.PasswordSave : policy.PasswordPrint) = on;
  WriteSystemPolicy(policy.Path, policy);
  console.Out << Doing(name) << (on ? " now asks" : " no longer asks")
              << " for the parent password, for every user of this computer (system policy \""
              << policy.Path << "\").\n";
  if (on && policy.ParentPassword.empty())
    console.Err << "Note: the policy has no parent password, so an empty answer lets it go "
                   "ahead; set one with \""
                << SudoTool << " password\".\n";
  return ExitOk;
}

}  // namespace

int RunPassword(TConfigContext& context) {
  TConsole& console = context.Console;
  const TSystemPolicy policy = TParentControls(context.Store).Policy();
  NoteIgnored(policy, console);
  if (policy.InForce) {
    console.Err << "The parent password is set by " << FixedBy(policy)
                << "; your own settings cannot change it. An administrator can, with \"" << SudoTool
                << " password\".\n";
    return ExitFailure;
  }
  std::string password;
  if (!ReadNewPassword(console, password)) return ExitFailure;
  TParentControls(context.Store).SetPassword(password);
  if (password.empty()) {
    console.Out << "The parent password is now empty: an empty answer lets saving and printing go ahead.\n";
  } else {
    console.Out << "The parent password is set.\n";
  }
  const bool save = context.Store.ReadBool("PasswordSave", false, SectionMain);
  const bool print = context.Store.ReadBool("PasswordPrint", false, SectionMain);
  if (!save && !print)
    console.Err << "Note: saving and printing are not locked yet; use \"lock save on\" "
                   "and \"lock print on\".\n";
  return ExitOk;
}

int RunLock(TConfigContext& context) {
  TConsole& console = context.Console;
  TParentControls controls(context.Store);
  const TSystemPolicy policy = controls.Policy();
  NoteIgnored(policy, console);
  if (context.Line.Words.empty()) {
    if (policy.InForce) {
      ShowPolicy(console, policy);
    } else {
      ShowLocks(console, controls.SaveLocked(), controls.PrintLocked(), controls.HasPassword());
      console.Out << "These come from your own settings \"" << context.Store.DatabasePath() << "\".\n";
    }
    return ExitOk;
  }
  bool on = false;
  const char* name = ReadLockWords(context.Line, on);
  if (policy.InForce) {
    console.Err << "Saving and printing locks are fixed by " << FixedBy(policy)
                << "; your own settings cannot change them. An administrator can, with \""
                << SudoTool << " lock " << context.Line.Words[0] << " " << context.Line.Words[1]
                << "\".\n";
    return ExitFailure;
  }
  context.Store.WriteBool(name, on, SectionMain);
  console.Out << Doing(name)
              << (on ? " now asks for the parent password.\n" : " no longer asks for the parent password.\n");
  if (on && !controls.HasPassword())
    console.Err << "Note: no parent password is set, so an empty answer lets it go ahead; "
                   "set one with \"tintwell-config password\".\n";
  return ExitOk;
}

int RunSystemCommand(const TConfigCommandLine& line, TConsole& console) {
  const TSystemPolicy policy = ReadSystemPolicy();
  NoteIgnored(policy, console);
  if (line.Command == "lock" && line.Words.empty()) {
    if (policy.InForce) {
      ShowPolicy(console, policy);
    } else {
      console.Out << "No system policy is in force: each user's own settings decide. \"" << SudoTool
                  << " lock save on\" makes one in \"" << SystemPolicyWritePath() << "\".\n";
    }
    return ExitOk;
  }
  if (line.Command == "lock") {
    bool on = false;
    ReadLockWords(line, on);
  }
  if (!IsRoot()) {
    console.Err << "The system policy belongs to root: run \"" << SudoTool << " " << line.Command;
    for (const std::string& word : line.Words) console.Err << " " << word;
    console.Err << "\".\n";
    return ExitFailure;
  }
  return line.Command == "password" ? RunSystemPassword(console) : RunSystemLock(line, console);
}

int CheckParentValue(TConfigContext& context, const std::string& section, const std::string& name) {
  if (!SameTextAscii(section, SectionMain)) return ExitOk;
  if (SameTextAscii(name, "ParentPassword"))
    throw EUsage("The parent password is kept only as a hash; set it with \"tintwell-config "
                 "password\", which asks for it without showing it.");
  if (!SameTextAscii(name, "PasswordSave") && !SameTextAscii(name, "PasswordPrint")) return ExitOk;
  const TSystemPolicy policy = TParentControls(context.Store).Policy();
  if (!policy.InForce) return ExitOk;
  const std::string lock = std::string(SudoTool) + " lock " +
                          (SameTextAscii(name, "PasswordSave") ? "save" : "print");
  context.Console.Err << "Main\\" << name << " is fixed by " << FixedBy(policy)
                      << "; your own settings cannot change it. An administrator can, with \""
                      << lock << " on\" or \"" << lock << " off\".\n";
  return ExitFailure;
}

}  // namespace tw
