#include "launcher/messages.h"

#include "platform/platform.h"
#include "util/byte_buffer.h"
#include "util/paths.h"
#include "util/text_helpers.h"

namespace {

// The escape of a byte below 0x20 or 0x7F: a name for the blanks, else its code in hex.
void appendEscape(unsigned char byte, ByteBuffer* out) {
  const char* const names[] = {"<TAB>", "<LF>", "<VT>", "<FF>", "<CR>"};
  if (byte >= '\t' && byte <= '\r') {
    out->appendString(names[byte - '\t']);
    return;
  }
  const char hex[] = "0123456789ABCDEF";
  const char code[] = {'<', '0', 'x', hex[byte >> 4], hex[byte & 15], '>'};
  out->appendBytes(code, sizeof code);
}

}  // namespace

CountedString visibleName(const CountedString& name) {
  static const char kByteOrderMark[] = "\xEF\xBB\xBF";
  ByteBuffer out;
  int32_t i = 0;
  if (name.find(kByteOrderMark) == 0) {
    out.appendString("<BOM>");
    i = 3;
  }
  for (; i < name.length(); ++i) {
    unsigned char byte = name.byteAt(i);  // no second byte of a double-byte character is below 0x20
    if (byte >= 0x20 && byte != 0x7F) {
      out.appendByte(static_cast<char>(byte));
    } else {
      appendEscape(byte, &out);
    }
  }
  return out.toCountedString();
}

namespace {

CountedString number(int32_t value) { return decimalText(value); }

// A token as inspect shows it, between bars.
CountedString between(const CountedString& text) { return "|" + visibleName(text) + "|"; }

}  // namespace

CountedString cannotOpenMessage(const CountedString& launchFile) {
  return "error: cannot open " + visibleName(launchFile);
}

CountedString jarNotFoundMessage(const CountedString& jarName) {
  return "error: " + visibleName(jarName) + " not found.";
}

CountedString noLaunchFileNote(const CountedString& launchFile) {
  return "No launch file " +
         visibleName(launchFile.substring(directoryOf(launchFile).length(), launchFile.length())) +
         " either.";
}

CountedString cannotRunMessage(const CountedString& program, const CountedString& reason) {
  return "error: cannot run " + visibleName(program) + ": " + reason;
}

CountedString programInCurrentFolderMessage(const CountedString& name, const CountedString& file) {
  return "error: " + visibleName(name) + " would run " + visibleName(file) +
         " from the current folder, and no " + visibleName(name) + " is found along PATH";
}

CountedString startTitleMessage(const CountedString& file) {
  return "error: start would take the program " + visibleName(file) +
         ", enclosed in quotes, for its window title";
}

CountedString unknownProgramMessage(const char* command) {
  return CountedString("error: the launcher cannot tell which program ") + command +
         " starts, so it cannot keep the current folder out of it";
}

CountedString callWithDataMessage(const CountedString& program) {
  return "error: call would read the user's arguments a second time, and " +
         visibleName(program) + " is no .exe or .com that could start without it";
}

CountedString unsetProgramVariableMessage(const CountedString& variable,
                                          const CountedString& word, bool currentDrive) {
  return "error: " + visibleName(variable) + " is not set, so the program " + visibleName(word) +
         " would be taken from the current " + (currentDrive ? "drive" : "folder");
}

CountedString placesText(const TokenList& places) {
  CountedString text;
  for (size_t i = 0; i < places.size(); ++i) text = text + (i > 0 ? ", " : "") + places[i];
  return text;
}

CountedString javaNotFoundMessage(const CountedString& program, const TokenList& places) {
  return "error: " + program + " was not found: " + placesText(places) +
         "; install a Java runtime, or set JAVA_HOME to one";
}

CountedString notAlongPathPlace(int32_t folders) {
  return "not along PATH (" + number(folders) + (folders == 1 ? " folder)" : " folders)");
}

CountedString registryPlace(const char* keepers) {
  return CountedString("none in the registry (") + keepers + ")";
}

CountedString runtimeFoldersPlace(const CountedString& folder, const char* sdkman) {
  return "none in " + visibleName(folder) + " or ~/" + sdkman;
}

CountedString runtimeVariablePlace(const char* variable, const CountedString& value, bool relative,
                                   const CountedString& file) {
  if (value.empty()) return CountedString(variable) + " is not set";
  const CountedString named = CountedString(variable) + " (" + visibleName(value) + ")";
  return named + (relative ? " is no absolute path" : " holds no " + file);
}

CountedString runtimeVariableWarning(const CountedString& place) {
  return "warning: " + place + ", so the launcher takes no java from there";
}

CountedString directStartReason(const char* what, const CountedString& name, const char* why) {
  return CountedString(what) + (*what != 0 ? " " : "") + between(name) + " " + why;
}

