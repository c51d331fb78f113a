#include "platform/program_failure_win32.h"

#include <cwchar>

#include "platform/error_dialog_win32.h"
#include "platform/output_tail.h"
#include "platform/wide_text_win32.h"
#include "util/class_version_text.h"

namespace {

// About what a dialog shows without becoming a wall of text.
constexpr int32_t kDialogCharacters = 2000;
// How long the pipe may stay open after the interpreter has ended: a process it left running
// may hold it for good.
constexpr DWORD kGraceMs = 200;
// cmd.exe's status for a program it does not know; its message is its own, in the OEM code page.
constexpr int kNotRecognized = 9009;

// Text written by hand, as the messages are: the printf family would bring the C runtime's whole
// formatter. Each returns the end of what it wrote, without a terminating zero.
wchar_t* append(wchar_t* end, const wchar_t* text) {
  while (*text != 0) *end++ = *text++;
  return end;
}

wchar_t* appendNumber(wchar_t* end, int value) {
  unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  if (value < 0) *end++ = L'-';
  wchar_t digits[12];
  int count = 0;
  do {
    digits[count++] = static_cast<wchar_t>(L'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  while (count > 0) *end++ = digits[--count];
  return end;
}

}  // namespace

void reportProgramFailure(InterpreterStreams* streams, int status,
                          const CountedString& programFile) {
  CountedString captured;
  bool cut = false;
  if (status == 0 || !streams->takeCaptured(kGraceMs, &captured, &cut) || captured.empty()) return;
  // Java writes to a stream that is no console in the ANSI code page, like the launcher; cmd.exe
  // writes its own messages in the console's OEM code page, and 9009 is the failure whose words
  // are all cmd's. The lines are cut with the ANSI code page's lead bytes: a double-byte system's
  // OEM code page is the same code page.
  CountedString lines = lastLines(captured, cut, kDialogCharacters);
  UINT codePage = status == kNotRecognized ? CP_OEMCP : CP_ACP;
  wchar_t* output = widen(lines.data(), lines.length(), codePage);
  // Java too old for the classes names class file versions, not releases: a sentence above its
  // words names both releases.
  CountedString tooOld = javaTooOldWords(lines, programFile);
  wchar_t* advice = widen(tooOld.data(), tooOld.length(), CP_ACP);
  wchar_t* name = launcherName();
  wchar_t* text =
      new wchar_t[2 * std::wcslen(name) + std::wcslen(advice) + std::wcslen(output) + 64];
  wchar_t* end = append(append(text, name), L" ended with exit status ");
  end = append(append(appendNumber(end, status), L"."), lines.empty() ? L"" : L"\r\n\r\n");
  if (!tooOld.empty()) end = append(append(append(append(end, name), L" "), advice), L"\r\n\r\n");
  *append(end, output) = 0;
  showErrorDialog(text);
  delete[] text;
  delete[] name;
  delete[] advice;
  delete[] output;
}
