// The system-wide policy of a family or school: a file "Tintwell/policy.ini"
// in the XDG configuration folders, owned by root, that fixes the parent's
// password (as a hash) and the save and print locks for every user of the
// computer. While one is in force it alone decides them: the users' own
// stores are not consulted, so a child who owns their store unlocks nothing
// by editing or deleting it.
//
// Only a regular file that belongs to root and that no one else may write
// counts; any other file of that name is passed over (a child could have
// made it), so the search goes on to the next folder.
#pragma once

#include <string>
#include <vector>

namespace tw {

struct TSystemPolicy {
  // Whether a policy file was found; the fields below mean nothing otherwise.
  bool InForce = false;
  std::string Path;
  // False when the file is there but cannot be read: saving and printing
  // then stay locked and no password opens them, as the file may well lock
  // them and a child must not gain from an unreadable file.
  bool Readable = true;
  // The password's hash (or, in a file written by hand, its clear text);
  // empty: no password, so an empty answer opens the locks.
  std::string ParentPassword;
  bool PasswordSave = false;
  bool PasswordPrint = false;
  // The policy files passed over, with the reason, for the parent's tool.
  std::vector<std::string> Ignored;
};

// The folders searched, most important first: the absolute entries of
// $XDG_CONFIG_DIRS (/etc/xdg when it is unset or has none), then /etc/xdg
// when it is not among them, so that changing the variable cannot escape
// a policy in the system folder.
std::vector<std::string> SystemPolicyFolders();
// folder + "/Tintwell/policy.ini"
std::string SystemPolicyFile(const std::string& folder);

// The first trusted policy file of SystemPolicyFolders, read anew.
TSystemPolicy ReadSystemPolicy();

// Where the parent's tool writes the policy: the file in force, else the
// file in the first of SystemPolicyFolders.
std::string SystemPolicyWritePath();

// The values a policy file holds, whoever owns it (for rewriting it).
TSystemPolicy ReadPolicyFile(const std::string& path);

// Writes policy's password and locks to path, replacing the file at once
// (never half written), readable by everyone (every user's copy of the
// program must read it) and writable by its owner only; creates the
// folders above it with mode 0755. Throws EError naming what failed.
void WriteSystemPolicy(const std::string& path, const TSystemPolicy& policy);

}  // namespace tw
