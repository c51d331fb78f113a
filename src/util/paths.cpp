#include "util/paths.h"

#include "util/case_rules.h"
#include "util/code_page.h"
#include "util/path_style.h"
#include "util/run_conventions.h"

CountedString launchFilePath(const CountedString& executablePath) {
  if (runConventions().usesWholeNames) return executablePath + kLaunchFileExtension;
  int32_t separator = mbFindLastChar(executablePath.data(),
                                     static_cast<unsigned char>(pathStyle().directorySeparator));
  if (separator >= 0) {
    int32_t dot = mbFindLastChar(executablePath.data() + separator, '.');
    if (dot >= 0) return executablePath.substring(0, separator + dot) + kLaunchFileExtension;
  }
  return executablePath + kLaunchFileExtension;
}

CountedString directoryOf(const CountedString& path) {
  const PathStyle& style = pathStyle();
  int32_t end = mbFindLastChar(path.data(), static_cast<unsigned char>(style.directorySeparator));
  if (end < 0 && style.driveSeparator != 0) {
    end = mbFindLastChar(path.data(), static_cast<unsigned char>(style.driveSeparator));
  }
  return end < 0 ? CountedString() : path.substring(0, end + 1);
}

CountedString baseNameOf(const CountedString& path) {
  int32_t separator =
      mbFindLastChar(path.data(), static_cast<unsigned char>(pathStyle().directorySeparator));
  int32_t start = separator + 1;
  int32_t dot = mbFindLastChar(path.data() + start, '.');
  return path.substring(start, dot < 0 ? path.length() : start + dot);
}

bool hasFileName(const CountedString& path, const char* name) {
  const int32_t slash = mbFindLastChar(path.data(), '\\');
  const int32_t forward = mbFindLastChar(path.data(), '/');
  const int32_t start = (slash > forward ? slash : forward) + 1;
  const CountedString wanted(name);
  return path.length() - start == wanted.length() &&
         mbCompareNoCase(path.data() + start, wanted.data(), wanted.length());
}

TokenList listElements(const CountedString& value, char separator, bool keepEmpty) {
  TokenList elements;
  for (int32_t start = 0; start <= value.length();) {
    int32_t end = value.findChar(separator, start);  // starts on a character: a separator's next
    if (end < 0) end = value.length();
    if (keepEmpty || end > start) elements.append(value.substring(start, end));
    start = end + 1;
  }
  return elements;
}

TokenList searchPathDirectories(const CountedString& value) {
  return listElements(value, pathStyle().listSeparator, false);
}

bool isBareName(const CountedString& name) {
  return name.findChar('\\') < 0 && name.findChar('/') < 0 && name.findChar(':') < 0;
}

bool isDirectorySeparator(unsigned char byte) {
  return byte == '/' || byte == static_cast<unsigned char>(pathStyle().directorySeparator);
}

bool isAbsolute(const CountedString& path) {
  if (pathStyle().driveSeparator == 0) return path.byteAt(0) == '/';
  if (isDirectorySeparator(path.byteAt(0))) return isDirectorySeparator(path.byteAt(1));
  return path.length() > 2 && path.byteAt(1) == ':' && isDirectorySeparator(path.byteAt(2));
}

namespace {

// Whole characters only: a 0x5C that ends a double-byte character is no backslash.
bool endsWith(const CountedString& text, char c) {
  return mbFindLastChar(text.data(), static_cast<unsigned char>(c)) == text.length() - 1;
}

}  // namespace

bool endsWithSeparator(const CountedString& path) {
  return endsWith(path, pathStyle().directorySeparator) || endsWith(path, '/');
}

CountedString joinPath(const CountedString& directory, const CountedString& name) {
  const char separator = pathStyle().directorySeparator;
  if (endsWithSeparator(directory)) return directory + name;
  const char text[2] = {separator, 0};
  return directory + text + name;
}
