// The parent's password kept as a salted, deliberately slow Argon2id hash in
// libsodium's string form (which carries its own salt and cost limits), and
// the rule for which passwords can be stored at all. Nothing here keeps or
// prints a password.
#pragma once

#include <string>

namespace tw {

// The hash of password with the library's "interactive" limits: a check
// takes a fraction of a second, which is nothing for a parent at the box
// and a great deal for someone trying every word. Throws EError when the
// hash cannot be made (not enough memory).
std::string HashPassword(const std::string& password);

// Whether stored is in the hash form rather than an older clear text. A
// stored value in this form is only ever verified, never compared as text,
// so typing the hash itself opens nothing.
bool IsPasswordHash(const std::string& stored);

// Whether entered is the password that made hash. False for anything that is
// not a well-formed hash, and for a hash whose cost limits are far beyond
// what this program makes (a damaged store must not make the gate ask for
// gigabytes of memory).
bool VerifyPasswordHash(const std::string& hash, const std::string& entered);

// Empty when password can be stored and typed again into the program's box;
// else why not, as a sentence: it must be UTF-8 text without control
// characters (a line break, a tab) and at most MaxPasswordLength characters.
inline constexpr size_t MaxPasswordLength = 256;
std::string PasswordProblem(const std::string& password);

}  // namespace tw
