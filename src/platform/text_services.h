// The seam to the platform's code-page services: what the ANSI code page is, and its case
// mapping and comparison. Implemented in text_services_win32.cpp and text_services_posix.cpp;
// returns values only.
#pragma once

#include <cstdint>

#include "util/code_page.h"

/// The ANSI code page with its lead bytes and case map, as the platform describes it, with the
/// platform's case services for double-byte characters where it has them (Windows).
ActiveCodePage platformActiveCodePage();
