// The parent's controls over the program: the password and whether saving
// and printing ask for it. A system policy in force (SystemPolicyU) decides
// them for every user of the computer; otherwise the user's own store does
// (section Main: ParentPassword, PasswordSave, PasswordPrint). Everything is
// read anew from the file at each call (TSetting's Fresh reads), and a call
// that cannot read them throws EError: nothing here ever answers "not
// locked" for a lock it could not read.
//
// The password is kept only as a hash (PasswordHashU). A clear text that an
// older store or a defaults file still holds keeps working, compared exactly
// as text, and is replaced by its hash.
#pragma once

#include <string>

#include "settings/SettingU.h"
#include "settings/SystemPolicyU.h"

namespace tw {

class TParentControls {
 public:
  explicit TParentControls(TSetting& store) : FStore(store) {}

  TSystemPolicy Policy() const { return ReadSystemPolicy(); }
  bool SaveLocked();
  bool PrintLocked();
  // Whether a password is set; an unreadable policy counts as one (no
  // answer opens its locks).
  bool HasPassword();

  // Whether entered is the password: equal in characters, case and length,
  // checked through its hash. With no password set only the empty entry
  // is; with an unreadable policy none is. A clear-text password in the
  // user's store that matches is replaced by its hash (SealPassword); when
  // the store cannot take the hash it stays as it was, to be tried again.
  bool Check(const std::string& entered);

  // Stores the hash of password in the user's store; the empty password is
  // stored empty (no password). Throws EError when the hash cannot be made
  // or the store refuses it.
  void SetPassword(const std::string& password);

  // Replaces a clear-text password in the user's store by its hash and
  // rewrites the file, so the clear text is gone from it. Returns whether
  // there was one. Throws EError as SetPassword does.
  bool SealPassword();

 private:
  TSetting& FStore;
};

}  // namespace tw
