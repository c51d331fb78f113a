#include "launcher/java_search.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "launcher/java_runtime.h"
#include "support/test_support.h"

namespace test {
namespace {

// What the registry records in a row; a static, since the facts take a plain function.
RecordedRuntimes recorded;
RecordedRuntimes recordedNow() { return recorded; }

struct Record {
  std::string home;  // under the test's root unless it starts with "!" (taken as written)
  const char* version;
  const char* source;
};

class JavaSearchTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* release21 = "JAVA_VERSION=\"21.0.2\"\nJAVA_RUNTIME_VERSION=\"21.0.2+13-LTS\"\n";
    runtime("jh", "JAVA_VERSION=\"11.0.2\"\r\n");
    runtime("jdk8", "IMPLEMENTOR=\"x\"\nJAVA_VERSION=\"1.8.0_392\"\n");
    runtime("jdk21", release21);
    runtime("jdk17", "", true);
    runtime("jdk17b", "");
    // A folder's name tells the version only where no release file does, and only its own name.
    runtime(join("jvm-9", "java-1.8.0-openjdk"), "");
    runtime(join("jvm-9", "java-17-openjdk-amd64"), "");
    runtime(join("jvm-9", "jdk"), "JAVA_VERSION=\"11.0.1\"\n");
    makeDirectory(join(root / "jvm-9", "broken"));
    runtime(join("jvm2", "default-java"), "");
    runtime(styled(".sdkman/candidates/java/current"), "");
    makeDirectory(root / "empty");
    makeDirectory(root / "path");
    installChild(root / "path", onWindows() ? "java.exe" : "java");
  }

  void runtime(const std::string& home, const std::string& release, bool javaw = false) {
    const std::string bin = join(join(root.path(), home), "bin");
    std::filesystem::create_directories(bin);
    writeFile(join(bin, onWindows() ? "java.exe" : "java"), "");
    if (javaw) writeFile(join(bin, "javaw.exe"), "");
    if (!release.empty()) writeFile(join(join(root.path(), home), "release"), release);
  }

  JavaSearch search(const char* word, const std::vector<std::string>& environment,
                    const std::vector<Record>& records, const char* folder) {
    recorded = RecordedRuntimes();
    for (const Record& record : records) {
      const bool asWritten = record.home[0] == '!';
      recorded.homes.append(counted(asWritten ? record.home.substr(1) : join(root.path(), record.home)));
      recorded.versions.append(record.version);
      recorded.sources.append(record.source);
    }
    ProcessFacts facts;
    TokenList variables;
    for (const std::string& variable : environment) variables.append(counted(variable));
    facts.environment = Environment(variables);
    facts.recordedRuntimes = recordedNow;
    if (*folder != 0) facts.runtimesFolder = counted(root / folder);
    return findJava(word, facts);
  }

  TempDir root;
};

