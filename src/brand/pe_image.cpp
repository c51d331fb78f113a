#include "brand/pe_image.h"

#include <cstring>

namespace {

const uint16_t kAmd64 = 0x8664, kPe32Plus = 0x20B;
const size_t kSectionHeaderSize = 40;
const size_t kChecksumField = 64, kSizeOfImageField = 56, kInitializedDataField = 8;
const int kCertificateEntry = 4, kResourceEntry = 2, kRelocationEntry = 5;

BrandError layoutError(const std::string& what) { return BrandError("not laid out as a Kestrelune launcher (" + what + ")"); }

size_t directoryAt(const PeLayout& layout, int entry) { return layout.dataDirectoryAt + 8 * size_t(entry); }

std::vector<PeSection> readSections(const ByteView& view, size_t at, size_t count) {
  std::vector<PeSection> sections(count);
  for (size_t i = 0; i < count; ++i, at += kSectionHeaderSize) {
    PeSection& s = sections[i];
    view.need(at, kSectionHeaderSize);
    s.name.assign(reinterpret_cast<const char*>(view.data() + at), strnlen(reinterpret_cast<const char*>(view.data() + at), 8));
    s.headerAt = at;
    s.virtualSize = view.u32(at + 8);
    s.virtualAddress = view.u32(at + 12);
    s.rawSize = view.u32(at + 16);
    s.rawOffset = view.u32(at + 20);
    if (!view.holds(s.rawOffset, s.rawSize)) throw BrandError("section " + s.name + " lies outside the file");
  }
  return sections;
}

// The two sections we move must be the last two, back to back, with nothing after them, and no
// other part of the image may point into them.
void checkTail(const ByteView& view, const PeLayout& layout) {
  if (layout.sections.size() < 2) throw layoutError("fewer than two sections");
  const PeSection& rsrc = layout.resources();
  const PeSection& reloc = layout.relocations();
  if (rsrc.name != ".rsrc" || reloc.name != ".reloc") throw layoutError("does not end with .rsrc and .reloc");
  // The linker leaves .rsrc's raw size unrounded; the next section starts at the rounded end.
  if (alignUp(uint64_t(rsrc.rawOffset) + rsrc.rawSize, layout.fileAlignment) != reloc.rawOffset ||
      uint64_t(reloc.rawOffset) + reloc.rawSize != view.size()) {
    throw layoutError("data after .rsrc or .reloc");
  }
  if (view.u32(directoryAt(layout, kResourceEntry)) != rsrc.virtualAddress ||
      view.u32(directoryAt(layout, kRelocationEntry)) != reloc.virtualAddress ||
      view.u32(directoryAt(layout, kResourceEntry) + 4) > rsrc.virtualSize ||
      view.u32(directoryAt(layout, kRelocationEntry) + 4) > reloc.virtualSize) {
    throw layoutError("resource or relocation table not at its section");
  }
  if (reloc.virtualAddress <= rsrc.virtualAddress || rsrc.rawOffset % layout.fileAlignment != 0) {
    throw layoutError(".rsrc and .reloc out of order");
  }
  // Every other section must lie wholly before them, in the file and in memory: what follows
  // .rsrc's start is rewritten, and anything there would be lost.
  for (size_t i = 0; i + 2 < layout.sections.size(); ++i) {
    const PeSection& s = layout.sections[i];
    if ((s.rawSize != 0 && uint64_t(s.rawOffset) + s.rawSize > rsrc.rawOffset) ||
        uint64_t(s.virtualAddress) + s.virtualSize > rsrc.virtualAddress) {
      throw layoutError("section " + s.name + " after .rsrc");
    }
  }
  for (int entry = 0; entry < 16; ++entry) {
    if (entry == kResourceEntry || entry == kRelocationEntry || entry == kCertificateEntry) continue;
    uint64_t rva = view.u32(directoryAt(layout, entry)), size = view.u32(directoryAt(layout, entry) + 4);
    if (size != 0 && rva + size > rsrc.virtualAddress) throw layoutError("table " + std::to_string(entry) + " after .rsrc");
  }
  // Base relocations name pages of the image; none may lie in what moves.
  for (size_t at = reloc.rawOffset, end = at + view.u32(directoryAt(layout, kRelocationEntry) + 4); at < end;) {
    uint32_t page = view.u32(at), blockSize = view.u32(at + 4);
    if (blockSize < 8) throw layoutError("malformed relocation block");
    if (page >= rsrc.virtualAddress) throw layoutError("relocation inside .rsrc");
    at += blockSize;
  }
}

}  // namespace

