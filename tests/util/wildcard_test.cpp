#include "util/wildcard.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace test {
namespace {

ActiveCodePage utf8CodePage() {
  ActiveCodePage cp = builtinCodePage(0);
  cp.utf8 = true;
  return cp;
}

// "?" is one character of the locale and "*" steps by characters: a UTF-8 sequence, a lead byte
// with its second byte, or a byte that starts no valid sequence.
TEST(WildcardTest, MatchesByCharactersOfTheLocale) {
  struct Case {
    uint32_t codePage;  // 65001: UTF-8 file names; 0: single bytes
    const char* pattern;
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {0, "?.jar", "a.jar", true},
      {0, "*.jar", "a.jar.bak", false},
      {0, "a*b*c", "aXbYbZc", true},
      {0, "*", "", true},
      {0, "A.jar", "a.jar", false},        // file names are case-sensitive
      {0, "[ab].jar", "[ab].jar", true},   // "[" is literal
      {0, "[ab].jar", "a.jar", false},
      {0, "a\\*.jar", "a\\x.jar", true},   // "\" is literal, "*" still a wildcard
      {0, "?.jar", "\xc3\xa9.jar", false}, // no UTF-8 locale: two characters
      {65001, "?.jar", "\xc3\xa9.jar", true},
      {65001, "?.jar", "\xe2\x82\xac.jar", true},       // three bytes
      {65001, "?.jar", "\xf0\x9f\x98\x80.jar", true},   // four bytes
      {65001, "??.jar", "\xf0\x9f\x98\x80.jar", false},
      {65001, "?.jar", "\xe9.jar", true},               // not valid UTF-8: one byte, one character
      {65001, "??.jar", "\xe2\x82.jar", true},          // a cut sequence: two characters
      {65001, "*\xa9.jar", "\xc3\xa9.jar", false},      // never half a character
      {65001, "\xc3\xa9*", "\xc3\xa9t\xc3\xa9.jar", true},
      {932, "*A.jar", "\x83\x41.jar", false},           // 0x41 is a second byte here
      {932, "?.jar", "\x83\x41.jar", true},
      {932, "\x83*", "\x83\x41.jar", false},
  };
  for (const Case& c : cases) {
    ScopedTextSettings settings(c.codePage == 65001 ? utf8CodePage() : builtinCodePage(c.codePage),
                                test::posixStyles());
    EXPECT_EQ(matchesWildcard(c.pattern, c.name), c.matches)
        << c.codePage << " " << c.pattern << " " << c.name;
  }
}

}  // namespace
}  // namespace test
