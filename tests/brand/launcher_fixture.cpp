#include "launcher_fixture.h"

#include <cstring>
#include <string>

#include "brand/resource_tree.h"
#include "brand/version_record.h"

namespace fixture {
namespace {

Bytes text(const std::u16string& s) {
  Bytes out;
  for (char16_t c : s) putU16(out, c);
  putU16(out, 0);
  return out;
}

Bytes versionRecord() {
  Bytes fixed(52, 0);
  setU32(fixed, 0, 0xFEEF04BD);
  setU32(fixed, 4, 0x10000);
  setU32(fixed, 8, 0x00000001);  // 0.1.0.0
  setU32(fixed, 16, 0x00000001);
  VersionBlock table{u"040904B0", 1, {}, {}};
  for (auto [key, value] : {std::pair<const char16_t*, const char16_t*>{u"CompanyName", u"The Kestrelune developers"},
                            {u"FileDescription", u"Kestrelune launcher for Java applications"},
                            {u"FileVersion", u"0.1.0.0"},
                            {u"InternalName", u"kestrelune"},
                            {u"OriginalFilename", u"kestrelune.exe"},
                            {u"ProductName", u"Kestrelune"}}) {
    table.children.push_back(VersionBlock{key, 1, text(value), {}});
  }
  Bytes translation;
  putU16(translation, 0x409);
  putU16(translation, 1200);
  VersionBlock root{u"VS_VERSION_INFO", 0, fixed, {}};
  root.children.push_back(VersionBlock{u"StringFileInfo", 1, {}, {table}});
  root.children.push_back(VersionBlock{u"VarFileInfo", 1, {}, {VersionBlock{u"Translation", 0, translation, {}}}});
  return writeVersionRecord(root);
}

void sectionHeader(Bytes& file, size_t index, const char* name, uint32_t address, uint32_t size, uint32_t at) {
  size_t h = kSectionsAt + 40 * index;
  std::memcpy(&file[h], name, std::strlen(name));
  setU32(file, h + 8, size);
  setU32(file, h + 12, address);
  setU32(file, h + 16, static_cast<uint32_t>(alignUp(size, 0x200)));
  setU32(file, h + 20, at);
}

}  // namespace

Bytes launcher(const char* markerVersion) {
  std::string marker = markerVersion;
  std::vector<Resource> resources = {
      Resource{{kRawDataType, {}}, {0, u"KESTRELUNE_LAUNCHER"}, 1033, 0, Bytes(marker.begin(), marker.end())},
      Resource{{kVersionType, {}}, {1, {}}, 1033, 0, versionRecord()},
      Resource{{24, {}}, {1, {}}, 1033, 0, Bytes(300, 'm')},
  };
  Bytes rsrc = writeResourceSection(resources, 0x2000);
  uint32_t relocAt = static_cast<uint32_t>(kRsrcAt + alignUp(rsrc.size(), 0x200));
  Bytes file(relocAt + 0x200, 0);
  file[0] = 'M';
  file[1] = 'Z';
  setU32(file, 60, kPeAt);
  setU32(file, kPeAt, 0x4550);
  setU16(file, kPeAt + 4, 0x8664);
  setU16(file, kPeAt + 6, 3);
  setU16(file, kPeAt + 20, 240);
  setU16(file, kOptionalAt, 0x20B);
  setU32(file, kOptionalAt + 32, 0x1000);
  setU32(file, kOptionalAt + 36, 0x200);
  setU32(file, kOptionalAt + 56, 0x4000);
  setU32(file, kOptionalAt + 60, 0x400);
  setU32(file, kOptionalAt + 108, 16);
  setU32(file, kDirectoriesAt + 2 * 8, 0x2000);
  setU32(file, kDirectoriesAt + 2 * 8 + 4, static_cast<uint32_t>(rsrc.size()));
  setU32(file, kDirectoriesAt + 5 * 8, 0x3000);
  setU32(file, kDirectoriesAt + 5 * 8 + 4, 12);
  sectionHeader(file, 0, ".text", 0x1000, 0x200, kTextAt);
  sectionHeader(file, 1, ".rsrc", 0x2000, static_cast<uint32_t>(rsrc.size()), kRsrcAt);
  sectionHeader(file, 2, ".reloc", 0x3000, 12, relocAt);
  for (size_t i = 0; i < 0x200; ++i) file[kTextAt + i] = static_cast<uint8_t>(i * 7 + 1);
  std::copy(rsrc.begin(), rsrc.end(), file.begin() + kRsrcAt);
  setU32(file, relocAt, 0x1000);  // one relocation block for the .text page
  setU32(file, relocAt + 4, 12);
  setU16(file, relocAt + 8, 0xA010);
  return file;
}

Bytes icon() {
  Bytes bmp(1128, 0x40);
  setU32(bmp, 0, 40);
  setU32(bmp, 4, 16);
  setU32(bmp, 8, 32);
  setU16(bmp, 12, 1);
  setU16(bmp, 14, 32);
  setU32(bmp, 16, 0);
  setU32(bmp, 32, 0);
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
               0, 0, 1, 0, 0, 0, 1, 0, 8, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  Bytes file;
  putU16(file, 0);
  putU16(file, 1);
  putU16(file, 2);
  uint32_t at = 6 + 2 * 16;
  for (const Bytes* image : {&bmp, &png}) {
    bool small = image == &bmp;
    file.insert(file.end(), {uint8_t(small ? 16 : 0), uint8_t(small ? 16 : 0), 0, 0});
    putU16(file, 1);
    putU16(file, 32);
    putU32(file, static_cast<uint32_t>(image->size()));
    putU32(file, at);
    at += static_cast<uint32_t>(image->size());
  }
  file.insert(file.end(), bmp.begin(), bmp.end());
  file.insert(file.end(), png.begin(), png.end());
  return file;
}

}  // namespace fixture
