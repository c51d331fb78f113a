#!/usr/bin/env bash
# Installs what the builds and tests need from Debian's packages, only when something is missing.
# Usage: scripts/install-deps.sh [native|all]   (default: all)
set -euo pipefail

packages=(cmake g++ make libgtest-dev libbenchmark-dev openjdk-17-jdk-headless)
if [ "${1:-all}" = all ]; then
  packages+=(googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64)
fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
