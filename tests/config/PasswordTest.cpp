#include "config/PasswordCheck.h"
#include "config/PasswordScramble.h"

#include <cctype>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <set>

TEST(PasswordScramble, TableHolds65DistinctPrintableSymbols) {
  std::string table = kScrambleTable;
  ASSERT_EQ(table.size(), 65u);
  EXPECT_EQ(std::set<char>(table.begin(), table.end()).size(), 65u);
  int alphanumeric = 0;
  for (char c : table) {
    EXPECT_TRUE(c > 32 && c < 127);
    if (std::isalnum(static_cast<unsigned char>(c))) ++alphanumeric;
  }
  EXPECT_EQ(alphanumeric, 62);
  EXPECT_EQ(table.find('='), std::string::npos);
}

TEST(PasswordScramble, PadsShortGroups) {
  const char pad = kScrambleTable[64];
  std::string one = ScramblePassword("a");
  ASSERT_EQ(one.size(), 4u);
  EXPECT_EQ(one.substr(2), std::string(2, pad));
  std::string two = ScramblePassword("ab");
  ASSERT_EQ(two.size(), 4u);
  EXPECT_EQ(two[3], pad);
  EXPECT_NE(two[2], pad);
  std::string three = ScramblePassword("abc");
  EXPECT_EQ(three.find(pad), std::string::npos);
  EXPECT_EQ(ScramblePassword("abcd").size(), 8u);
  EXPECT_EQ(ScramblePassword(""), "");
}

TEST(PasswordScramble, RoundTripsAnyBytes) {
  std::mt19937 random(42);
  for (int length = 0; length < 40; ++length) {
    std::string password;
    for (int i = 0; i < length; ++i) password += static_cast<char>(random() % 256);
    EXPECT_EQ(UnscramblePassword(ScramblePassword(password)), password);
  }
  for (const std::string& password : {std::string("="), std::string("a=b"), std::string("\xE4\xF6\xFC\xFF"), std::string("\0x", 2)}) {
    EXPECT_EQ(UnscramblePassword(ScramblePassword(password)), password);
  }
}

TEST(PasswordScramble, UnscramblesInvalidTextWithoutFailing) {
  std::string stored = ScramblePassword("abc");
  EXPECT_EQ(UnscramblePassword(stored + "Q"), "abc") << "a lone last character is ignored";
  EXPECT_EQ(UnscramblePassword("!!!!").size(), 3u);
  EXPECT_EQ(UnscramblePassword("ab").size(), 1u);
  EXPECT_EQ(UnscramblePassword(""), "");
}

TEST(PasswordCheck, IgnoresTheCaseOfAsciiLettersOnly) {
  EXPECT_TRUE(PasswordMatches("Secret", "sECRET"));
  EXPECT_TRUE(PasswordMatches("", ""));
  EXPECT_FALSE(PasswordMatches("Secret ", "Secret"));
  EXPECT_FALSE(PasswordMatches("x", ""));
  EXPECT_FALSE(PasswordMatches("\xC4pfel", "\xE4pfel")) << "accented letters must match exactly";
  EXPECT_TRUE(PasswordMatches("\xE4pfel", "\xE4PFEL"));
  EXPECT_FALSE(PasswordMatches("[", "{"));
}
