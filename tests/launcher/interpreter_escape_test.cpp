#include "launcher/interpreter_escape.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace test {
namespace {

// Data next to the launch file's own carets and percents, which cmd.exe reads before the data:
// cmd's documented order (percent expansion first, then carets and quotes), which Wine's cmd.exe
// does not follow, so only these rows and the fuzz target's model check it.
TEST(InterpreterEscapeTest, DataNextToTheLaunchFilesCaretsAndPercents) {
  struct Case {
    std::vector<std::string> pieces;  // the launch file's text and data in turn, text first
    std::string escaped;              // what cmd.exe is given, or empty when refused...
    int32_t refusedAt;                // ...at this data byte
    EscapeRefusal why;
  };
  const EscapeRefusal none = EscapeRefusal::kLineBreak;
  const Case cases[] = {
      // The launch file's odd caret escapes the data's first character itself.
      {{"java -Dp=^", "&calc"}, "java -Dp=^&calc", -1, none},
      {{"-Dp=^^", "&calc"}, "-Dp=^^^&calc", -1, none},
      {{"-Dp=^^^", "&"}, "-Dp=^^^&", -1, none},
      {{"-Dp=^", "^"}, "-Dp=^^", -1, none},
      {{"-Dp=^", "\"a b\""}, "-Dp=^\"a b^\"", -1, none},
      {{"-Dp=^", "%"}, "-Dp=^%%cd:~,%", -1, none},
      {{"\"x^\"", "&"}, "\"x^\"^&", -1, none},   // a caret in quotes is literal
      {{"java ^\"", "&calc"}, "java ^\"^&calc", -1, none},  // an escaped quote opens nothing
      // A launch file's % and the next % may be read as a variable: data never stands there.
      {{"java -Dp=%", "PATH%"}, "", 10, EscapeRefusal::kVariable},
      {{"-Dp=%", "PATH:x", " -Dq%"}, "", 5, EscapeRefusal::kVariable},
      {{"-Dp=%A%", "x%"}, "", 7, EscapeRefusal::kVariable},  // when A is unset
      {{"-Dp=%PATH", "%"}, "", 9, EscapeRefusal::kVariable},
      {{"-Dp=%", "x"}, "-Dp=%x", -1, none},  // no % after it
      {{"-Dp=%", "%"}, "-Dp=%%%cd:~,%", -1, none},  // no variable has an empty name
      {{"-Dq=50% Main ", "a=b%"}, "-Dq=50% Main a=b%%cd:~,%", -1, none},  // nor one with a =
      {{"-Dp=%", "x", " -Dq=%"}, "-Dp=%x -Dq=%", -1, none},
      {{"-Dp=", "%", "x%"}, "-Dp=%%cd:~,%x%", -1, none},  // a data % opens nothing
      // A data quote that ends cmd's quotes turns the launch file's ^ & | < > ( ) after it.
      {{"\"", "a\"b", " ^&x"}, "", 2, EscapeRefusal::kLaunchFileText},
      {{"\"", "a\"b", " x"}, "\"a\"b x", -1, none},
      {{"java ", "a\nb"}, "", 6, EscapeRefusal::kLineBreak},
  };
  for (const Case& c : cases) {
    std::string line, marks;
    for (size_t i = 0; i < c.pieces.size(); ++i) {
      line += c.pieces[i];
      marks += std::string(c.pieces[i].size(), i % 2 == 0 ? '\0' : '\1');
    }
    CountedString escaped;
    EscapeRefusal why = none;
    EXPECT_EQ(escapeForInterpreter(counted(line), counted(marks), &escaped, &why), c.refusedAt)
        << line;
    if (c.refusedAt < 0) {
      EXPECT_EQ(toString(escaped), c.escaped) << line;
    }
    EXPECT_EQ(why, c.why) << line;
  }
  // Half a character of data would take the launch file's caret as its second byte (932).
  ScopedTextSettings settings(builtinCodePage(932), windowsStyles());
  CountedString escaped;
  EscapeRefusal why = none;
  EXPECT_EQ(escapeForInterpreter(counted("a\x81^&"), counted(std::string("\0\1\0\0", 4)),
                                 &escaped, &why), 1);
  EXPECT_EQ(why, EscapeRefusal::kLaunchFileText);
}

}  // namespace
}  // namespace test
