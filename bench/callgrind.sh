#!/usr/bin/env bash
# Instructions executed by the launcher's own work, counted by callgrind: from the first
# instruction of the process to the exec of the child, for the typical ten-token launch file (the
# line of bench/pipeline_bench.cpp) over a lib/ of 20 jars. Callgrind loses a process's counts when
# it execs, so no java is found here: the launcher does all its work, its exec fails, and it ends
# with its one-line message (a few thousand instructions more than a successful start). Counts, unlike times, do not depend on
# what else the machine is doing, so a regression shows on any machine.
# Usage: bench/callgrind.sh [path of a native kestrelune]   (default: build/bench-native/bin/kestrelune)
set -euo pipefail
launcher=$(realpath "${1:-$(dirname "$0")/../build/bench-native/bin/kestrelune}")
work=$(mktemp -d /tmp/kestrelune-callgrind.XXXXXX)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/app/lib" "$work/empty-bin"
for i in $(seq -w 0 19); do : >"$work/app/lib/library-$i.jar"; done
cp "$launcher" "$work/app/hello"
printf '%s\n' 'java -Xmx512m -Dapp.home=%@ -Dapp.name=hello -cp %@lib/*.jar:%@classes -Dfile.encoding=UTF-8 %JAVA_OPTS% com.example.Hello %*' \
  >"$work/app/hello.kestrelune"

# A fixed, small environment: the launcher copies and searches it, so its size counts.
env -i PATH="$work/empty-bin" HOME=/nonexistent LANG=C.UTF-8 \
    JAVA_OPTS="-XX:+UseSerialGC -Xss1m" \
  "$(command -v valgrind)" --tool=callgrind --callgrind-out-file="$work/callgrind.out" \
    "$work/app/hello" --name "World Wide" -v 2>"$work/valgrind.log" || true
grep -q "error: cannot run java" "$work/valgrind.log" || { cat "$work/valgrind.log"; exit 1; }
total=$(sed -n 's/^summary: *//p' "$work/callgrind.out")
echo "callgrind: $total instructions (Ir), from the launcher's start to the exec of the child"
callgrind_annotate --inclusive=no "$work/callgrind.out" 2>/dev/null \
  | sed -n '/^Ir/,$p' | sed -n '3,17p' | sed "s|$work|<work>|g"
echo "inclusive, by stage:"
callgrind_annotate --inclusive=yes "$work/callgrind.out" 2>/dev/null \
  | grep -E ':(main|takeProcessFacts|platformActiveCodePage|setlocale|runLauncher|planLaunch|buildLaunchFileCommand|readLaunchFile|expandMacros|commandOf|platformRunCommand)(\(|  |$| \[)' \
  | sed "s|$work|<work>|g; s| \[<work>/app/hello\]||"
