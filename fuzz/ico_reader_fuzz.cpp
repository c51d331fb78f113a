// readIconFile on arbitrary bytes: a refusal or images that lie inside the input and agree with
// their directory entry; never a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "brand/ico_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes file(data, data + size);
  try {
    std::vector<IconImage> images = readIconFile(file);
    if (images.empty()) std::abort();
    for (const IconImage& image : images) {
      // Images may share bytes, but none can hold more than the input.
      if (image.data.empty() || image.data.size() > size || image.planes == 0) std::abort();
    }
  } catch (const BrandError&) {
  }
  return 0;
}
