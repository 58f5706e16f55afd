#include "settings/ParentControlsU.h"

#include "settings/PasswordHashU.h"

namespace tw {

namespace {

constexpr const char* Section = "Main";
constexpr const char* PasswordName = "ParentPassword";

bool Matches(const std::string& stored, const std::string& entered) {
  if (stored.empty()) return entered.empty();
  if (IsPasswordHash(stored)) return VerifyPasswordHash(stored, entered);
  return stored == entered;
}

}  // namespace

bool TParentControls::SaveLocked() {
  const TSystemPolicy policy = Policy();
  return policy.InForce ? policy.PasswordSave : FStore.ReadFreshBool("PasswordSave", false, Section);
}

bool TParentControls::PrintLocked() {
  const TSystemPolicy policy = Policy();
  return policy.InForce ? policy.PasswordPrint : FStore.ReadFreshBool("PasswordPrint", false, Section);
}

bool TParentControls::HasPassword() {
  const TSystemPolicy policy = Policy();
  if (policy.InForce) return !policy.Readable || !policy.ParentPassword.empty();
  return !FStore.ReadFreshString(PasswordName, "", Section).empty();
}

bool TParentControls::Check(const std::string& entered) {
  const TSystemPolicy policy = Policy();
  if (policy.InForce) return policy.Readable && Matches(policy.ParentPassword, entered);
  const std::string stored = FStore.ReadFreshString(PasswordName, "", Section);
  const bool right = Matches(stored, entered);
  if (right && !stored.empty() && !IsPasswordHash(stored)) {
    try {
      SealPassword();
    } catch (const EError&) {
      // The parent gave the right password; a store that cannot take the
      // hash now (in memory only, full disk) keeps the clear text until the
      // next check.
    }
  }
  return right;
}

void TParentControls::SetPassword(const std::string& password) {
  FStore.WriteString(PasswordName, password.empty() ? password : HashPassword(password), Section);
}

bool TParentControls::SealPassword() {
  // A store in memory holds no password of the parent's to seal.
  if (FStore.InMemory()) return false;
  const std::string stored = FStore.ReadFreshString(PasswordName, "", Section);
  if (stored.empty() || IsPasswordHash(stored)) return false;
  SetPassword(stored);
  try {
    FStore.Compact();
  } catch (const EError&) {
    // Another copy of the program holds the file. Secure deletion has
    // overwritten the replaced value already; only space freed before it
    // was switched on stays as it was.
  }
  return true;
}

}  // namespace tw
