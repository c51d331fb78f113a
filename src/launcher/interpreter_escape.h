// cmd.exe made transparent to data: the escapes that let bytes from outside the launch file (the
// user's arguments, the install folder, file names) reach the program exactly as the launcher's
// line holds them, with no operator, caret, variable or quote of theirs acting. Portable, so that
// the native tests and the fuzzer reach it; only the Windows build runs an interpreter.
#pragma once

#include <cstdint>

#include "util/counted_string.h"

/// The switches that make cmd.exe read a line the way the escapes expect: no AutoRun commands,
/// /s so that it strips exactly the first and last quote (the pair the launcher adds) whatever
/// the line holds, command extensions on (the % encoding needs them), delayed expansion off (!
/// stays literal).
constexpr const char kInterpreterSwitches[] = "/d /s /e:on /v:off";

/// Why a byte of data cannot be given to cmd.exe.
enum class EscapeRefusal {
  kLineBreak,        // a CR or LF
  kBrokenCharacter,  // an operator right after a lead byte that ends no character
  kVariable,         // it would be part of a %NAME% that a % of the launch file opens
  kLaunchFileText,   // it would change how cmd reads the launch file's text after it
};

/// line as cmd.exe must be given it after /c so that it runs line itself: each data byte (marks
/// holds one byte per byte of line, non-zero for data; empty when nothing is data) made inert.
/// cmd's view is followed character by character, a double quote toggling with no regard to
/// backslashes and a caret of the launch file outside quotes making the next character literal:
/// every % in data becomes %%cd:~,% (it expands to nothing), and outside cmd's quotes a data
/// & | < > ( ) ^ or " gets a ^, unless a caret of the launch file already escapes it. The launch
/// file's own text passes unchanged.
/// Returns -1 when done, else the offset of a data byte that cmd cannot be given, and its reason
/// in *why (when why is not null): a CR or LF; an operator right after a lead byte that ends no
/// character (which a caret would complete); data between a % of the launch file and the next %
/// (its own or the launch file's), which cmd may read as a variable; a data quote that ends cmd's
/// quotes before a ^ or & | < > ( ) of the launch file; half a character of data whose second
/// byte is the launch file's ^ or |.
int32_t escapeForInterpreter(const CountedString& line, const CountedString& marks,
                             CountedString* escaped, EscapeRefusal* why = nullptr);
