// The password hash: the right password verifies and nothing else does (not
// even the hash's own text), the hash holds no clear text and differs each
// time, damaged or costly hashes are refused, and which passwords can be
// stored. Each test makes at most one hash, as each takes a good part of a
// second by design.
#include "settings/PasswordHashU.h"

#include <gtest/gtest.h>

#include <string>

namespace tw {
namespace {

TEST(PasswordHash, TheRightPasswordVerifiesExactly) {
  const std::string hash = HashPassword("Tulip 7ü");
  EXPECT_TRUE(IsPasswordHash(hash));
  EXPECT_EQ(hash.find("Tulip"), std::string::npos);
  EXPECT_TRUE(VerifyPasswordHash(hash, "Tulip 7ü"));
  EXPECT_FALSE(VerifyPasswordHash(hash, "tulip 7ü"));
  EXPECT_FALSE(VerifyPasswordHash(hash, "Tulip 7ü "));
  EXPECT_FALSE(VerifyPasswordHash(hash, "Tulip 7u"));
  EXPECT_FALSE(VerifyPasswordHash(hash, ""));
  // Typing the stored text itself opens nothing.
  EXPECT_FALSE(VerifyPasswordHash(hash, hash));
}

TEST(PasswordHash, TheSamePasswordHashesDifferentlyEachTime) {
  const std::string first = HashPassword("same");
  // A second hash of the same text: the salt makes it differ, and both
  // verify.
  const std::string second = HashPassword("same");
  EXPECT_NE(first, second);
  EXPECT_TRUE(VerifyPasswordHash(second, "same"));
}

TEST(PasswordHash, ClearTextIsNoHash) {
  EXPECT_FALSE(IsPasswordHash(""));
  EXPECT_FALSE(IsPasswordHash("Secret"));
  EXPECT_FALSE(IsPasswordHash("argon2id$"));
  EXPECT_FALSE(VerifyPasswordHash("Secret", "Secret"));
  EXPECT_FALSE(VerifyPasswordHash("", ""));
}

TEST(PasswordHash, DamagedAndCostlyHashesAreRefused) {
  const std::string hash = HashPassword("owl");
  const size_t memory = hash.find("m=");
  const size_t comma = hash.find(',', memory);
  ASSERT_NE(memory, std::string::npos);
  ASSERT_NE(comma, std::string::npos);
  // Four gigabytes asked for by a damaged store is not spent.
  std::string costly = hash;
  costly.replace(memory, comma - memory, "m=4194304");
  EXPECT_FALSE(VerifyPasswordHash(costly, "owl"));
  EXPECT_FALSE(VerifyPasswordHash(hash.substr(0, hash.size() - 3), "owl"));
  EXPECT_FALSE(VerifyPasswordHash(hash + std::string(200, 'A'), "owl"));
  EXPECT_FALSE(VerifyPasswordHash("$argon2id$v=19$m=65536,t=2,p=1$", "owl"));
  EXPECT_FALSE(VerifyPasswordHash("$argon2id$", "owl"));
  EXPECT_TRUE(VerifyPasswordHash(hash, "owl"));
}

TEST(PasswordHash, OnlyTypableTextCanBeStored) {
  EXPECT_EQ(PasswordProblem("Se cret"), "");
  EXPECT_EQ(PasswordProblem(""), "");
  EXPECT_EQ(PasswordProblem("Blümchen 日本"), "");
  EXPECT_EQ(PasswordProblem(std::string(MaxPasswordLength, 'x')), "");
  // Characters, not bytes, are counted.
  std::string wide;
  for (size_t i = 0; i < MaxPasswordLength; ++i) wide += "ü";
  EXPECT_EQ(PasswordProblem(wide), "");
  EXPECT_NE(PasswordProblem(std::string(MaxPasswordLength + 1, 'x')), "");
  EXPECT_NE(PasswordProblem("tab\there"), "");
  EXPECT_NE(PasswordProblem(std::string("nul\0byte", 8)), "");
  EXPECT_NE(PasswordProblem("del\x7F"), "");
  EXPECT_NE(PasswordProblem("c1\xC2\x85"), "");
  EXPECT_NE(PasswordProblem("latin1 \xFC"), "");
  EXPECT_NE(PasswordProblem("truncated \xE6\x97"), "");
}

}  // namespace
}  // namespace tw
