#!/usr/bin/env bash
# The Windows tests' emulator (scripts/wine-run.sh) retries exactly what it should: a GoogleTest
# program's start that gave no output, once, saying so in one line; never a program that ran and
# failed, never a program run without --gtest. cmd.exe stands in for the program: it can end
# silently, or print, with the status asked for. Run by CTest in the Windows build.
# Usage: scripts/check-wine-run.sh WINE-RUN WORK-DIRECTORY
set -u
wine_run=$1
work=$2
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failures=0

# check NAME EXPECTED-STATUS EXPECTED-OUTPUT EXPECTED-RETRIES [--gtest] PROGRAM ARGUMENT...
check() {
  local name=$1 want_status=$2 want_out=$3 want_retries=$4 status=0 out retries
  shift 4
  out=$("$wine_run" "$@" 2>err) || status=$?
  out=${out//$'\r'/}
  # Counted without a pipe into grep, whose own status pipefail would not see anyway.
  retries=$(grep -c '^wine start retried: cmd\.exe /c .*: exit status [0-9]*, no output$' err)
  if [ "$status" != "$want_status" ] || [ "$out" != "$want_out" ] || [ "$retries" != "$want_retries" ]; then
    echo "FAILED $name: status $status (want $want_status), output '$out' (want '$want_out')," \
         "$retries retry lines (want $want_retries); its standard error:"
    cat err
    failures=$((failures + 1))
  else
    echo "ok $name"
    sed 's/^/    /' err
  fi
}

silent_then_output='if exist ran-once (echo ran) else (type nul>ran-once & exit /b 3)'
check "a silent start runs once more" 0 ran 1 --gtest cmd.exe /c "$silent_then_output"
rm -f ran-once
check "a second silent start fails the test" 5 "" 1 --gtest cmd.exe /c exit 5
check "a program that printed and failed is not retried" 4 failed 0 \
  --gtest cmd.exe /c 'echo failed& exit /b 4'
check "without --gtest silence is an answer" 3 "" 0 cmd.exe /c "$silent_then_output"
[ "$failures" -eq 0 ]
