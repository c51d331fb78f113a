#include "launcher/class_path_move.h"

#include <utility>

#include "launcher/line_limits.h"
#include "util/argument_split.h"
#include "util/paths.h"
#include "util/text_helpers.h"
#include "util/token_list.h"

namespace {

bool isJava(const CountedString& program) {
  for (const char* name : {"java", "javaw", "java.exe", "javaw.exe"}) {
    if (hasFileName(program, name)) return true;
  }
  return false;
}

// The options of java that take the next argument as their value.
bool takesValue(const CountedString& option) {
  return isClassPathOption(option) ||
         isOneOf(option, {"-p", "--module-path", "--upgrade-module-path", "--add-modules",
                          "--limit-modules", "--add-reads", "--add-exports", "--add-opens",
                          "--patch-module", "--source", "-d", "--describe-module",
                          "--enable-native-access"});
}

const char kClassPathAssignment[] = "--class-path=";

// java sets java.class.path from CLASSPATH first and applies the options after it: the property
// given outright overrides the moved class path, wherever it stands.
bool setsClassPathProperty(const CountedString& option) {
  return option == "-Djava.class.path" || startsWith(option, "-Djava.class.path=");
}

// java expands an @argfile in JDK_JAVA_OPTIONS too, and it may hold a class path.
bool holdsClassPath(const CountedString& javaOptions) {
  for (const CountedString& option : splitLauncherArguments(javaOptions)) {
    if (isClassPathOption(option) || startsWith(option, kClassPathAssignment) ||
        setsClassPathProperty(option) || option.byteAt(0) == '@') {
      return true;
    }
  }
  return false;
}

// What java makes of the pieces: one argument per token without its quotes, where an empty one
// is no argument at all. Anything else (the user's arguments) java could read as anything.
bool argumentOf(const CommandForm& form, size_t i, CountedString* argument) {
  if (form.kind(i) != PieceKind::kToken) return false;
  *argument = withoutQuotes(form.text(i));
  return true;
}

// The options end at the main class or module: the program's own arguments follow.
bool endsOptions(const CountedString& argument) {
  return argument.byteAt(0) != '-' || isOneOf(argument, {"-m", "--module"}) ||
         startsWith(argument, "--module=");
}

void keep(const CommandForm& form, size_t i, CommandForm* kept) {
  kept->add(form.kind(i), form.text(i), form.dataMarks(i));
}

// Walks java's options, keeping every piece but the class-path options and their values; false
// when java would use no class path from the line, or could take one from elsewhere.
bool takeClassPath(const CommandForm& form, size_t options, ClassPathMove* move) {
  size_t i = options;
  for (; i < form.size(); ++i) {
    CountedString argument;
    if (!argumentOf(form, i, &argument)) return false;
    if (argument.byteAt(0) == '@' || argument == "-jar" || setsClassPathProperty(argument)) {
      return false;
    }
    if (!argument.empty() && endsOptions(argument)) break;
    if (startsWith(argument, kClassPathAssignment)) {
      move->value = argument.substring(sizeof kClassPathAssignment - 1, argument.length());
      continue;
    }
    CountedString value;
    if (!takesValue(argument)) {
      keep(form, i, &move->form);
      continue;
    }
    // An empty value is no argument: java would take the one after it.
    if (i + 1 == form.size() || !argumentOf(form, i + 1, &value) || value.empty()) return false;
    if (value.byteAt(0) == '@') return false;  // java reads an @argfile here as well
    if (isClassPathOption(argument)) {  // java uses the last one
      move->value = std::move(value);
    } else {
      keep(form, i, &move->form);
      keep(form, i + 1, &move->form);
    }
    ++i;
  }
  for (; i < form.size(); ++i) keep(form, i, &move->form);
  return !move->value.empty();
}

}  // namespace

bool isClassPathOption(const CountedString& argument) {
  return isOneOf(argument, {"-cp", "-classpath", "--class-path"});
}

bool classPathToMove(const CommandForm& form, int32_t lineLength,
                     const CountedString& jdkJavaOptions, ClassPathMove* move) {
  if (lineLength <= kInterpreterLineLimit || form.size() == 0) return false;
  const ProgramWord program = programWord(form);
  if (!isJava(program.name) || holdsClassPath(jdkJavaOptions)) return false;
  for (size_t i = 0; i <= program.piece; ++i) keep(form, i, &move->form);
  return takeClassPath(form, program.piece + 1, move);
}

CountedString argumentsAmongJavaOptions(const CommandForm& form) {
  CountedString program;
  if (form.size() == 0 || !argumentOf(form, 0, &program) || !isJava(program)) {
    return CountedString();
  }
  bool arguments = false;
  for (size_t i = 1; i < form.size(); ++i) {
    CountedString argument;
    if (!argumentOf(form, i, &argument)) {
      arguments = true;
      continue;
    }
    if (argument.empty()) continue;  // no argument at all
    if (argument == "-jar" || endsOptions(argument)) return arguments ? argument : CountedString();
    if (takesValue(argument)) ++i;
  }
  return CountedString();
}