CountedString syntaxReason(const CountedString& character, int32_t column) {
  return "the launch file's " + visibleName(character) + " at column " + number(column) +
         " is cmd.exe's syntax";
}

CountedString brokenCharacterMessage(int32_t argument) {
  return "error: argument " + number(argument) +
         " follows a byte that ends no character, which the command interpreter would misread";
}

CountedString launchFileVariableMessage(int32_t argument) {
  return "error: argument " + number(argument) +
         " would be read with a % of the launch file as a variable, which the command interpreter"
         " would expand";
}

CountedString launchFileTextMessage(int32_t argument) {
  return "error: argument " + number(argument) +
         " would change how the command interpreter reads the launch file's text after it";
}

CountedString lineBreakMessage(int32_t argument) {
  return "error: argument " + number(argument) +
         " holds a line break, which the command interpreter cannot pass on";
}

CountedString windowsLauncherMessage(const CountedString& launcher, const CountedString& command) {
  return "error: " + visibleName(launcher) +
         " is a Windows launcher: the kestrelune-inspect.exe of the Linux package inspects it "
         "under Wine: " + visibleName(command);
}

CountedString linuxLauncherMessage(const CountedString& launcher, const CountedString& command) {
  return "error: " + visibleName(launcher) +
         " is a Linux launcher: the native kestrelune-inspect inspects it: " + visibleName(command);
}

CountedString lineTooLongMessage(int32_t characters, int32_t limit) {
  return "error: the command line is " + number(characters) +
         " characters long; Windows accepts at most " + number(limit);
}

CountedString lineTooLongForInterpreterWarning(int32_t characters, int32_t limit) {
  return "warning: the command line is " + number(characters) +
         " characters long; cmd.exe runs at most " + number(limit);
}

CountedString byteOrderMarkWarning(const CountedString& firstToken) {
  return "warning: the launch file starts with a byte-order mark, which is part of its first "
         "token " + between(firstToken);
}

CountedString emptyVariableWarning(const CountedString& variable, const CountedString& token) {
  return "warning: " + visibleName(variable) + " is unset or empty in " + between(token);
}

CountedString unclosedPercentWarning(const CountedString& token) {
  return "warning: a % is never closed in " + between(token);
}

CountedString quotedMacroWarning(const CountedString& token) {
  return "warning: %* and %@ inside double quotes stay as written in " + between(token);
}

CountedString relativeProgramWarning(const CountedString& program) {
  return "warning: the program " + between(program) +
         " is named by a relative path: the user's current folder decides which file runs";
}

CountedString batchProgramWarning(const CountedString& file) {
  return "warning: the program " + between(file) +
         " is a batch file, which reads the user's arguments again: cmd.exe may act on them there";
}

CountedString programNotFoundWarning(const CountedString& program, int32_t pathFolders,
                                     const CountedString& javaHome) {
  CountedString where = pathFolders < 0 ? CountedString()
                                        : "PATH has " + number(pathFolders) +
                                              (pathFolders == 1 ? " folder; " : " folders; ");
  return "warning: the program " + between(program) + " is not found (" + where + "JAVA_HOME is " +
         (javaHome.empty() ? CountedString("unset") : between(javaHome)) + ")";
}

CountedString zeroByteWarning() {
  return "warning: the launch file holds a zero byte, as UTF-16 text does: the launcher reads "
         "nothing after it";
}

CountedString argumentsDroppedWarning() {
  return "warning: the launcher is given arguments, but the launch file has no %*: the program "
         "does not get them";
}

CountedString classPathSplitWarning(const CountedString& classPath, int32_t arguments) {
  return "warning: the class path " + between(classPath) + " became " + number(arguments) +
         " arguments, one per match: java takes only the first as its class path";
}

CountedString optionChangedWarning(const CountedString& option, const CountedString& result) {
  return "warning: a pattern matched in the current folder changed the option " + between(option) +
         " into " + between(result);
}

CountedString argumentsAmongOptionsWarning(const CountedString& optionsEnd) {
  return "warning: %* stands before " + between(optionsEnd) +
         ", among java's own options: an argument that starts with - becomes an option of java";
}

CountedString unmatchedPatternWarning(const CountedString& pattern) {
  return "warning: the pattern " + between(pattern) + " matches nothing";
}

CountedString unrepresentedArgumentWarning(const CountedString& argument, uint32_t codePage) {
  return "warning: code page " + number(static_cast<int32_t>(codePage)) +
         " cannot represent every character of the argument " + between(argument) +
         ": each such character arrives as the code page's default character";
}

void printError(const CountedString& message, const CountedString& note) {
  platformReportError(message.data(), note.empty() ? nullptr : note.data());
}
