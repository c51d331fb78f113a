// The version record (VS_VERSIONINFO): a tree of keyed blocks holding the fixed numbers and the
// string table that Explorer's Properties page and the version API show.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "brand/bytes.h"

struct VersionBlock {
  std::u16string key;
  uint16_t type = 1;  // 1: the value is text (its length counted in characters), 0: binary
  Bytes value;        // as stored: text includes its terminating zero
  std::vector<VersionBlock> children;
};

using VersionNumbers = std::array<uint16_t, 4>;

/// Throws BrandError when the blocks' lengths do not nest.
VersionBlock readVersionRecord(const Bytes& data);
Bytes writeVersionRecord(const VersionBlock& root);

/// Sets both file and product version in the fixed part; throws when there is no fixed part.
void setFixedVersion(VersionBlock& root, const VersionNumbers& version);
/// Sets a value of the first string table, adding the key when it is missing; throws when the
/// record has no string table.
void setVersionString(VersionBlock& root, const std::u16string& key, const std::u16string& value);
/// The value of `key` in the first string table, or an empty string.
std::u16string versionString(const VersionBlock& root, const std::u16string& key);
