# Sourced by everything that runs Windows programs: where Wine is, which prefix it uses and how
# quiet it is. This is the one place that names them; the emulator CTest runs the Windows tests
# with (scripts/wine-run.sh) and the benchmarks read them from here.
#
# Sourcing also makes the prefix ready: created quietly (no Mono or Gecko prompts, no network),
# its wineserver started before any test runs so that no long-lived Wine process inherits a test's
# output pipes, and its first program run outside any test. Set wine_paths_only=1 before sourcing
# to get the names alone: the emulator does, because every start costs a Wine start of its own.
# wine_env_make_prefix only creates the prefix when it is missing and leaves nothing running: the
# build calls it (through scripts/wine-run.sh --make-prefix) before it runs a Windows program.
# wine_env_stop ends this prefix's wineserver and everything running in it; scripts call it from
# a trap, so that an interrupted run leaves nothing behind.
# A prefix that cannot be made or cannot run a program stops the script with one line saying so.
export WINEPREFIX="${KESTRELUNE_WINEPREFIX:-$HOME/.cache/kestrelune-wine}"
# Quiet, except for the one message seen when Wine fails a start outright: "err:virtual:
# virtual_alloc_first_teb wine: failed to map the shared user data: c0000018", then status 1.
export WINEDEBUG=-all,err+virtual
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

wine_env_fail() {
  echo "error: Wine prefix $WINEPREFIX: $1" >&2
  exit 1
}

wine_env_make_prefix() {
  if [ -f "$WINEPREFIX/system.reg" ]; then return 0; fi
  # Wine changes into the prefix first, so its folder and every parent must exist.
  mkdir -p "$WINEPREFIX" 2>/dev/null || wine_env_fail "cannot create the folder"
  local status=0
  "$WINE" wineboot -i >/dev/null 2>&1 </dev/null || status=$?
  # wineboot leaves its wineserver behind for a few seconds; the prefix is complete once it ends.
  "$WINESERVER" -w >/dev/null 2>&1 </dev/null
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine_env_fail "cannot be made (wineboot -i ended with status $status and wrote no registry)"
  fi
}

wine_env_setup() {
  wine_env_make_prefix
  local status=0 try
  # Status 2: this prefix's wineserver is already running, which serves as well.
  "$WINESERVER" -p >/dev/null 2>&1 </dev/null || status=$?
  if [ "$status" -ne 0 ] && [ "$status" -ne 2 ]; then
    wine_env_fail "its wineserver cannot be started (status $status)"
  fi
  # The first program starts the prefix's services; let that happen outside any test. A start
  # that Wine fails outright (see scripts/wine-run.sh) is tried once more.
  for try in 1 2; do
    status=0
    "$WINE" cmd.exe /c exit 0 >/dev/null 2>&1 </dev/null || status=$?
    if [ "$status" -eq 0 ]; then return 0; fi
  done
  wine_env_fail "cannot run cmd.exe (status $status)"
}

wine_env_stop() {
  "$WINESERVER" -k >/dev/null 2>&1 </dev/null || true  # none running is fine
}

if [ -z "${wine_paths_only:-}" ]; then wine_env_setup; fi
