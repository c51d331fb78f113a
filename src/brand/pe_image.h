// The parts of a PE file that branding touches: its resource section, the relocation section
// that follows it, and the header fields that locate them. Everything else is carried over as
// bytes, untouched.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "brand/bytes.h"

struct PeSection {
  std::string name;
  size_t headerAt = 0;  // file offset of its section header
  uint32_t virtualSize = 0, virtualAddress = 0, rawSize = 0, rawOffset = 0;
};

/// Where things are in a launcher as our build lays it out.
struct PeLayout {
  size_t optionalHeaderAt = 0;
  size_t dataDirectoryAt = 0;
  uint32_t fileAlignment = 0, sectionAlignment = 0;
  std::vector<PeSection> sections;
  const PeSection& resources() const { return sections[sections.size() - 2]; }
  const PeSection& relocations() const { return sections.back(); }
};

/// Checks that `file` is a 64-bit PE file ending in a resource section and a relocation section,
/// as the mingw-w64 linker writes the launcher. Throws BrandError with the reason otherwise; for
/// a signed file the reason is "is signed; brand it before signing".
PeLayout readPeLayout(const Bytes& file);

/// The file with its resource section replaced by `resources` (laid out for the same address)
/// and the relocation section moved after it; header sizes and the checksum follow.
Bytes replaceResourceSection(const Bytes& file, const PeLayout& layout, const Bytes& resources);

/// The PE checksum: 16-bit one's-complement sum of the file, its own field counted as zero,
/// plus the file's length.
uint32_t peChecksum(const Bytes& file, size_t checksumAt);
