// The launcher's own error lines (platformReportError in platform.h): on the standard error
// stream, or in the windowed launcher's dialog where it has no usable stream. Only code for
// Windows lives here.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform/error_dialog_win32.h"
#include "platform/platform.h"
#include "platform/standard_handles_win32.h"
#include "platform/wide_text_win32.h"

void platformReportError(const char* line, const char* note) {
  if (!platformIsWindowed() || isUsableHandle(GetStdHandle(STD_ERROR_HANDLE))) {
    std::fflush(stdout);
    std::fputs(line, stderr);
    std::fputc('\n', stderr);
    return;
  }
  // The icon says it is an error.
  const char prefix[] = "error: ";
  if (std::strncmp(line, prefix, sizeof prefix - 1) == 0) line += sizeof prefix - 1;
  wchar_t* text = note == nullptr ? widen(line, -1, CP_ACP)
                                  : widen((line + CountedString("\r\n") + note).data(), -1, CP_ACP);
  showErrorDialog(text);
  delete[] text;
}
