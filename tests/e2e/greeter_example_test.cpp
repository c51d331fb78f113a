// The example application's launch file, exactly as shipped in examples/greeter, beside a renamed
// launcher with dummy jars and the recording child standing in for java; then its default jar
// twin. The Windows build uses the Windows spelling of the file, the native build the Linux one.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "e2e/inspect_output.h"
#include "e2e/launch_fixture.h"
#include "embedded_texts.h"

namespace test {
namespace {

using Arguments = std::vector<std::string>;

std::string embedded(const char* name) {
  for (const EmbeddedText& text : kEmbeddedTexts) {
    if (std::strcmp(text.name, name) == 0) return text.text;
  }
  ADD_FAILURE() << name << " is not embedded";
  return std::string();
}

class GreeterExampleTest : public LaunchFixture {
 protected:
  void SetUp() override {
    LaunchFixture::SetUp();
    installLauncher("greeter", "greeter");
    libDir = join(appDir, "lib");
    makeDirectory(libDir);
    makeDirectory(join(appDir, "conf"));
    writeFile(join(libDir, "greeter.jar"), "app");
    writeFile(join(libDir, "greeter-text.jar"), "library");
  }

  std::string up() const { return binDir + separator() + ".."; }  // what %@.. gives

  std::string libDir;
};

TEST_F(GreeterExampleTest, LaunchFileMode) {
  const char* file = onWindows() ? "examples/greeter/greeter-windows.kestrelune"
                                 : "examples/greeter/greeter.kestrelune";
  writeFile(join(binDir, "greeter.kestrelune"), embedded(file));
  const std::string s = separator();
  const std::string list = onWindows() ? ";" : ":";
  const std::string classPath = up() + s + "lib" + s + "greeter-text.jar" + list + up() + s + "lib" +
                                s + "greeter.jar" + list + up() + s + "conf";
  struct Case {
    const char* options;  // GREETER_OPTS, a whole-token variable: one token per option
    Arguments optionTokens;
  };
  const Case cases[] = {{"", {}},
                        {"-Dgreeter.greeting=Bonjour -Xmx64m", {"-Dgreeter.greeting=Bonjour", "-Xmx64m"}}};
  for (const Case& c : cases) {
    environment["GREETER_OPTS"] = c.options;
    environment["KESTRELUNE_EXIT"] = "3";  // the child's status, passed back by the launcher
    const std::string arguments = "\"Ada Lovelace\" --exit=3";
    RunResult result = launch(arguments);
    ChildRecord child = record();
    ASSERT_TRUE(child.present) << result.err;
    Arguments expected = c.optionTokens;
    for (const std::string& argument : {"-Dgreeter.home=" + up(), std::string("-cp"), classPath,
                                        std::string("greeter.Greeter"),
                                        std::string("Ada Lovelace"), std::string("--exit=3")}) {
      expected.push_back(argument);
    }
    EXPECT_EQ(child.arguments, expected) << c.options;
    EXPECT_EQ(result.status, 3u);
    EXPECT_EQ(result.err, "");

    RunResult shown = runInspect(launcher, arguments, environment, root.path());
    std::string line;
    ASSERT_TRUE(printedCommandLine(shown.out, &line)) << shown.out;
    expectChildReceived(child, shown.out, line, c.options);
  }
}

TEST_F(GreeterExampleTest, DefaultJarTwin) {
  environment["GREETER_VMOPTIONS"] = "-Dgreeter.greeting=Hi";
  environment["KESTRELUNE_EXIT"] = "4";
  const std::string arguments = "\"Ada Lovelace\" --exit=4";
  RunResult result = launch(arguments);
  ChildRecord child = record();
  ASSERT_TRUE(child.present) << result.err;
  const std::string jar = up() + separator() + "lib" + separator() + "greeter.jar";
  EXPECT_EQ(child.arguments,
            (Arguments{"-Dgreeter.greeting=Hi", "-jar", jar, "Ada Lovelace", "--exit=4"}));
  if (onWindows()) {
    EXPECT_EQ(child.raw, "java -Dgreeter.greeting=Hi -jar \"" + jar + "\" " + arguments);
  }
  EXPECT_EQ(result.status, 4u);

  RunResult shown = runInspect(launcher, arguments, environment, root.path());
  std::string line;
  ASSERT_TRUE(printedCommandLine(shown.out, &line)) << shown.out;
  expectChildReceived(child, shown.out, line, "default jar");
}

}  // namespace
}  // namespace test
