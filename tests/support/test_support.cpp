#include "support/test_support.h"

#include <stdexcept>

namespace test {

std::string join(const std::string& directory, const std::string& name) {
  return directory + separator() + name;
}

std::string styled(std::string text) {
  if (onWindows()) return text;
  for (char& c : text) {
    if (c == '\\') c = '/';
    if (c == ';') c = ':';
  }
  return text;
}

ChildRecord readChildRecord(const std::string& path) {
  ChildRecord record;
  std::string bytes;
  try {
    bytes = readFile(path);
  } catch (const std::runtime_error&) {
    return record;
  }
  // The raw line, then each argument, every one ended by a zero byte.
  size_t end = bytes.find('\0');
  if (end == std::string::npos) return record;
  record.present = true;
  record.raw = bytes.substr(0, end);
  for (size_t start = end + 1; start < bytes.size(); start = end + 1) {
    end = bytes.find('\0', start);
    if (end == std::string::npos) end = bytes.size();
    record.arguments.push_back(bytes.substr(start, end - start));
  }
  return record;
}

std::string installChild(const std::string& directory, const std::string& name) {
  std::string target = join(directory, name);
  copyExecutable(builtProgram("record_child"), target);
  return target;
}

CountedString counted(const std::string& bytes) {
  return CountedString(bytes.data(), static_cast<int32_t>(bytes.size()));
}

std::string toString(const CountedString& text) { return std::string(text.data(), text.length()); }

std::vector<std::string> toStrings(const TokenList& tokens) {
  std::vector<std::string> result;
  for (const CountedString& token : tokens) result.push_back(toString(token));
  return result;
}

void setStyles(const Styles& styles) {
  setPathStyle(styles.path);
  setRunConventions(styles.run);
}

ScopedTextSettings::ScopedTextSettings(const ActiveCodePage& codePage, const Styles& styles)
    : savedCodePage_(activeCodePage()), savedStyles_{pathStyle(), runConventions()} {
  setActiveCodePage(codePage);
  setStyles(styles);
}

ScopedTextSettings::~ScopedTextSettings() {
  setActiveCodePage(savedCodePage_);
  setStyles(savedStyles_);
}

}  // namespace test
