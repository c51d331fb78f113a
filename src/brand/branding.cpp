#include "brand/branding.h"

#include <algorithm>

#include "brand/pe_image.h"
#include "brand/resource_tree.h"
#include "brand/utf16.h"

const char16_t kMarkerName[] = u"KESTRELUNE_LAUNCHER";

std::string markerVersion() { return KESTRELUNE_VERSION; }

namespace {

const uint16_t kGroupId = 1;

bool isMarker(const Resource& r) { return r.type.id == kRawDataType && r.name.text == kMarkerName; }

void checkMarker(const std::vector<Resource>& resources) {
  auto marker = std::find_if(resources.begin(), resources.end(), isMarker);
  if (marker == resources.end()) throw BrandError("not a Kestrelune launcher");
  std::string version(marker->data.begin(), marker->data.end());
  if (version != markerVersion()) {
    throw BrandError("a launcher of Kestrelune " + version + "; this tool brands " + markerVersion());
  }
}

Resource& versionResource(std::vector<Resource>& resources) {
  auto found = std::find_if(resources.begin(), resources.end(),
                            [](const Resource& r) { return r.type.id == kVersionType && r.type.text.empty(); });
  if (found == resources.end()) throw BrandError("has no version record");
  return *found;
}

std::u16string withoutExtension(const std::u16string& name) {
  size_t dot = name.rfind(u'.');
  return dot == std::u16string::npos || dot == 0 ? name : name.substr(0, dot);
}

void brandVersion(Resource& resource, const Branding& branding) {
  VersionBlock record = readVersionRecord(resource.data);
  if (branding.version) {
    setFixedVersion(record, *branding.version);
    std::u16string text = utf16FromUtf8(versionText(*branding.version));
    setVersionString(record, u"FileVersion", text);
    setVersionString(record, u"ProductVersion", text);
  }
  for (const auto& [key, value] : branding.strings) setVersionString(record, key, value);
  setVersionString(record, u"OriginalFilename", branding.outputName);
  setVersionString(record, u"InternalName", withoutExtension(branding.outputName));
  resource.data = writeVersionRecord(record);
}

// An icon group (GRPICONDIR): the .ico directory again, with resource ids in place of offsets.
Bytes iconGroup(const std::vector<IconImage>& images) {
  Bytes group;
  putU16(group, 0);
  putU16(group, 1);
  putU16(group, static_cast<uint16_t>(images.size()));
  for (size_t i = 0; i < images.size(); ++i) {
    const IconImage& image = images[i];
    group.insert(group.end(), {image.width, image.height, image.colorCount, 0});
    putU16(group, image.planes);
    putU16(group, image.bitCount);
    putU32(group, static_cast<uint32_t>(image.data.size()));
    putU16(group, static_cast<uint16_t>(i + 1));
  }
  return group;
}

// Every earlier icon goes, so that branding a branded copy leaves no image of the old icon.
void brandIcon(std::vector<Resource>& resources, const std::vector<IconImage>& images, uint16_t language) {
  resources.erase(std::remove_if(resources.begin(), resources.end(),
                                 [](const Resource& r) {
                                   return r.type.text.empty() && (r.type.id == kIconType || r.type.id == kIconGroupType);
                                 }),
                  resources.end());
  for (size_t i = 0; i < images.size(); ++i) {
    resources.push_back(Resource{{kIconType, {}}, {static_cast<uint16_t>(i + 1), {}}, language, 0, images[i].data});
  }
  resources.push_back(Resource{{kIconGroupType, {}}, {kGroupId, {}}, language, 0, iconGroup(images)});
}

}  // namespace

Bytes brandLauncher(const Bytes& launcher, const Branding& branding) {
  PeLayout layout = readPeLayout(launcher);
  const PeSection& rsrc = layout.resources();
  Bytes section(launcher.begin() + rsrc.rawOffset,
                launcher.begin() + rsrc.rawOffset + std::min(rsrc.rawSize, rsrc.virtualSize));
  std::vector<Resource> resources = readResourceSection(section, rsrc.virtualAddress);
  checkMarker(resources);
  Resource& version = versionResource(resources);
  uint16_t language = version.language;
  brandVersion(version, branding);
  if (branding.icon) brandIcon(resources, *branding.icon, language);
  return replaceResourceSection(launcher, layout, writeResourceSection(resources, rsrc.virtualAddress));
}

VersionNumbers parseVersion(const std::string& text) {
  VersionNumbers numbers{};
  size_t count = 0, at = 0;
  auto refuse = [&] { return BrandError("\"" + text + "\" is not a version: 1 to 4 numbers from 0 to 65535, such as 2.1.0.7"); };
  while (true) {
    size_t end = at;
    uint32_t value = 0;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9' && end - at < 6) {
      value = value * 10 + static_cast<uint32_t>(text[end++] - '0');
    }
    if (end == at || value > 0xFFFF || count == 4) throw refuse();
    numbers[count++] = static_cast<uint16_t>(value);
    if (end == text.size()) return numbers;
    if (text[end] != '.') throw refuse();
    at = end + 1;
  }
}

std::string versionText(const VersionNumbers& v) {
  return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + "." + std::to_string(v[3]);
}
