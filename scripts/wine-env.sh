# Sourced by everything that runs Windows programs: where Wine is, which prefix it uses and how
# quiet it is. This is the one place that names them; the emulator CTest runs the Windows tests
# with (scripts/wine-run.sh) and the benchmarks read them from here.
#
# Sourcing also makes the prefix ready: created quietly (no Mono or Gecko prompts, no network),
# its wineserver started before any test runs so that no long-lived Wine process inherits a test's
# output pipes, and its first program run outside any test. Set wine_paths_only=1 before sourcing
# to get the names alone: the emulator does, because every start costs a Wine start of its own.
# wine_env_stop ends this prefix's wineserver and everything running in it; scripts call it from
# a trap, so that an interrupted run leaves nothing behind.
export WINEPREFIX="${KESTRELUNE_WINEPREFIX:-$HOME/.cache/kestrelune-wine}"
# Quiet, except for the one message seen when Wine fails a start outright: "err:virtual:
# virtual_alloc_first_teb wine: failed to map the shared user data: c0000018", then status 1.
export WINEDEBUG=-all,err+virtual
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

wine_env_setup() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$WINE" wineboot -i >/dev/null 2>&1 </dev/null || true
    "$WINESERVER" -w
  fi
  "$WINESERVER" -p >/dev/null 2>&1 </dev/null || true  # already running is fine
  # The first program starts the prefix's services; let that happen outside any test.
  "$WINE" cmd.exe /c exit 0 >/dev/null 2>&1 </dev/null || true
}

wine_env_stop() {
  "$WINESERVER" -k >/dev/null 2>&1 </dev/null || true
}

if [ -z "${wine_paths_only:-}" ]; then wine_env_setup; fi