PeLayout readPeLayout(const Bytes& file) {
  ByteView view(file.data(), file.size(), "the program");
  if (file.size() < 64 || view.u16(0) != 0x5A4D) throw BrandError("not a Windows program");
  size_t pe = view.u32(60);
  if (!view.holds(pe, 24) || view.u32(pe) != 0x00004550) throw BrandError("not a Windows program");
  if (pe % 8 != 0) throw layoutError("unaligned PE header");
  PeLayout layout;
  layout.optionalHeaderAt = pe + 24;
  uint16_t machine = view.u16(pe + 4), sectionCount = view.u16(pe + 6);
  uint16_t optionalSize = view.u16(pe + 20);
  if (machine != kAmd64 || view.u16(layout.optionalHeaderAt) != kPe32Plus) throw layoutError("not a 64-bit program");
  if (optionalSize < 112 + 16 * 8 || view.u32(layout.optionalHeaderAt + 108) < 16) throw layoutError("short optional header");
  layout.dataDirectoryAt = layout.optionalHeaderAt + 112;
  view.need(layout.dataDirectoryAt, 16 * 8);
  // Checked first: whatever else is wrong, changing a signed file breaks its signature.
  if (view.u32(directoryAt(layout, kCertificateEntry) + 4) != 0) throw BrandError("is signed; brand it before signing");
  if (view.u32(pe + 12) != 0 || view.u32(pe + 16) != 0) throw layoutError("has a symbol table");
  layout.sectionAlignment = view.u32(layout.optionalHeaderAt + 32);
  layout.fileAlignment = view.u32(layout.optionalHeaderAt + 36);
  if (layout.fileAlignment < 512 || (layout.fileAlignment & (layout.fileAlignment - 1)) != 0 ||
      layout.sectionAlignment < layout.fileAlignment || (layout.sectionAlignment & (layout.sectionAlignment - 1)) != 0) {
    throw layoutError("unusual alignment");
  }
  layout.sections = readSections(view, layout.optionalHeaderAt + optionalSize, sectionCount);
  if (layout.sections.size() >= 2 &&
      layout.optionalHeaderAt + optionalSize + kSectionHeaderSize * sectionCount > layout.resources().rawOffset) {
    throw layoutError("section table overlaps .rsrc");
  }
  checkTail(view, layout);
  return layout;
}

Bytes replaceResourceSection(const Bytes& file, const PeLayout& layout, const Bytes& resources) {
  const PeSection& rsrc = layout.resources();
  const PeSection& reloc = layout.relocations();
  uint32_t rawSize = static_cast<uint32_t>(alignUp(resources.size(), layout.fileAlignment));
  uint32_t relocAddress = static_cast<uint32_t>(alignUp(rsrc.virtualAddress + resources.size(), layout.sectionAlignment));
  uint32_t relocOffset = rsrc.rawOffset + rawSize;
  if (uint64_t(relocAddress) + reloc.virtualSize > 0x7FFFFFFF) throw BrandError("the branded program would be too large");

  Bytes out(file.begin(), file.begin() + rsrc.rawOffset);
  out.insert(out.end(), resources.begin(), resources.end());
  out.resize(relocOffset, 0);
  out.insert(out.end(), file.begin() + reloc.rawOffset, file.begin() + reloc.rawOffset + reloc.rawSize);

  setU32(out, rsrc.headerAt + 8, static_cast<uint32_t>(resources.size()));
  setU32(out, rsrc.headerAt + 16, rawSize);
  setU32(out, reloc.headerAt + 12, relocAddress);
  setU32(out, reloc.headerAt + 20, relocOffset);
  setU32(out, directoryAt(layout, kResourceEntry) + 4, static_cast<uint32_t>(resources.size()));
  setU32(out, directoryAt(layout, kRelocationEntry), relocAddress);
  size_t header = layout.optionalHeaderAt;
  setU32(out, header + kSizeOfImageField,
         static_cast<uint32_t>(alignUp(uint64_t(relocAddress) + reloc.virtualSize, layout.sectionAlignment)));
  ByteView view(file.data(), file.size(), "the program");
  setU32(out, header + kInitializedDataField, view.u32(header + kInitializedDataField) - rsrc.rawSize + rawSize);
  setU32(out, header + kChecksumField, peChecksum(out, header + kChecksumField));
  return out;
}

uint32_t peChecksum(const Bytes& file, size_t checksumAt) {
  uint64_t sum = 0;
  for (size_t i = 0; i < file.size(); i += 2) {
    if (i == checksumAt || i == checksumAt + 2) continue;
    uint32_t word = file[i] | (i + 1 < file.size() ? file[i + 1] << 8 : 0);
    sum += word;
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint32_t>(sum + file.size());
}
