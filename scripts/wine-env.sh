# Sourced by the scripts that run Windows programs: a project-owned Wine prefix, created quietly
# (no Mono or Gecko prompts, no network), and a wineserver started before any test runs so that
# no long-lived Wine process inherits a test's output pipes.
export WINEPREFIX="${KESTRELUNE_WINEPREFIX:-$HOME/.cache/kestrelune-wine}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "$WINE" wineboot -i >/dev/null 2>&1 </dev/null || true
  "$WINESERVER" -w
fi
"$WINESERVER" -p >/dev/null 2>&1 </dev/null || true  # already running is fine
# The first program starts the prefix's services; let that happen outside any test.
"$WINE" cmd.exe /c exit 0 >/dev/null 2>&1 </dev/null || true
