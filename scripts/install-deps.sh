#!/usr/bin/env bash
# Installs what the builds and tests need from Debian's packages, only when something is missing.
# Usage: scripts/install-deps.sh [native|all]   (default: all)
set -euo pipefail

packages=(cmake g++ make libgtest-dev libbenchmark-dev openjdk-17-jdk-headless
          clang libclang-rt-14-dev valgrind)  # fuzzing and the robustness checks
# bench/run.sh: hyperfine, and strace for what jpackage's app launcher runs (valgrind above also
# serves its instruction counts).
packages+=(hyperfine strace)
packages+=(icoutils osslsigncode openssl python3-pefile)  # kestrelune-brand: icons, signing, read-back
if [ "${1:-all}" = all ]; then
  packages+=(googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64 locales)
fi

# Wine takes the ANSI code page from LC_ALL, but it can only name files in a locale that exists.
ensure_locales() {
  local wanted=(ja_JP zh_CN ko_KR zh_TW)
  for name in "${wanted[@]}"; do
    locale -a 2>/dev/null | grep -qx "$name.utf8" || localedef -i "$name" -f UTF-8 "$name.UTF-8" >/dev/null 2>&1 || true
  done
}

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
[ "${1:-all}" = all ] && ensure_locales
exit 0
