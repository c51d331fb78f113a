#!/usr/bin/env bash
# Builds the programs twice -- from two copies of the sources, into two build directories, all at
# different paths -- and compares their SHA-256 sums: the same sources and toolchain must give
# byte-identical kestrelune.exe, kestrelunew.exe, kestrelune-inspect.exe and kestrelune-brand.exe,
# and the same native programs. Only the programs are built, not the tests.
# Usage: scripts/check-reproducible.sh [windows|native]...   (default: both)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
builds=("${@:-windows native}")
builds=(${builds[*]})

work=$(mktemp -d "$root/build/reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT
# The second copy of the sources lives at a longer path, so that any path left in a binary shows.
copy=$work/elsewhere/a/longer/path/to/the/sources
mkdir -p "$copy"
tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$copy" -xf -

status=0
for build in "${builds[@]}"; do
  options=(-DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON)
  suffix=""
  programs=(kestrelune kestrelune-inspect kestrelune-brand)
  if [ "$build" = windows ]; then
    options+=(-DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64.cmake)
    suffix=.exe
    programs+=(kestrelunew)
  fi
  for side in first second; do
    source_dir=$root
    [ $side = second ] && source_dir=$copy
    (cd "$source_dir" && cmake --no-warn-unused-cli -S . -B "$work/$side-$build" "${options[@]}" >/dev/null)
    cmake --build "$work/$side-$build" -j2 --target "${programs[@]}" >/dev/null
  done
  for program in "${programs[@]}"; do
    first=$(sha256sum <"$work/first-$build/bin/$program$suffix" | cut -d' ' -f1)
    second=$(sha256sum <"$work/second-$build/bin/$program$suffix" | cut -d' ' -f1)
    verdict=identical
    if [ "$first" != "$second" ]; then
      verdict=DIFFERENT
      status=1
    fi
    printf '%-24s %s\n%-24s %s  %s\n' "$program$suffix" "$first" "" "$second" "$verdict"
  done
done
[ $status = 0 ] && echo "reproducible: every program built twice is byte-identical" || echo "NOT reproducible"
exit $status
