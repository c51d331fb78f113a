// What a Java runtime's folder tells without starting it: whether a recorded folder can be
// trusted, the program it holds, and the version its release file records.
#pragma once

#include <cstdint>

#include "util/counted_string.h"

/// A runtime folder as recorded (an environment variable, a registry value), checked: without its
/// quotes and one trailing separator. Empty when it is empty, relative or drive-relative (".",
/// "jdk", "\\x", "C:x"), which would make the user's current folder or drive decide.
CountedString usableRuntimeHome(const CountedString& recorded);

/// Where a runtime holds the program: bin\<program>.exe on Windows, bin/<program> elsewhere.
CountedString programInRuntime(const CountedString& program);
/// The program's file in the runtime at home: bin\<program>.exe on Windows, bin/<program>
/// elsewhere; empty when home holds no regular file of that name.
CountedString runtimeProgram(const CountedString& home, const CountedString& program);

/// The runtime at home whose program is file: the folder above its bin folder.
CountedString runtimeHomeOf(const CountedString& file);

/// What the runtime's release file says of its version, for showing: JAVA_RUNTIME_VERSION, else
/// JAVA_VERSION; empty without either. Only the file's first few kilobytes are read.
CountedString releaseVersion(const CountedString& home);
/// The release file's JAVA_VERSION, the one to compare; empty without it.
CountedString releaseJavaVersion(const CountedString& home);

/// A version as numbers, to compare: "1.8.0_392" reads as 8.0.392, "21.0.2+13" as 21.0.2.13,
/// "java-17-openjdk-amd64" as 17. Missing numbers count as 0; a text with no digits as none.
struct JavaVersion {
  static constexpr int kParts = 4;
  uint32_t parts[kParts] = {};
  bool known = false;
};
JavaVersion parseJavaVersion(const CountedString& text);
/// True when a is a later version than b; an unknown version is earlier than any known one.
bool isLaterVersion(const JavaVersion& a, const JavaVersion& b);
