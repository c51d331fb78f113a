// The brand tool's readers and writers on the fixture launcher: what they refuse, and what a
// branded copy keeps, moves and changes.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "brand/branding.h"
#include "brand/ico_file.h"
#include "brand/pe_image.h"
#include "brand/resource_tree.h"
#include "brand/version_record.h"
#include "launcher_fixture.h"

namespace {

using Mutation = std::function<void(Bytes&)>;

std::string refusal(const std::function<void()>& step) {
  try {
    step();
  } catch (const BrandError& error) {
    return error.what();
  }
  return "(accepted)";
}

// A change to a valid input and a part of the reason it must be refused with.
struct Refusal {
  const char* what;
  Mutation change;
  const char* reason;
};

void expectRefusals(const std::vector<Refusal>& cases, const std::function<Bytes()>& make,
                    const std::function<void(const Bytes&)>& read) {
  for (const Refusal& c : cases) {
    Bytes file = make();
    c.change(file);
    std::string reason = refusal([&] { read(file); });
    EXPECT_NE(reason.find(c.reason), std::string::npos) << c.what << ": " << reason;
  }
}

TEST(BrandVersion, OneToFourNumbersEachUpTo65535) {
  struct Case {
    const char* text;
    const char* parsed;  // nullptr: refused
  } cases[] = {
      {"2", "2.0.0.0"},       {"2.1", "2.1.0.0"},      {"2.1.0.7", "2.1.0.7"}, {"65535.0.0.65535", "65535.0.0.65535"},
      {"007.1", "7.1.0.0"},   {"65536", nullptr},      {"1.2.3.4.5", nullptr}, {"", nullptr},
      {"1.", nullptr},        {".1", nullptr},         {"1..2", nullptr},      {"1.x", nullptr},
      {"-1", nullptr},        {"+1", nullptr},         {" 1", nullptr},        {"1 ", nullptr},
      {"4294967297", nullptr}, {"1,2", nullptr},
  };
  for (const Case& c : cases) {
    std::string result;
    try {
      result = versionText(parseVersion(c.text));
    } catch (const BrandError&) {
      result = "(refused)";
    }
    EXPECT_EQ(result, c.parsed ? c.parsed : "(refused)") << "version \"" << c.text << "\"";
  }
}

TEST(BrandIcon, RefusesWhatContradictsItself) {
  // Offsets in the fixture icon: directory 6 + 2 * 16; the BMP at 38 (1128 bytes), the PNG after.
  expectRefusals({
      {"as made", [](Bytes&) {}, "(accepted)"},
      {"empty file", [](Bytes& f) { f.clear(); }, "the icon directory is cut short"},
      {"reserved field set", [](Bytes& f) { f[0] = 1; }, "not an icon file"},
      {"a cursor", [](Bytes& f) { f[2] = 2; }, "a cursor, not an icon"},
      {"unknown type", [](Bytes& f) { f[2] = 7; }, "not an icon file"},
      {"no image", [](Bytes& f) { f[4] = 0; }, "holds no image"},
      {"directory past the end", [](Bytes& f) { f[4] = 200; }, "the icon directory is cut short"},
      {"image past the end", [](Bytes& f) { setU32(f, 6 + 16 + 8, 100000); }, "image 2 lies outside the file"},
      {"offset wraps around", [](Bytes& f) { setU32(f, 6 + 12, 0xFFFFFFF0); }, "image 1 lies outside the file"},
      {"image inside the directory", [](Bytes& f) { setU32(f, 6 + 12, 6); }, "image 1 lies outside the file"},
      {"empty image", [](Bytes& f) { setU32(f, 6 + 8, 0); }, "image 1 is empty"},
      {"bitmap wider than stated", [](Bytes& f) { f[6] = 32; }, "image 1 has a bitmap of 16x16 but the directory says 32x16"},
      {"bitmap height not doubled", [](Bytes& f) { setU32(f, 38 + 8, 16); }, "image 1 has a bitmap of 16x8"},
      {"bitmap cut short", [](Bytes& f) { setU16(f, 38 + 14, 32); setU32(f, 6 + 8, 1000); setU32(f, 6 + 16 + 12, 1038); }, "image 1 is cut short"},
      {"bitmap of 7 bits", [](Bytes& f) { setU16(f, 38 + 14, 7); }, "image 1 has 7 bits per pixel"},
      {"compressed bitmap", [](Bytes& f) { setU32(f, 38 + 16, 1); }, "image 1 is a compressed bitmap"},
      {"palette larger than bits", [](Bytes& f) { setU16(f, 38 + 14, 4); setU32(f, 38 + 32, 17); }, "more colours"},
      {"bitmap header too small", [](Bytes& f) { setU32(f, 38, 12); }, "image 1 has no bitmap header"},
      {"PNG size differs", [](Bytes& f) { f[6 + 16] = 48; f[6 + 17] = 48; }, "image 2 is 256x256 but the directory says 48x48"},
      {"PNG without header", [](Bytes& f) { f[38 + 1128 + 12] = 'X'; }, "image 2 is a PNG without its header"},
  }, fixture::icon, [](const Bytes& file) { readIconFile(file); });
}

// The marker's data entry is the one for 5 bytes ("0.1.0") inside .rsrc.
void moveMarkerData(Bytes& file, uint32_t rva) {
  ByteView view(file.data(), file.size(), "file");
  for (size_t at = fixture::kRsrcAt; at + 8 <= file.size(); at += 4) {
    if (view.u32(at + 4) == markerVersion().size() && view.u32(at) >= 0x2000 && view.u32(at) < 0x3000) {
      setU32(file, at, rva);
      return;
    }
  }
}

TEST(BrandLauncher, RefusesWhatIsNotThisVersionsLauncher) {
  using namespace fixture;
  const size_t rsrcHeader = kSectionsAt + 40, relocHeader = kSectionsAt + 80;
  expectRefusals({
      {"as made", [](Bytes&) {}, "(accepted)"},
      {"empty file", [](Bytes& f) { f.clear(); }, "not a Windows program"},
      {"no MZ", [](Bytes& f) { f[0] = 'Z'; }, "not a Windows program"},
      {"PE header past the end", [](Bytes& f) { setU32(f, 60, 0x7FFFFFF8); }, "not a Windows program"},
      {"no PE signature", [](Bytes& f) { f[kPeAt] = 'X'; }, "not a Windows program"},
      {"signed", [](Bytes& f) { setU32(f, kDirectoriesAt + 4 * 8, static_cast<uint32_t>(f.size())); setU32(f, kDirectoriesAt + 4 * 8 + 4, 8); f.resize(f.size() + 8); },
       "is signed; brand it before signing"},
      {"32-bit", [](Bytes& f) { setU16(f, kPeAt + 4, 0x14C); }, "not a 64-bit program"},
      {"a symbol table", [](Bytes& f) { setU32(f, kPeAt + 12, 0x100); }, "has a symbol table"},
      {"data after .reloc", [](Bytes& f) { f.resize(f.size() + 512, 1); }, "data after .rsrc or .reloc"},
      {".reloc not last", [](Bytes& f) { f[relocHeader + 1] = 'x'; }, "does not end with .rsrc and .reloc"},
      {"resource table elsewhere", [](Bytes& f) { setU32(f, kDirectoriesAt + 2 * 8, 0x1000); }, "resource or relocation table"},
      {"debug table in .rsrc", [](Bytes& f) { setU32(f, kDirectoriesAt + 6 * 8, 0x2000); setU32(f, kDirectoriesAt + 6 * 8 + 4, 28); }, "table 6 after .rsrc"},
      {"relocation in .rsrc", [](Bytes& f) { setU32(f, f.size() - 0x200, 0x2000); }, "relocation inside .rsrc"},
      {"section past the end", [](Bytes& f) { setU32(f, rsrcHeader + 20, 0x100000); }, "section .rsrc lies outside the file"},
      {".text stored after .rsrc", [](Bytes& f) { setU32(f, kSectionsAt + 20, kRsrcAt); }, "section .text after .rsrc"},
      {"cut in half", [](Bytes& f) { f.resize(f.size() / 2); }, "lies outside the file"},
      {"resource tree loops", [](Bytes& f) { setU32(f, kRsrcAt + 16 + 4, 0x80000000); }, "not a three-level tree"},
      {"resource data outside", [](Bytes& f) { moveMarkerData(f, 0x9000); }, "resource data lies outside its section"},
      {"no marker", [](Bytes& f) { for (size_t i = kRsrcAt; i + 2 < f.size(); ++i) if (f[i] == 'K' && f[i + 2] == 'E') f[i] = 'X'; },
       "not a Kestrelune launcher"},
      {"another version", [](Bytes& f) { f = launcher("0.0.9"); }, "a launcher of Kestrelune 0.0.9; this tool brands"},
  }, [] { return launcher(markerVersion().c_str()); }, [](const Bytes& file) { brandLauncher(file, Branding{{}, {}, {}, u"tool.exe"}); });
}

struct Branded {
  Bytes file;
  PeLayout layout;
  std::vector<Resource> resources;
  VersionBlock record;

