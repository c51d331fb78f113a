// A class path too long for cmd.exe moves to the environment: java reads CLASSPATH when no
// class-path option is given, and a variable holds four times what cmd.exe runs. Here is the
// portable part, which reads java's options as java reads them and decides.
#pragma once

#include <cstdint>

#include "launchfile/command_line.h"
#include "util/counted_string.h"

/// -cp, -classpath and --class-path, which take the next argument as the class path.
bool isClassPathOption(const CountedString& argument);

struct ClassPathMove {
  CountedString value;  // the class path java would use, as it reads it: without quotes
  CommandForm form;     // the form with every class-path option, and its value, left out
};

/// True, with the move, when the line (lineLength characters after /c) is too long for cmd.exe
/// and CLASSPATH would give java the same class path: the program is java or javaw (any folder,
/// any case, with or without .exe), its options hold a class path, and nothing could override
/// the variable (no @argfile or -Djava.class.path among the options or in jdkJavaOptions, no
/// class-path option in jdkJavaOptions). The options end at the main class, -m or --module; a
/// -jar there means java uses no class path. Nothing after the options is ever looked at.
bool classPathToMove(const CommandForm& form, int32_t lineLength,
                     const CountedString& jdkJavaOptions, ClassPathMove* move);

/// Where the user's arguments stand among java's own options, so that one starting with - would
/// be an option of java: the argument that ends those options after them (the main class, -jar,
/// -m or --module). Empty when the program is not java or the arguments come after its options.
CountedString argumentsAmongJavaOptions(const CommandForm& form);
