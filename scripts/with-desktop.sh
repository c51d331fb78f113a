#!/usr/bin/env bash
# Runs a command with a desktop for Windows programs to show their windows on: an X server of its
# own (Xvfb) and a Wine prefix of its own, whose desktop process starts on that server. Wine's
# desktop process stays with the display it started on, so the prefix that the other tests share
# cannot serve. Both end with the command. Without Xvfb the command never runs and this fails.
# Usage: scripts/with-desktop.sh COMMAND [ARGUMENT]...
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if ! command -v Xvfb >/dev/null; then
  echo "with-desktop.sh: no Xvfb (scripts/install-deps.sh installs it)" >&2
  exit 1
fi

export KESTRELUNE_WINEPREFIX="${KESTRELUNE_WINEPREFIX:-$HOME/.cache/kestrelune-wine}-desktop"
wine_paths_only=1
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"

work=$(mktemp -d /tmp/kestrelune-desktop.XXXXXX)
# Xvfb picks a free display itself and names it on descriptor 3 once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 </dev/null &
xvfb=$!
trap 'wine_env_stop; kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  if ! kill -0 "$xvfb" 2>/dev/null; then
    echo "with-desktop.sh: Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
  fi
  sleep 0.1
done
export DISPLAY=":$(head -n1 "$work/display")"
wine_env_setup

status=0
"$@" || status=$?
exit $status
