// Which launcher this is, read from the running image's own PE header (platformIsWindowed in
// platform.h). Only code for Windows lives here.
#include <windows.h>

#include "platform/platform.h"

bool platformIsWindowed() {
  // The image's own header: a renamed copy of the windowed launcher is still the windowed one.
  const char* image = reinterpret_cast<const char*>(GetModuleHandleA(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
  const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dos->e_lfanew);
  return headers->OptionalHeader.Subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI;
}
