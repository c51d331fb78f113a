#include "brand/ico_file.h"

#include <cstring>
#include <string>

namespace {

const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
const size_t kDirectoryEntrySize = 16;

unsigned fullSize(uint8_t stored) { return stored == 0 ? 256 : stored; }

BrandError imageError(size_t index, const std::string& reason) {
  return BrandError("image " + std::to_string(index + 1) + " " + reason);
}

uint32_t bigEndian32(const Bytes& data, size_t at) {
  return uint32_t(data[at]) << 24 | data[at + 1] << 16 | data[at + 2] << 8 | data[at + 3];
}

// A PNG image is stored whole; its header must agree with the directory, since Windows picks the
// image by the directory's size.
void checkPng(IconImage& image, size_t index) {
  const Bytes& d = image.data;
  if (d.size() < 33 || std::memcmp(&d[12], "IHDR", 4) != 0) throw imageError(index, "is a PNG without its header");
  uint32_t width = bigEndian32(d, 16), height = bigEndian32(d, 20);
  if (width != fullSize(image.width) || height != fullSize(image.height)) {
    throw imageError(index, "is " + std::to_string(width) + "x" + std::to_string(height) +
                                " but the directory says " + std::to_string(fullSize(image.width)) + "x" +
                                std::to_string(fullSize(image.height)));
  }
  if (image.bitCount == 0) {
    // Bits per pixel from the colour type's channel count, for an icon group that must say it.
    static const uint8_t channels[] = {1, 0, 3, 1, 2, 0, 4};
    uint8_t type = d[25];
    image.bitCount = static_cast<uint16_t>(d[24] * (type < 7 ? channels[type] : 0));
  }
  if (image.planes == 0) image.planes = 1;
}

// A BMP image: an info header, a palette, the colour bitmap and the mask, each row padded to four
// bytes; the stored height counts both bitmaps.
void checkBitmap(IconImage& image, size_t index) {
  if (image.data.size() < 40) throw imageError(index, "has no bitmap header");
  ByteView view(image.data.data(), image.data.size(), "a bitmap header");
  uint32_t headerSize = view.u32(0);
  if (headerSize < 40 || headerSize > image.data.size()) throw imageError(index, "has no bitmap header");
  int32_t width = static_cast<int32_t>(view.u32(4)), height = static_cast<int32_t>(view.u32(8));
  uint16_t planes = view.u16(12), bits = view.u16(14);
  uint32_t compression = view.u32(16), colorsUsed = view.u32(32);
  if (width != static_cast<int32_t>(fullSize(image.width)) ||
      height != 2 * static_cast<int32_t>(fullSize(image.height))) {
    throw imageError(index, "has a bitmap of " + std::to_string(width) + "x" + std::to_string(height / 2) +
                                " but the directory says " + std::to_string(fullSize(image.width)) + "x" +
                                std::to_string(fullSize(image.height)));
  }
  if (planes != 1 || (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)) {
    throw imageError(index, "has " + std::to_string(bits) + " bits per pixel");
  }
  if (compression != 0 && compression != 3) throw imageError(index, "is a compressed bitmap");
  if (bits <= 8 && colorsUsed > (1u << bits)) throw imageError(index, "has more colours than its bits hold");
  uint64_t palette = bits <= 8 ? uint64_t(colorsUsed ? colorsUsed : 1u << bits) * 4 : 0;
  if (compression == 3 && headerSize == 40) palette += 12;  // the three colour masks
  uint64_t w = static_cast<uint64_t>(width), h = fullSize(image.height);
  uint64_t colour = (w * bits + 31) / 32 * 4 * h, mask = (w + 31) / 32 * 4 * h;
  if (headerSize + palette + colour + mask > image.data.size()) throw imageError(index, "is cut short");
  if (image.bitCount == 0) image.bitCount = bits;
  if (image.planes == 0) image.planes = 1;
}

}  // namespace

std::vector<IconImage> readIconFile(const Bytes& file) {
  ByteView view(file.data(), file.size(), "the icon directory");
  uint16_t reserved = view.u16(0), type = view.u16(2), count = view.u16(4);
  if (reserved != 0 || (type != 1 && type != 2)) throw BrandError("not an icon file");
  if (type == 2) throw BrandError("a cursor, not an icon");
  if (count == 0) throw BrandError("holds no image");
  size_t directoryEnd = 6 + kDirectoryEntrySize * count;
  view.need(0, directoryEnd);

  std::vector<IconImage> images(count);
  for (size_t i = 0; i < count; ++i) {
    size_t entry = 6 + kDirectoryEntrySize * i;
    IconImage& image = images[i];
    image.width = view.u8(entry);
    image.height = view.u8(entry + 1);
    image.colorCount = view.u8(entry + 2);
    image.planes = view.u16(entry + 4);
    image.bitCount = view.u16(entry + 6);
    uint32_t size = view.u32(entry + 8), offset = view.u32(entry + 12);
    if (size == 0) throw imageError(i, "is empty");
    if (offset < directoryEnd || !view.holds(offset, size)) {
      throw imageError(i, "lies outside the file (offset " + std::to_string(offset) + ", " +
                              std::to_string(size) + " bytes, file " + std::to_string(file.size()) + ")");
    }
    image.data = view.copy(offset, size);
    if (size >= 8 && std::memcmp(image.data.data(), kPngSignature, 8) == 0) {
      checkPng(image, i);
    } else {
      checkBitmap(image, i);
    }
  }
  return images;
}
