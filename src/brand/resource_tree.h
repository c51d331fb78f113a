// The resource section of a PE file as a flat list of resources (type, name, language, data),
// read from and written back to the three-level directory tree that Windows searches.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "brand/bytes.h"

/// A type or name: a number, or a string when `text` is not empty.
struct ResourceKey {
  uint16_t id = 0;
  std::u16string text;
  bool operator==(const ResourceKey& o) const { return id == o.id && text == o.text; }
};

struct Resource {
  ResourceKey type;
  ResourceKey name;
  uint16_t language = 0;
  uint32_t codePage = 0;
  Bytes data;
};

enum ResourceType : uint16_t { kIconType = 3, kRawDataType = 10, kIconGroupType = 14, kVersionType = 16 };

/// `section` is the section's bytes, loaded at `sectionRva`; data must lie inside it.
/// Throws BrandError when the tree is malformed.
std::vector<Resource> readResourceSection(const Bytes& section, uint32_t sectionRva);

/// The section's bytes for loading at `sectionRva`, entries sorted as Windows' binary search
/// needs: strings before numbers at each level, each group in ascending order.
Bytes writeResourceSection(std::vector<Resource> resources, uint32_t sectionRva);
