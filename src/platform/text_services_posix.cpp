// POSIX implementation of the code-page seam (text_services.h). Only code for POSIX systems lives
// here.
#include "platform/text_services.h"

#include <langinfo.h>
#include <locale.h>
#include <strings.h>

namespace {

struct CharsetCodePage {
  const char* name;
  uint32_t codePage;
};

// Locale character sets that stand for a double-byte ANSI code page.
constexpr CharsetCodePage doubleByteCharsets[] = {
    {"SHIFT_JIS", 932}, {"SJIS", 932},   {"CP932", 932},  {"GBK", 936},    {"CP936", 936},
    {"GB2312", 936},    {"EUC-KR", 949}, {"CP949", 949},  {"UHC", 949},    {"BIG5", 950},
    {"BIG5-HKSCS", 950}, {"CP950", 950}, {"JOHAB", 1361},
};

}  // namespace

ActiveCodePage platformActiveCodePage() {
  setlocale(LC_CTYPE, "");
  const char* charset = nl_langinfo(CODESET);
  if (charset == nullptr) return builtinCodePage(0);
  for (const CharsetCodePage& entry : doubleByteCharsets) {
    if (strcasecmp(charset, entry.name) == 0) return builtinCodePage(entry.codePage);
  }
  // UTF-8 and every single-byte set: plain byte scanning, ASCII case rules.
  ActiveCodePage cp = builtinCodePage(0);
  cp.utf8 = strcasecmp(charset, "UTF-8") == 0 || strcasecmp(charset, "UTF8") == 0;
  return cp;
}
