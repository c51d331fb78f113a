#!/usr/bin/env bash
# Makes docs/windowed-dialog.png: the dialog that kestrelunew.exe shows when its program fails, as
# a user sees it. The windowed tests run on a desktop of their own (scripts/with-desktop.sh) with
# each dialog held open for a while, the screen is taken meanwhile, and the last dialog (a main
# class that cannot be found) is cut out of it. Wine is told to draw the dialog's title bar
# itself, as there is no window manager to draw it.
# Usage: scripts/dialog-screenshot.sh   (after cmake --build --preset windows)
set -euo pipefail
cd "$(dirname "$0")/.."
tests=build/windows/bin/windowed_tests.exe
out=docs/windowed-dialog.png

if [ "${1:-}" != --on-desktop ]; then
  [ -f "$tests" ] || { echo "dialog-screenshot.sh: build the windows preset first" >&2; exit 1; }
  exec scripts/with-desktop.sh "$0" --on-desktop
fi

wine_paths_only=1
# shellcheck source=wine-env.sh
. scripts/wine-env.sh  # the names for the desktop's own prefix, which with-desktop.sh chose
work=$(mktemp -d /tmp/kestrelune-shot.XXXXXX)
trap 'rm -rf "$work"' EXIT
"$WINE" reg add 'HKCU\Software\Wine\AppDefaults\tool.exe\X11 Driver' /v Managed /d N /f \
  >/dev/null 2>&1
KESTRELUNE_DIALOG_HOLD_MS=2500 scripts/wine-run.sh --gtest "$tests" \
  --gtest_filter='*DialogSpeaks*' >"$work/tests.log" 2>&1 &
tests_pid=$!
shot=0
while kill -0 "$tests_pid" 2>/dev/null; do
  # A screen with a dialog on it crops to the dialog; an empty one is black all over.
  if xwd -root -silent | xwdtopnm 2>/dev/null | pnmcrop -black 2>/dev/null >"$work/crop.pnm" &&
     [ "$(head -c2 "$work/crop.pnm")" = P6 ] && [ "$(sed -n 2p "$work/crop.pnm")" != "1 1" ]; then
    shot=$((shot + 1))
    cp "$work/crop.pnm" "$work/last.pnm"
  fi
  sleep 0.5
done
wait "$tests_pid" || { cat "$work/tests.log" >&2; exit 1; }
[ "$shot" -gt 0 ] || { echo "dialog-screenshot.sh: no dialog was seen" >&2; exit 1; }
pnmtopng -compression 9 "$work/last.pnm" >"$out"
echo "$out: $(sed -n 2p "$work/last.pnm") pixels"
