#include "util/class_version_text.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace test {
namespace {

const std::string kError = "java.lang.UnsupportedClassVersionError: Main";
const std::string kNewer =
    kError + " has been compiled by a more recent version of the Java Runtime (class file version ";
const std::string kUpTo =
    "), this version of the Java Runtime only recognizes class file versions up to ";
const std::string kOlder = kError + " : Unsupported major.minor version ";

// Only a whole error with the versions of releases names them; anything else adds nothing.
TEST(ClassVersionTextTest, NamesTheJavaNeededAndTheOneThatRan) {
  const struct {
    std::string output;
    const char* programFile;
    const char* words;
  } cases[] = {
      {"Exception in thread \"main\" " + kNewer + "61.0" + kUpTo + "52.0\r\n\tat x",
       "C:\\j\\java.exe", "needs Java 17 or later; the Java that ran (C:\\j\\java.exe) is Java 8."},
      {"Error: LinkageError occurred\n\t" + kNewer + "65.0" + kUpTo + "55.0", "",
       "needs Java 21 or later; the Java that ran (java) is Java 11."},
      {kOlder + "52.0\r\n\tat java.lang.ClassLoader.defineClass1(Native Method)", "java",
       "needs Java 8 or later; the Java that ran (java) is older."},
      {kNewer + "61.\n" + kOlder + "51.0", "java",  // a broken first one, a whole second one
       "needs Java 7 or later; the Java that ran (java) is older."},
      {kNewer + "65.65535" + kUpTo + "61.0", "java", ""},  // a preview's class file
      {kNewer + "65536.0" + kUpTo + "52.0", "java", ""},
      {kNewer + "61.0)", "java", ""},
      {kNewer + "52.0" + kUpTo + "61.0", "java", ""},  // the one that ran is not older
      {kNewer + "61.0" + kUpTo + "48.0", "java", ""},  // no Java before 8 writes this
      {kError + "\n has been compiled by a more recent version", "java", ""},
      {"Unsupported major.minor version 52.0", "java", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(toString(javaTooOldWords(counted(c.output), c.programFile)), c.words) << c.output;
  }
}

}  // namespace
}  // namespace test
