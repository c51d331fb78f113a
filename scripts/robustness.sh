#!/usr/bin/env bash
# The robustness checks of the native build: a short libFuzzer run of every fuzz target, the unit
# and end-to-end tests under AddressSanitizer and UndefinedBehaviorSanitizer, and every launcher
# run of the end-to-end tests under valgrind (a dynamically linked build: valgrind cannot follow
# the heap of a static one).
# Usage: scripts/robustness.sh [seconds per fuzz target]   (default 60, or KESTRELUNE_FUZZ_SECONDS)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds="${1:-${KESTRELUNE_FUZZ_SECONDS:-60}}"
targets=(split_tokens expand_macros path_list command_line pipeline interpreter_escape ico_reader
         pe_reader)

scripts/install-deps.sh native

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]/%/_fuzz}"
cmake --preset asan >/dev/null
cmake --build --preset asan --target unit_tests e2e_tests brand_tests
cmake --preset valgrind >/dev/null
cmake --build --preset valgrind --target e2e_tests

# Fuzzing: each target from the seed corpus plus what earlier runs kept in build/fuzz/corpus.
# Findings are written to build/fuzz/findings (the targets change into a directory of their own).
mkdir -p build/fuzz/findings
for target in "${targets[@]}"; do
  corpus="$root/build/fuzz/corpus/$target"
  log="$root/build/fuzz/$target.log"
  mkdir -p "$corpus"
  if ! build/fuzz/bin/${target}_fuzz -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$root/build/fuzz/findings/$target-" \
      "$corpus" "$root/fuzz/corpus/$target" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz $target: FAILED (input saved in build/fuzz/findings)"
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1)
  echo "fuzz $target: $runs runs, $coverage, no finding"
done

# Sanitizers: any report ends the test program with a failure.
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
build/asan/bin/unit_tests --gtest_brief=1
build/asan/bin/e2e_tests --gtest_brief=1
build/asan/bin/brand_tests --gtest_brief=1
unset ASAN_OPTIONS UBSAN_OPTIONS

# valgrind: every launcher the end-to-end tests start runs under it. The launcher replaces itself
# with java (not traced), so runs that end there are checked up to the exec; those that end in the
# launcher (errors, nothing to run, a program that cannot start) are checked whole, leaks included.
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
export KESTRELUNE_TEST_WRAPPER="$(command -v valgrind) -q --trace-children=no --leak-check=full \
--show-leak-kinds=definite,indirect,possible --errors-for-leak-kinds=definite,indirect,possible \
--log-file=$logs/%p.log"
# Left out, each for its reason:
excluded=(
  # starts the launcher itself rather than through the wrapper, so no run of it is checked here;
  # all it would add is compiling and starting a real JVM
  'RealJava*'
  # valgrind drops variables whose names hold a dot, and this test sets TOOL-1.2_VMOPTIONS
  'DefaultJarTest.RenamedLauncherUsesItsOwnNames'
)
filter=$(IFS=:; echo "-${excluded[*]}")
build/valgrind/bin/e2e_tests --gtest_brief=1 --gtest_filter="$filter"
unset KESTRELUNE_TEST_WRAPPER
# valgrind writes a log for every program it runs, empty unless it found something.
runs=$(find "$logs" -name '*.log' | wc -l)
reports=$(find "$logs" -name '*.log' -size +0 | wc -l)
if [ "$runs" -eq 0 ]; then
  echo "valgrind: FAILED: 0 launcher runs, so nothing was checked"
  exit 1
fi
if [ "$reports" -gt 0 ]; then
  find "$logs" -name '*.log' -size +0 -exec cat {} +
  echo "valgrind: $reports of $runs launcher runs reported errors or leaks"
  exit 1
fi
echo "valgrind: $runs launcher runs, no error, no leak"
