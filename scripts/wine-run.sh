#!/usr/bin/env bash
# Runs a Windows program under the project's Wine prefix: the emulator CTest puts in front of every
# Windows test program. It makes nothing ready (scripts/wine-env.sh does that once, before CTest
# runs), so it costs no Wine start beyond the program's own.
# Usage: scripts/wine-run.sh [--make-prefix] [--gtest] PROGRAM [ARGUMENT]...
#
# With --make-prefix it first creates the prefix when it is missing, as a build step that runs a
# Windows program needs on a machine where no test has run yet. It starts no persistent
# wineserver: the one the program starts ends a few seconds after it.
#
# Wine now and then fails to start a program at all (about one start in a thousand under load):
# the program never runs and Wine ends without a word. With --gtest, PROGRAM is a GoogleTest
# program, which always prints its banner first, so one that ends with nothing on its standard
# output never ran: it runs once more, and one line on the standard error stream says so,
#     wine start retried: TEST: ERROR
# Its test then passes or fails on that second run alone. Nothing else is ever retried: a test
# that failed ran, and other programs (the launcher itself) may end silently on purpose.
set -u
wine_paths_only=1
# shellcheck source=wine-env.sh
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

if [ "${1:-}" = --make-prefix ]; then
  shift
  wine_env_make_prefix
fi
if [ "${1:-}" != --gtest ]; then exec "$WINE" "$@"; fi
shift

out=$(mktemp /tmp/kestrelune-wine-run.XXXXXX)
err=$(mktemp /tmp/kestrelune-wine-run.XXXXXX)
trap 'rm -f "$out" "$err"' EXIT

# The standard output passes on as it comes (CTest shows it on a time-out too) and is kept to see
# whether the program ran; the standard error stream follows when the program has ended.
attempt() {
  "$WINE" "$@" 2>"$err" | tee "$out"
  return "${PIPESTATUS[0]}"
}

# The test's name as CTest knows it: the filter of a discovered test, else the program and its
# arguments (the discovery's --gtest_list_tests, or a test of its own such as code_page_932).
test_name() {
  local argument name=${1##*[/\\]}
  shift
  for argument in "$@"; do
    case $argument in --gtest_filter=*) echo "${argument#--gtest_filter=}"; return ;; esac
  done
  echo "$name${*:+ $*}"
}

status=0
attempt "$@" || status=$?
if [ ! -s "$out" ]; then
  said=$(tr -s '\r\n\t' '   ' <"$err" | sed 's/^ *//; s/ *$//' | cut -c1-300)
  echo "wine start retried: $(test_name "$@"): exit status $status, ${said:-no output}" >&2
  status=0
  attempt "$@" || status=$?
fi
cat "$err" >&2
exit "$status"
