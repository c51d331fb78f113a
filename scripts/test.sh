#!/usr/bin/env bash
# Builds both launchers and runs every test of both: natively, and the Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh all

cmake --preset native >/dev/null
cmake --build --preset native
cmake --preset windows >/dev/null
cmake --build --preset windows

# The Wine prefix is made ready here, once, and its wineserver ends with the run however the run
# ends (an interrupt included), so that nothing of it stays behind. It runs before the native
# tests too: the docs test runs the README's Wine commands, and a wineserver that one of them
# started would hold the output of whichever test ran beside it.
wine_paths_only=1 source scripts/wine-env.sh
trap wine_env_stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
wine_env_setup

ctest --preset native -j2
scripts/check-reproducible.sh  # the programs built twice at other paths: byte-identical
scripts/robustness.sh  # fuzzing, sanitizers and valgrind on the native build

# No test runs twice because it failed. Only a start that Wine failed outright runs once more,
# in the emulator (scripts/wine-run.sh) or the test harness, each with one line
# "wine start retried: TEST: ERROR"; CTest shows a passing test's output nowhere, so they are
# repeated here from its log.
status=0
ctest --preset windows -j2 || status=$?
grep -h '^wine start retried: ' build/windows/Testing/Temporary/LastTest.log || true
exit $status
