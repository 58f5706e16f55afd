#include "settings/PasswordHashU.h"

#include <sodium.h>

#include <cstdint>

#include "base/ErrorsU.h"
#include "base/TextCodingU.h"

namespace tw {

namespace {

// The costs a stored hash may ask for: the library's "moderate" limits,
// well above what HashPassword uses, so hashes made elsewhere with somewhat
// higher costs still work.
constexpr uint64_t MaxMemoryKiB = crypto_pwhash_argon2id_MEMLIMIT_MODERATE / 1024;
constexpr uint64_t MaxPasses = 10;

void InitSodium() {
  // Thread-safe and cheap after the first call.
  if (sodium_init() < 0) throw EError("The password library cannot start.");
}

bool StartsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// Reads "<name>=<digits>" at position, followed by end; false otherwise.
bool ReadParameter(const std::string& text, size_t& position, const char* name, char end,
                   uint64_t& value) {
  const size_t nameLength = std::char_traits<char>::length(name);
  if (text.compare(position, nameLength, name) != 0) return false;
  position += nameLength;
  const size_t digitsAt = position;
  value = 0;
  while (position < text.size() && text[position] >= '0' && text[position] <= '9') {
    if (position - digitsAt >= 10) return false;
    value = value * 10 + uint64_t(text[position] - '0');
    ++position;
  }
  if (position == digitsAt || position >= text.size() || text[position] != end) return false;
  ++position;
  return true;
}

// Whether the cost parameters of hash ("$argon2id$v=19$m=65536,t=2,p=1$...")
// are within what the gate is willing to spend.
bool AffordableHash(const std::string& hash) {
  size_t position = hash.find('$', 1);
  if (position == std::string::npos) return false;
  ++position;
  uint64_t version = 0, memory = 0, passes = 0, lanes = 0;
  return ReadParameter(hash, position, "v=", '$', version) &&
         ReadParameter(hash, position, "m=", ',', memory) &&
         ReadParameter(hash, position, "t=", ',', passes) &&
         ReadParameter(hash, position, "p=", '$', lanes) && memory <= MaxMemoryKiB &&
         passes <= MaxPasses && lanes == 1;
}

}  // namespace

std::string HashPassword(const std::string& password) {
  InitSodium();
  char hash[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(hash, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                        crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
    throw EError("There is not enough memory to protect the password.");
  return hash;
}

bool IsPasswordHash(const std::string& stored) {
  return StartsWith(stored, crypto_pwhash_argon2id_STRPREFIX) ||
         StartsWith(stored, crypto_pwhash_argon2i_STRPREFIX);
}

bool VerifyPasswordHash(const std::string& hash, const std::string& entered) {
  if (!IsPasswordHash(hash) || hash.size() >= crypto_pwhash_STRBYTES ||
      hash.find('\0') != std::string::npos || !AffordableHash(hash))
    return false;
  InitSodium();
  return crypto_pwhash_str_verify(hash.c_str(), entered.data(), entered.size()) == 0;
}

std::string PasswordProblem(const std::string& password) {
  if (!IsValidUtf8(password))
    return "The password is not valid UTF-8 text, so it could never be typed into the program.";
  size_t characters = 0;
  for (size_t i = 0; i < password.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(password[i]);
    if (byte < 0x20 || byte == 0x7F)
      return "The password holds a control character (such as a tab), which cannot be typed "
             "into the program's password box.";
    // C1 controls, U+0080 to U+009F, are C2 80 to C2 9F in UTF-8.
    if (byte == 0xC2 && i + 1 < password.size() &&
        static_cast<unsigned char>(password[i + 1]) <= 0x9F)
      return "The password holds a control character, which cannot be typed into the "
             "program's password box.";
    if ((byte & 0xC0) != 0x80) ++characters;
  }
  if (characters > MaxPasswordLength)
    return "The password is longer than " + std::to_string(MaxPasswordLength) + " characters.";
  return std::string();
}

}  // namespace tw
