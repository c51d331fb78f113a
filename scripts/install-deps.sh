#!/usr/bin/env bash
# Installs what the builds and tests need from Debian's packages, only when something is missing.
# Usage: scripts/install-deps.sh [native|all]   (default: all)
set -euo pipefail

packages=(cmake g++ make libgtest-dev libbenchmark-dev openjdk-17-jdk-headless
          clang libclang-rt-14-dev valgrind)  # fuzzing and the robustness checks
# bench/run.sh: hyperfine, and strace for what jpackage's app launcher runs (valgrind above also
# serves its instruction counts).
packages+=(hyperfine strace)
packages+=(python3)  # the greeter's icon, the brand read-back check
packages+=(icoutils osslsigncode openssl python3-pefile)  # kestrelune-brand: icons, signing, read-back
if [ "${1:-all}" = all ]; then
  # wine64 runs the Windows tests; wine adds the wine command that the README's examples use.
  packages+=(googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64 wine locales)
  # kestrelunew.exe's dialogs under Wine: an X server (scripts/with-desktop.sh), and xwd and
  # netpbm for the documentation's screenshot (scripts/dialog-screenshot.sh).
  packages+=(xvfb x11-apps netpbm)
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

# Wine takes the ANSI code page from LC_ALL, but it can only name files in a locale that exists.
# One that cannot be made stops here, rather than as a puzzling test failure under Wine later.
ensure_locales() {
  local wanted=(ja_JP zh_CN ko_KR zh_TW) present name
  present=$(locale -a 2>/dev/null)
  for name in "${wanted[@]}"; do
    grep -qx "$name.utf8" <<<"$present" && continue
    if ! $sudo localedef -i "$name" -f UTF-8 "$name.UTF-8" >/dev/null 2>&1; then
      echo "error: cannot make the locale $name.UTF-8 (localedef -i $name -f UTF-8 $name.UTF-8 failed)" >&2
      exit 1
    fi
  done
}

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
[ "${1:-all}" = all ] && ensure_locales
exit 0
