#include "brand/version_record.h"

namespace {

const uint32_t kFixedSignature = 0xFEEF04BD;
const size_t kFixedSize = 52;
const int kDeepestBlock = 3;  // root, StringFileInfo, a table, a string

size_t aligned4(size_t at) { return (at + 3) & ~size_t(3); }

VersionBlock readBlock(const ByteView& view, size_t at, size_t end, int depth) {
  uint16_t length = view.u16(at), valueLength = view.u16(at + 2);
  VersionBlock block;
  block.type = view.u16(at + 4);
  if (length < 6 || at + length > end || block.type > 1 || depth > kDeepestBlock) {
    throw BrandError("version record is malformed");
  }
  size_t blockEnd = at + length, p = at + 6;
  for (;; p += 2) {
    if (p + 2 > blockEnd) throw BrandError("version record is malformed");
    char16_t c = static_cast<char16_t>(view.u16(p));
    if (c == 0) break;
    block.key += c;
  }
  p = aligned4(p + 2);
  size_t valueSize = block.type == 1 ? 2u * valueLength : valueLength;
  if (valueSize > 0) {
    if (p + valueSize > blockEnd) throw BrandError("version record is malformed");
    block.value = view.copy(p, valueSize);
  }
  for (p = aligned4(p + valueSize); p < blockEnd; p = aligned4(p)) {
    block.children.push_back(readBlock(view, p, blockEnd, depth + 1));
    p += view.u16(p);
  }
  return block;
}

void writeBlock(Bytes& out, const VersionBlock& block) {
  padTo(out, 4);
  size_t start = out.size();
  putU16(out, 0);  // the length, known at the end
  putU16(out, static_cast<uint16_t>(block.type == 1 ? block.value.size() / 2 : block.value.size()));
  putU16(out, block.type);
  for (char16_t c : block.key) putU16(out, c);
  putU16(out, 0);
  padTo(out, 4);
  out.insert(out.end(), block.value.begin(), block.value.end());
  for (const VersionBlock& child : block.children) writeBlock(out, child);
  if (out.size() - start > 0xFFFF) throw BrandError("version record would exceed 65535 bytes");
  setU16(out, start, static_cast<uint16_t>(out.size() - start));
}

Bytes textValue(const std::u16string& text) {
  Bytes value;
  for (char16_t c : text) putU16(value, c);
  putU16(value, 0);
  return value;
}

VersionBlock* firstStringTable(VersionBlock& root) {
  for (VersionBlock& child : root.children) {
    if (child.key == u"StringFileInfo" && !child.children.empty()) return &child.children.front();
  }
  return nullptr;
}

}  // namespace

VersionBlock readVersionRecord(const Bytes& data) {
  ByteView view(data.data(), data.size(), "version record");
  return readBlock(view, 0, data.size(), 0);
}

Bytes writeVersionRecord(const VersionBlock& root) {
  Bytes out;
  writeBlock(out, root);
  return out;
}

void setFixedVersion(VersionBlock& root, const VersionNumbers& v) {
  ByteView fixed(root.value.data(), root.value.size(), "version record");
  if (root.value.size() < kFixedSize || fixed.u32(0) != kFixedSignature) {
    throw BrandError("version record has no fixed part");
  }
  uint32_t high = uint32_t(v[0]) << 16 | v[1], low = uint32_t(v[2]) << 16 | v[3];
  for (size_t at : {8, 16}) {  // file version, then product version
    setU32(root.value, at, high);
    setU32(root.value, at + 4, low);
  }
}

void setVersionString(VersionBlock& root, const std::u16string& key, const std::u16string& value) {
  VersionBlock* table = firstStringTable(root);
  if (table == nullptr) throw BrandError("version record has no string table");
  for (VersionBlock& entry : table->children) {
    if (entry.key == key) {
      entry.type = 1;
      entry.value = textValue(value);
      return;
    }
  }
  table->children.push_back(VersionBlock{key, 1, textValue(value), {}});
}

std::u16string versionString(const VersionBlock& root, const std::u16string& key) {
  VersionBlock* table = firstStringTable(const_cast<VersionBlock&>(root));
  if (table == nullptr) return u"";
  for (const VersionBlock& entry : table->children) {
    if (entry.key != key) continue;
    std::u16string text;
    for (size_t i = 0; i + 1 < entry.value.size(); i += 2) {
      char16_t c = static_cast<char16_t>(entry.value[i] | entry.value[i + 1] << 8);
      if (c == 0) break;
      text += c;
    }
    return text;
  }
  return u"";
}
