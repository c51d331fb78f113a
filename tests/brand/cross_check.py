#!/usr/bin/env python3
"""Checks a branded exe against its launcher with readers that share no code with the tool:
Debian's python3-pefile for the PE layout and the version record, icoutils' wrestool for the icons.

Usage: cross_check.py LAUNCHER BRANDED ICON EXPECTED
EXPECTED holds KEY=VALUE lines (version-record strings, Version=a.b.c.d, Icons=N).
Prints what it read; exits non-zero with the reasons when anything differs.
"""
import struct
import subprocess
import sys

import pefile

launcher_path, branded_path, icon_path, expected_path = sys.argv[1:5]
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


expected = dict(line.rstrip("\n").split("=", 1) for line in open(expected_path, encoding="utf-8") if "=" in line)
launcher, branded = pefile.PE(launcher_path), pefile.PE(branded_path)
sections = {s.Name.rstrip(b"\0").decode(): s for s in branded.sections}
original = {s.Name.rstrip(b"\0").decode(): s for s in launcher.sections}

# Every section but the resources byte for byte; the relocations moved to follow the resources.
for name, section in original.items():
    if name != ".rsrc":
        check(section.get_data() == sections[name].get_data(), f"{name} changed")
    if name not in (".rsrc", ".reloc"):
        check(section.VirtualAddress == sections[name].VirtualAddress, f"{name} moved")
rsrc, reloc = sections[".rsrc"], sections[".reloc"]
alignment = branded.OPTIONAL_HEADER.SectionAlignment
want_reloc = (rsrc.VirtualAddress + rsrc.Misc_VirtualSize + alignment - 1) // alignment * alignment
check(reloc.VirtualAddress == want_reloc, f".reloc at {reloc.VirtualAddress:#x}, expected {want_reloc:#x}")
directory = branded.OPTIONAL_HEADER.DATA_DIRECTORY
check(directory[5].VirtualAddress == reloc.VirtualAddress, "relocation directory entry not moved")
check(directory[2].Size == rsrc.Misc_VirtualSize, "resource directory size")
image_end = (reloc.VirtualAddress + reloc.Misc_VirtualSize + alignment - 1) // alignment * alignment
check(branded.OPTIONAL_HEADER.SizeOfImage == image_end, "SizeOfImage")
check(branded.OPTIONAL_HEADER.CheckSum == branded.generate_checksum(), "PE checksum")
check(branded.FILE_HEADER.TimeDateStamp == launcher.FILE_HEADER.TimeDateStamp, "time stamp changed")
print(f"pefile: sections kept, .reloc {original['.reloc'].VirtualAddress:#x} -> {reloc.VirtualAddress:#x}, "
      f"checksum {branded.OPTIONAL_HEADER.CheckSum:#x} verified")

strings = {}
for info in branded.FileInfo[0]:
    for table in getattr(info, "StringTable", []):
        strings.update({k.decode(): v.decode("utf-8") for k, v in table.entries.items()})
fixed = branded.VS_FIXEDFILEINFO[0]
numbers = lambda high, low: f"{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}"
for key, value in expected.items():
    if key == "Version":
        actual = numbers(fixed.FileVersionMS, fixed.FileVersionLS)
        check(actual == value and numbers(fixed.ProductVersionMS, fixed.ProductVersionLS) == value, f"fixed version {actual}")
    elif key != "Icons":
        check(strings.get(key) == value, f"{key} is {strings.get(key)!r}, expected {value!r}")
print("pefile: " + "; ".join(f"{k}={v}" for k, v in sorted(strings.items())))

# The icon: wrestool lists the images and the group, and gives each image back as it was in the .ico.
ico = open(icon_path, "rb").read()
count = struct.unpack_from("<H", ico, 4)[0]
images = []
for i in range(count):
    size, offset = struct.unpack_from("<II", ico, 6 + 16 * i + 8)
    images.append(ico[offset:offset + size])
listing = subprocess.run(["wrestool", "-l", branded_path], capture_output=True, text=True, check=True).stdout
check(listing.count("[type=icon ") == count, f"wrestool lists {listing.count('[type=icon ')} icon images, expected {count}")
check(listing.count("[type=group_icon ") == 1, "wrestool lists no single icon group")
for i, image in enumerate(images, 1):
    raw = subprocess.run(["wrestool", "-x", "--raw", "--type=3", f"--name={i}", branded_path], capture_output=True, check=True).stdout
    check(raw == image, f"icon image {i} differs from the .ico's")
print(f"wrestool: {count} icon images identical to the .ico's, one icon group")

if failures:
    print("FAILED: " + "\nFAILED: ".join(failures))
    sys.exit(1)
