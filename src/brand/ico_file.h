// Reads a .ico file into its images, checking every size, count and offset it states, so that
// what goes into the exe is what Windows will be able to draw.
#pragma once

#include <cstdint>
#include <vector>

#include "brand/bytes.h"

/// One image of an icon, with the directory fields an icon group repeats for it.
struct IconImage {
  uint8_t width = 0;   // 0 means 256
  uint8_t height = 0;  // 0 means 256
  uint8_t colorCount = 0;
  uint16_t planes = 0;
  uint16_t bitCount = 0;
  Bytes data;  // a BMP without its file header, or a whole PNG, as stored in the file
};

/// Throws BrandError with the reason when the file is not an icon or contradicts itself.
std::vector<IconImage> readIconFile(const Bytes& file);
