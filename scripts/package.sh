#!/usr/bin/env bash
# Builds both binary packages into build/packages: the Windows build as a ZIP and the native
# (Linux) build as a tar.gz, each holding bin/, docs/, examples/ and README.md.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh all

out=build/packages
mkdir -p "$out"
made=()
# Windows first: the Linux package carries its kestrelune.exe.
for preset in windows native; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  # CPack reports each file it writes as "CPack: - package: PATH generated."
  log=$(cpack --config "build/$preset/CPackConfig.cmake" -B "$out")
  while IFS= read -r path; do made+=("$path"); done \
    < <(sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' <<<"$log")
done
rm -rf "$out/_CPack_Packages"

for path in "${made[@]}"; do
  printf '%s  %s bytes\n' "$path" "$(stat -c %s "$path")"
done
