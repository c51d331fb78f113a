// brandLauncher on arbitrary bytes (the PE layout, resource tree and version record readers): a
// refusal, or a branded copy that reads back as a launcher and brands again to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "brand/branding.h"
#include "brand/pe_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Branding branding;
  branding.outputName = u"tool.exe";
  branding.version = VersionNumbers{2, 1, 0, 7};
  branding.strings = {{u"FileDescription", u"Fuzzed"}};
  IconImage image;
  image.width = image.height = 1;
  image.planes = 1;
  image.bitCount = 32;
  image.data = Bytes(48, 1);
  branding.icon = std::vector<IconImage>{image};
  Bytes branded;
  try {
    branded = brandLauncher(Bytes(data, data + size), branding);
  } catch (const BrandError&) {
    return 0;
  }
  try {
    if (brandLauncher(branded, branding) != branded) std::abort();
  } catch (const BrandError&) {
    std::abort();  // what the tool wrote, it must take again
  }
  return 0;
}