  explicit Branded(Bytes bytes) : file(std::move(bytes)), layout(readPeLayout(file)) {
    const PeSection& rsrc = layout.resources();
    resources = readResourceSection(Bytes(file.begin() + rsrc.rawOffset, file.begin() + rsrc.rawOffset + rsrc.rawSize),
                                    rsrc.virtualAddress);
    for (const Resource& r : resources) {
      if (r.type.id == kVersionType) record = readVersionRecord(r.data);
    }
  }
  size_t count(uint16_t type) const {
    size_t n = 0;
    for (const Resource& r : resources) n += r.type.id == type && r.type.text.empty();
    return n;
  }
  uint32_t u32(size_t at) const { return ByteView(file.data(), file.size(), "file").u32(at); }
};

TEST(BrandLauncher, CopyKeepsEverythingButResourcesAndMovesRelocations) {
  using namespace fixture;
  Bytes original = launcher(markerVersion().c_str());
  Branding branding;
  branding.icon = readIconFile(icon());
  branding.version = parseVersion("2.1.0.7");
  branding.strings = {{u"FileDescription", u"My Tool \u2713"}, {u"CompanyName", u"Example Ltd"}};
  branding.outputName = u"tool.exe";
  Branded copy(brandLauncher(original, branding));

  // Headers and .text byte for byte, apart from the fields that locate what moved.
  const PeSection& rsrc = copy.layout.resources();
  const PeSection& reloc = copy.layout.relocations();
  Bytes headers(original.begin(), original.begin() + kRsrcAt), copiedHeaders(copy.file.begin(), copy.file.begin() + kRsrcAt);
  for (size_t field : {kOptionalAt + 8, kOptionalAt + 56, kOptionalAt + 64, kDirectoriesAt + 2 * 8 + 4, kDirectoriesAt + 5 * 8,
                       kSectionsAt + 40 + 8, kSectionsAt + 40 + 16, kSectionsAt + 80 + 12, kSectionsAt + 80 + 20}) {
    setU32(headers, field, 0);
    setU32(copiedHeaders, field, 0);
  }
  EXPECT_EQ(headers, copiedHeaders);
  EXPECT_EQ(rsrc.virtualAddress, 0x2000u);
  EXPECT_EQ(reloc.virtualAddress, alignUp(0x2000 + rsrc.virtualSize, 0x1000));
  EXPECT_EQ(reloc.rawOffset, rsrc.rawOffset + alignUp(rsrc.virtualSize, 0x200));
  EXPECT_EQ(Bytes(copy.file.begin() + reloc.rawOffset, copy.file.end()),
            Bytes(original.end() - 0x200, original.end()));
  EXPECT_EQ(copy.u32(kDirectoriesAt + 5 * 8), reloc.virtualAddress);
  EXPECT_EQ(copy.u32(kDirectoriesAt + 2 * 8 + 4), rsrc.virtualSize);
  EXPECT_EQ(copy.u32(kOptionalAt + 56), alignUp(reloc.virtualAddress + 12, 0x1000));
  EXPECT_EQ(copy.u32(kOptionalAt + 64), peChecksum(copy.file, kOptionalAt + 64));
  EXPECT_NE(copy.u32(kOptionalAt + 64), 0u);

  // The record: given fields, names after the output, the rest kept; the marker and manifest kept.
  EXPECT_EQ(versionString(copy.record, u"FileDescription"), u"My Tool \u2713");
  EXPECT_EQ(versionString(copy.record, u"CompanyName"), u"Example Ltd");
  EXPECT_EQ(versionString(copy.record, u"ProductName"), u"Kestrelune");
  EXPECT_EQ(versionString(copy.record, u"FileVersion"), u"2.1.0.7");
  EXPECT_EQ(versionString(copy.record, u"ProductVersion"), u"2.1.0.7");
  EXPECT_EQ(versionString(copy.record, u"OriginalFilename"), u"tool.exe");
  EXPECT_EQ(versionString(copy.record, u"InternalName"), u"tool");
  ByteView fixed(copy.record.value.data(), copy.record.value.size(), "fixed");
  EXPECT_EQ(fixed.u32(8), 0x00020001u);
  EXPECT_EQ(fixed.u32(12), 0x00000007u);
  EXPECT_EQ(fixed.u32(16), 0x00020001u);
  EXPECT_EQ(fixed.u32(20), 0x00000007u);
  EXPECT_EQ(copy.count(kIconType), 2u);
  EXPECT_EQ(copy.count(kIconGroupType), 1u);
  EXPECT_EQ(copy.count(24), 1u);
  EXPECT_EQ(copy.count(kRawDataType), 1u);

  // Branded again: the new icon replaces every old image; fields not given stay as branded.
  Branding again;
  Bytes oneImage = icon();
  setU16(oneImage, 4, 1);
  again.icon = readIconFile(oneImage);
  again.outputName = u"other.exe";
  Branded second(brandLauncher(copy.file, again));
  EXPECT_EQ(second.count(kIconType), 1u);
  EXPECT_EQ(second.count(kIconGroupType), 1u);
  EXPECT_EQ(versionString(second.record, u"CompanyName"), u"Example Ltd");
  EXPECT_EQ(versionString(second.record, u"FileVersion"), u"2.1.0.7");
  EXPECT_EQ(versionString(second.record, u"InternalName"), u"other");
  // Branding is a function of its inputs: the same request gives the same bytes.
  EXPECT_EQ(brandLauncher(original, branding), copy.file);
}

}  // namespace
