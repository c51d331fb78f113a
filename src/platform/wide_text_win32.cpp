#include "platform/wide_text_win32.h"

wchar_t* widen(const char* bytes, int count, UINT codePage) {
  int units = count == 0 ? 0 : MultiByteToWideChar(codePage, 0, bytes, count, nullptr, 0);
  wchar_t* text = new wchar_t[units + 1];
  MultiByteToWideChar(codePage, 0, bytes, count, text, units);
  text[count < 0 && units > 0 ? units - 1 : units] = 0;
  return text;
}