// PATH first; only without java there JAVA_HOME, JDK_HOME, and then, where the system keeps
// runtimes, the highest version; no value that depends on where the user is.
TEST_F(JavaSearchTest, WhereJavaComesFrom) {
  const std::string r = root.path();
  const std::string path = "PATH=" + (root / "path");
  const std::string noPath = "PATH=" + (root / "empty");
  struct Case {
    const char* word;
    std::vector<std::string> environment;
    std::vector<Record> records;  // Windows only
    const char* folder;           // POSIX only: the system's runtimes folder
    std::string home;             // where the runtime found is, "" for none, "path" for PATH's
    std::string source, version;
  };
  const std::vector<Record> three = {
      {"jdk8", "1.8", "JavaSoft"}, {"jdk21", "21", "Eclipse Adoptium"}, {"jdk17", "17.0.9", "Zulu"}};
  std::vector<Case> cases = {
      {"java", {path, "JAVA_HOME=" + r + "/jh"}, three, "jvm-9", "path", "PATH", ""},
      {"java", {noPath, "JAVA_HOME=" + join(r, "jh")}, three, "jvm-9", "jh", "JAVA_HOME", "11.0.2"},
      {"java", {noPath, "JAVA_HOME=\"" + join(r, "jh") + separator() + "\""}, {}, "", "jh",
       "JAVA_HOME", "11.0.2"},
      {"java", {noPath, "JAVA_HOME=.", "JDK_HOME=" + join(r, "jdk17")}, {}, "", "jdk17",
       "JDK_HOME", ""},
      {"java", {noPath, "JAVA_HOME=" + join(r, "empty")}, {}, "", "", "", ""},
  };
  if (onWindows()) {
    const std::vector<Case> registry = {
        {"java", {noPath}, three, "", "jdk21", "registry: Eclipse Adoptium", "21.0.2+13-LTS"},
        {"JAVA.EXE", {noPath}, {{"gone", "99", "JavaSoft"}, {"jdk17", "17.0.9", "Zulu"}}, "",
         "jdk17", "registry: Zulu", ""},
        {"java", {noPath}, {{"jdk17b", "17", "Zulu"}, {"jdk17", "17", "JavaSoft"}}, "", "jdk17b",
         "registry: Zulu", ""},
        {"java", {noPath}, {{"!jdk21", "21", "Zulu"}, {"!C:jdk21", "21", "Zulu"},
                            {"jdk8", "8", "JavaSoft"}}, "", "jdk8", "registry: JavaSoft", "1.8.0_392"},
        {"javaw", {noPath}, three, "", "jdk17", "registry: Zulu", ""},
        {"java", {noPath, "JAVA_HOME=\\jdk21"}, {}, "", "", "", ""},
    };
    cases.insert(cases.end(), registry.begin(), registry.end());
  } else {
    const std::vector<Case> folders = {
        {"java", {noPath}, {}, "jvm2", "jvm2/default-java", "default-java", ""},
        {"java", {noPath}, {}, "jvm-9", "jvm-9/java-17-openjdk-amd64", r + "/jvm-9", ""},
        {"java", {noPath, "HOME=" + r + "/"}, {}, "empty", styled(".sdkman/candidates/java/current"),
         "SDKMAN", ""},
        {"java", {noPath, "HOME=."}, {}, "", "", "", ""},
    };
    cases.insert(cases.end(), folders.begin(), folders.end());
  }
  for (const Case& c : cases) {
    const std::string row = std::string(c.word) + " " + c.environment.back();
    JavaSearch found = search(c.word, c.environment, c.records, c.folder);
    const std::string program = onWindows() ? (c.word[4] == 'w' ? "javaw.exe" : "java.exe") : "java";
    std::string expected = c.home.empty() ? "" : join(join(join(r, c.home), "bin"), program);
    if (c.home == "path") expected = join(root / "path", onWindows() ? "java.EXE" : "java");
    EXPECT_EQ(toString(found.file), expected) << row;
    EXPECT_EQ(toString(found.source), c.source) << row;
    EXPECT_EQ(toString(found.version), c.version) << row;
    EXPECT_EQ(found.alongPath, c.home == "path") << row;
    EXPECT_EQ(found.looked.empty(), !c.home.empty()) << row;
  }
}

TEST(JavaRuntimeTest, VersionsCompareAsNumbers) {
  const char* ascending[] = {"", "1.7", "1.8.0_392", "8.0.400", "java-17-openjdk-amd64", "zulu-17.1",
                             "21", "21.0.2+13-LTS", "21.0.10"};
  for (size_t i = 1; i < sizeof ascending / sizeof *ascending; ++i) {
    EXPECT_TRUE(isLaterVersion(parseJavaVersion(ascending[i]), parseJavaVersion(ascending[i - 1])))
        << ascending[i];
    EXPECT_FALSE(isLaterVersion(parseJavaVersion(ascending[i - 1]), parseJavaVersion(ascending[i])))
        << ascending[i];
  }
  EXPECT_FALSE(isLaterVersion(parseJavaVersion("1.8.0"), parseJavaVersion("8")));
}

}  // namespace
}  // namespace test
