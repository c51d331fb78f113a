// Branding: the launcher's bytes in, the branded copy's bytes out, with the application's icon
// and version record; the whole operation in memory, so that nothing is written on a refusal.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "brand/bytes.h"
#include "brand/ico_file.h"
#include "brand/version_record.h"

struct Branding {
  std::optional<std::vector<IconImage>> icon;  // replaces every icon of the launcher when given
  std::optional<VersionNumbers> version;       // file and product version
  std::vector<std::pair<std::u16string, std::u16string>> strings;  // version-record key, value
  std::u16string outputName;  // tool.exe: OriginalFilename; InternalName without the extension
};

/// The name and version the build puts in every launcher as a raw-data resource; only launchers
/// holding it with this tool's version are branded.
extern const char16_t kMarkerName[];
std::string markerVersion();

/// Throws BrandError (without a file name) when `launcher` is not this version's launcher.
Bytes brandLauncher(const Bytes& launcher, const Branding& branding);

/// "2.1" -> 2.1.0.0; throws BrandError for anything but 1 to 4 numbers from 0 to 65535.
VersionNumbers parseVersion(const std::string& text);
std::string versionText(const VersionNumbers& version);
