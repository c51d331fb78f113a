#include "launcher/class_path_move.h"

#include <gtest/gtest.h>

#include <string>

#include "launchfile/reader.h"
#include "support/test_support.h"

namespace test {
namespace {

// Java reads CLASSPATH only where no class-path option, java.class.path property, @argfile or
// JDK_JAVA_OPTIONS gives it one; the move leaves every other piece on the line, untouched. %*
// stands for the user's arguments.
TEST(ClassPathMoveTest, MovesOnlyWhatJavaWouldReadTheSame) {
  struct Case {
    const char* line;
    const char* value;  // nullptr: no move
    const char* rest;
    int32_t length = 8192;
    const char* jdkJavaOptions = "";
  };
  const Case cases[] = {
      {"java -Xmx1g -cp a.jar;b.jar com.example.Main -cp x %*", "a.jar;b.jar",
       "java -Xmx1g com.example.Main -cp x %*"},
      {"java -cp first.jar -classpath second.jar -Dk=v Main", "second.jar", "java -Dk=v Main"},
      {"java --class-path first --class-path=a;\"b c\" Main", "a;b c", "java Main"},
      {"java -p mods -cp x.jar -m app/app.Main -cp y", "x.jar",
       "java -p mods -m app/app.Main -cp y"},
      {"java --add-modules -cp Main -cp x.jar", nullptr, ""},  // -cp is a value; Main ends
      {"java -jar app.jar -cp x.jar", nullptr, ""},
      {"java -cp x.jar -jar app.jar", nullptr, ""},
      {"java @options -cp x.jar Main", nullptr, ""},
      {"java -cp @classpath Main", nullptr, ""},
      {"java %* -cp x.jar Main", nullptr, ""},
      {"java \"\" -cp x.jar \"\" Main", "x.jar", "java \"\" \"\" Main"},
      {"java -cp \"\" x.jar Main", nullptr, ""},
      {"java -cp", nullptr, ""},
      {"\"C:\\Program Files\\Java\\bin\\javaw.EXE\" -cp x.jar Main", "x.jar",
       "\"C:\\Program Files\\Java\\bin\\javaw.EXE\" Main"},
      {"/opt/jdk/bin/java -cp x.jar Main", "x.jar", "/opt/jdk/bin/java Main"},
      {"C:\\jdk\\bin\\javac.exe -cp x.jar Main", nullptr, ""},
      {"java -cp x.jar Main", nullptr, "", 8191},
      {"java -cp x.jar Main", "x.jar", "java Main", 8192, "-Xmx1g -Dp=-cp"},
      {"java -cp x.jar Main", nullptr, "", 8192, "-Xmx1g \"--class-path=C:\\My Jars\""},
      {"java -cp x.jar Main", nullptr, "", 8192, "-classpath y.jar"},
      {"java -Djava.class.path=y.jar -cp x.jar Main", nullptr, ""},  // applied after CLASSPATH
      {"java -cp x.jar Main", nullptr, "", 8192, "-Djava.class.path=y.jar"},
      {"java -cp x.jar Main", nullptr, "", 8192, "-Xmx1g @more-options"},
      {"java --enable-native-access ALL-UNNAMED -cp x.jar Main", "x.jar",
       "java --enable-native-access ALL-UNNAMED Main"},
  };
  ScopedTextSettings settings(builtinCodePage(1252), windowsStyles());
  for (const Case& c : cases) {
    const std::string where = std::string(c.line) + " / " + std::to_string(c.length) + " / " +
                              c.jdkJavaOptions;
    CommandForm form;
    for (const CountedString& token : splitTokens(counted(c.line))) {
      form.add(token == "%*" ? PieceKind::kArguments : PieceKind::kToken, token);
    }
    ClassPathMove move;
    const bool moved = classPathToMove(form, c.length, c.jdkJavaOptions, &move);
    ASSERT_EQ(moved, c.value != nullptr) << where;
    if (c.value == nullptr) continue;
    std::string rest;
    for (size_t i = 0; i < move.form.size(); ++i) {
      rest += (i > 0 ? " " : "") + toString(move.form.text(i));
    }
    EXPECT_EQ(toString(move.value), c.value) << where;
    EXPECT_EQ(rest, c.rest) << where;
  }
}

}  // namespace
}  // namespace test
