// A small PE file laid out like the launcher the build makes (.text, .rsrc holding the marker, a
// version record and a manifest, then .reloc), so that the native tests can brand without the
// Windows build; the Windows build's tests brand the real launcher as well.
#pragma once

#include <cstddef>

#include "brand/bytes.h"

namespace fixture {

const size_t kPeAt = 0x80, kOptionalAt = kPeAt + 24, kDirectoriesAt = kOptionalAt + 112;
const size_t kSectionsAt = kOptionalAt + 240, kTextAt = 0x400, kRsrcAt = 0x600;

Bytes launcher(const char* markerVersion);
/// An .ico with one 16x16 image of 32 bits per pixel (1128 bytes of BMP) and one 256x256 PNG.
Bytes icon();

}  // namespace fixture
