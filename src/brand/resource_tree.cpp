#include "brand/resource_tree.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace {

const uint32_t kHighBit = 0x80000000u;
const size_t kDirectorySize = 16, kEntrySize = 8, kDataEntrySize = 16;

struct Reader {
  ByteView view;
  uint32_t rva;
  std::vector<Resource>& out;
  size_t entriesLeft;  // a tree holds each entry once: more visits mean shared subtrees

  ResourceKey key(uint32_t field) const {
    ResourceKey k;
    if (field & kHighBit) {
      size_t at = field & ~kHighBit;
      uint16_t length = view.u16(at);
      if (length == 0) throw BrandError("resource section has an empty name");
      view.need(at + 2, 2u * length);
      for (size_t i = 0; i < length; ++i) k.text += static_cast<char16_t>(view.u16(at + 2 + 2 * i));
    } else if (field > 0xFFFF) {
      throw BrandError("resource section has an id past 65535");
    } else {
      k.id = static_cast<uint16_t>(field);
    }
    return k;
  }

  // Level 0 holds types, 1 names, 2 languages; the entries of level 2 point at data entries.
  void directory(size_t at, int level, Resource& path) {
    size_t count = size_t(view.u16(at + 12)) + view.u16(at + 14);
    view.need(at, kDirectorySize + kEntrySize * count);
    if (count > entriesLeft) throw BrandError("resource section refers to its entries more than once");
    entriesLeft -= count;
    for (size_t i = 0; i < count; ++i) {
      size_t entry = at + kDirectorySize + kEntrySize * i;
      uint32_t nameField = view.u32(entry), target = view.u32(entry + 4);
      bool isDirectory = (target & kHighBit) != 0;
      if (isDirectory != (level < 2)) throw BrandError("resource section is not a three-level tree");
      if (level == 0) path.type = key(nameField);
      if (level == 1) path.name = key(nameField);
      if (level < 2) {
        directory(target & ~kHighBit, level + 1, path);
        continue;
      }
      if (nameField > 0xFFFF) throw BrandError("resource section has a named language");
      path.language = static_cast<uint16_t>(nameField);
      uint32_t dataRva = view.u32(target), size = view.u32(target + 4);
      path.codePage = view.u32(target + 8);
      if (dataRva < rva || !view.holds(dataRva - rva, size)) throw BrandError("resource data lies outside its section");
      path.data = view.copy(dataRva - rva, size);
      out.push_back(path);
    }
  }
};

// Strings first, in code-unit order, then numbers in ascending order.
bool keyBefore(const ResourceKey& a, const ResourceKey& b) {
  if (a.text.empty() != b.text.empty()) return !a.text.empty();
  return a.text.empty() ? a.id < b.id : a.text < b.text;
}

struct Node {  // one directory of the tree being written
  std::vector<std::pair<ResourceKey, size_t>> entries;  // key, child node or resource index
  bool leaves = false;  // entries name resources, not nodes
  size_t offset = 0;
};

}  // namespace

std::vector<Resource> readResourceSection(const Bytes& section, uint32_t sectionRva) {
  std::vector<Resource> resources;
  Reader reader{ByteView(section.data(), section.size(), "resource section"), sectionRva, resources,
                section.size() / kEntrySize};
  Resource path;
  reader.directory(0, 0, path);
  return resources;
}

Bytes writeResourceSection(std::vector<Resource> resources, uint32_t sectionRva) {
  std::stable_sort(resources.begin(), resources.end(), [](const Resource& a, const Resource& b) {
    if (!(a.type == b.type)) return keyBefore(a.type, b.type);
    if (!(a.name == b.name)) return keyBefore(a.name, b.name);
    return a.language < b.language;
  });
  // Directories in the order met: the root, then each type's directory followed by its names'.
  std::vector<Node> nodes(1);
  size_t typeNode = 0, nameNode = 0;
  for (size_t i = 0; i < resources.size(); ++i) {
    const Resource& r = resources[i];
    bool newType = i == 0 || !(r.type == resources[i - 1].type);
    if (newType) {
      typeNode = nodes.size();
      nodes.push_back(Node{});
      nodes[0].entries.push_back({r.type, typeNode});
    }
    if (newType || !(r.name == resources[i - 1].name)) {
      nameNode = nodes.size();
      nodes.push_back(Node{});
      nodes[nameNode].leaves = true;
      nodes[typeNode].entries.push_back({r.name, nameNode});
    }
    ResourceKey language;
    language.id = r.language;
    nodes[nameNode].entries.push_back({language, i});
  }

  size_t offset = 0;
  for (Node& node : nodes) {
    node.offset = offset;
    offset += kDirectorySize + kEntrySize * node.entries.size();
  }
  size_t dataEntries = offset;
  offset += kDataEntrySize * resources.size();
  // Name strings, each once, written in the order their offsets were handed out.
  std::map<std::u16string, size_t> strings;
  for (const Resource& r : resources) {
    for (const ResourceKey* k : {&r.type, &r.name}) {
      if (!k->text.empty() && strings.emplace(k->text, offset).second) offset += 2 + 2 * k->text.size();
    }
  }

  Bytes out;
  out.reserve(offset + 16 * resources.size());
  for (const Node& node : nodes) {
    uint16_t named = static_cast<uint16_t>(std::count_if(node.entries.begin(), node.entries.end(),
                                                         [](const auto& e) { return !e.first.text.empty(); }));
    putU32(out, 0);  // characteristics
    putU32(out, 0);  // time stamp: none, so that the same input gives the same bytes
    putU32(out, 0);  // version
    putU16(out, named);
    putU16(out, static_cast<uint16_t>(node.entries.size() - named));
    for (const auto& [key, child] : node.entries) {
      putU32(out, key.text.empty() ? key.id : kHighBit | static_cast<uint32_t>(strings[key.text]));
      putU32(out, node.leaves ? static_cast<uint32_t>(dataEntries + kDataEntrySize * child)
                         : kHighBit | static_cast<uint32_t>(nodes[child].offset));
    }
  }
  size_t dataStart = alignUp(offset, 8);
  size_t dataAt = dataStart;
  for (const Resource& r : resources) {
    putU32(out, static_cast<uint32_t>(sectionRva + dataAt));
    putU32(out, static_cast<uint32_t>(r.data.size()));
    putU32(out, r.codePage);
    putU32(out, 0);
    dataAt = alignUp(dataAt + r.data.size(), 8);
  }
  std::vector<std::pair<size_t, const std::u16string*>> byOffset;
  for (const auto& [text, at] : strings) byOffset.push_back({at, &text});
  std::sort(byOffset.begin(), byOffset.end());
  for (const auto& [at, text] : byOffset) {
    putU16(out, static_cast<uint16_t>(text->size()));
    for (char16_t c : *text) putU16(out, c);
  }
  for (const Resource& r : resources) {
    padTo(out, 8);
    out.insert(out.end(), r.data.begin(), r.data.end());
  }
  return out;
}
