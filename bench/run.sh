#!/usr/bin/env bash
# Every benchmark of the launcher in one run (docs/performance.md explains the method):
#   1. the Google Benchmark programs (native), each stage at two sizes a factor of ten apart;
#   2. start-up side by side with hyperfine: natively the child started directly, through the
#      launcher (launch file and default jar launch) and through a POSIX start script, with
#      /bin/true and a real JVM as the child; under Wine the child through cmd /c, through
#      kestrelune.exe and through a .bat start script; each run also starts an empty static
#      program, the floor that any launcher which is a program of its own pays; and the windowed
#      kestrelunew.exe beside kestrelune.exe, started in turn, from a shell and as Explorer does;
#   3. a real JVM from one jlink runtime: started directly, through the launcher, and through the
#      app launcher of the JDK's own packager (jpackage), with what that one runs at each start;
#   4. callgrind's instruction count of the launcher's own work (bench/callgrind.sh);
#   5. the sizes of both launchers;
#   6. kestrelune-brand (native) branding kestrelune.exe with a 100 KB icon (budget 50 ms).
# Usage: bench/run.sh [all|micro|native|wine|jpackage|callgrind|size|brand]...   (default: all)
# The targets and budgets printed beside the figures are information, not verdicts: the figures
# depend on the machine and its load, so nothing here passes or fails on them (the script fails
# only when a benchmark cannot run).
# Results (hyperfine's markdown and JSON, the benchmark output) go to build/bench-results, or to
# $KESTRELUNE_BENCH_RESULTS.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
parts=("${@:-all}")
wants() { [[ " ${parts[*]} " == *" all "* || " ${parts[*]} " == *" $1 "* ]]; }

scripts/install-deps.sh all
results=${KESTRELUNE_BENCH_RESULTS:-$source_dir/build/bench-results}
mkdir -p "$results"

# Release builds of their own, so that the figures never depend on a developer's build dirs.
native_build=$source_dir/build/bench-native
windows_build=$source_dir/build/bench-windows
cmake -S . -B "$native_build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$native_build" -j2 --target kestrelune reader_bench path_list_bench pipeline_bench >/dev/null
if wants brand; then cmake --build "$native_build" -j2 --target kestrelune-brand >/dev/null; fi
if wants wine || wants size || wants brand; then
  cmake -S . -B "$windows_build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64.cmake >/dev/null
  cmake --build "$windows_build" -j2 --target kestrelune kestrelunew >/dev/null
fi

# The Wine runs use a prefix of their own, so that no test suite sharing the usual prefix's
# wineserver disturbs them. Its names come from scripts/wine-env.sh; run_all_wine makes it ready.
export KESTRELUNE_WINEPREFIX=${KESTRELUNE_BENCH_WINEPREFIX:-$HOME/.cache/kestrelune-wine-bench}
# shellcheck source=../scripts/wine-env.sh
wine_paths_only=1 source scripts/wine-env.sh
wine_started=""

work=$(mktemp -d /tmp/kestrelune-bench.XXXXXX)
# However the run ends: no fixtures left, and no wineserver of the bench's prefix.
trap 'rm -rf "$work"; if [ -n "$wine_started" ]; then wine_env_stop; fi' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

{
  echo "date: $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), nproc $(nproc)"
  echo "memory: $(free -h | awk '/^Mem:/ {print $2}')"
  echo "kernel: $(uname -r); $(hyperfine --version); $("$WINE" --version 2>/dev/null || true)"
} | tee "$results/machine.txt"

# ---- fixtures ------------------------------------------------------------------------------------
# Two applications: app-typical/lib holds 20 jars; app-large/lib holds 10,000 entries, 100 jars and
# 9,900 .pom files beside them, so that the wildcard scans a directory of 10,000 names. Not 10,000
# jars: a class path of 10,000 jar paths can be passed neither on Linux (one argument is at most
# 128 KiB) nor through cmd (8,191 characters).
make_fixtures() {
  mkdir -p "$work/classes" "$work/jar" "$work/true-bin"
  cat >"$work/Hello.java" <<'EOF'
public class Hello {
  public static void main(String[] args) {
    System.out.println("Hello, " + String.join(" ", args));
  }
}
EOF
  javac -d "$work/classes" "$work/Hello.java"
  echo "a resource" >"$work/jar/resource.txt"
  jar --create --file "$work/library.jar" -C "$work/jar" resource.txt
  jar --create --file "$work/hello-app.jar" --main-class Hello -C "$work/classes" Hello.class
  ln -s /bin/true "$work/true-bin/java"  # "java" that does nothing, for the launcher's own cost
  printf 'int main(void) { return 0; }\n' >"$work/empty.c"
  gcc -static -O2 -o "$work/empty" "$work/empty.c"
  make_app "$work/app-typical" 20 0
  make_app "$work/app-large" 100 9900
}

# make_app DIR JARS OTHERS: lib/ with JARS jars and OTHERS .pom files; hello with its launch file,
# hello-app for the default jar launch (lib/hello-app.jar), and a start script that does what a
# generated one does.
make_app() {
  local app=$1 jars=$2 others=$3
  mkdir -p "$app/lib"
  cp -r "$work/classes" "$app/classes"
  (
    cd "$app/lib"
    for i in $(seq -w 1 "$jars"); do cp "$work/library.jar" "library-$i.jar"; done
    if [ "$others" -gt 0 ]; then seq -w 1 "$others" | sed 's/.*/library-&.pom/' | xargs touch; fi
  )
  cp "$work/hello-app.jar" "$app/lib/hello-app.jar"
  cp "$native_build/bin/kestrelune" "$app/hello"
  cp "$native_build/bin/kestrelune" "$app/hello-app"
  printf 'java -cp %%@lib/*.jar:classes Hello %%*\n' >"$app/hello.kestrelune"
  cat >"$app/start.sh" <<'EOF'
#!/bin/sh
# Finds its home, builds the class path from every jar in lib/, passes the arguments on.
APP_HOME=$(cd "${0%/*}" && pwd -P)
CLASSPATH=
for jar in "$APP_HOME"/lib/*.jar; do
  CLASSPATH="$CLASSPATH${CLASSPATH:+:}$jar"
done
exec java $JAVA_OPTS -cp "$CLASSPATH:classes" Hello "$@"
EOF
  chmod +x "$app/start.sh"
}

# The class path the launcher builds for APP, spelled out for the direct start (byte order, like it).
native_class_path() {
  local list=() jar
  for jar in "$1"/lib/*.jar; do list+=("$jar"); done
  (IFS=:; echo "${list[*]}:classes")
}

# Prints each command's mean, its ratio to the direct start, and the overheads: the path minus the
# direct start, against the floor and against the start script's overhead.
report() {
  python3 - "$@" <<'EOF'
import json, sys
path, direct, floor, script = sys.argv[1:5]
launchers = sys.argv[5:]
results = {r["command"]: r for r in json.load(open(path))["results"]}
mean = {name: r["mean"] * 1000 for name, r in results.items()}
print(f"{'command':<16}{'mean ms':>10}{'± ms':>8}{'median':>10}{'x direct':>10}")
for name, r in results.items():
    print(f"{name:<16}{mean[name]:>10.3f}{r['stddev'] * 1000:>8.3f}{r['median'] * 1000:>10.3f}"
          f"{mean[name] / mean[direct]:>10.2f}")
script_overhead = mean[script] - mean[direct]
print(f"floor (empty static program): {mean[floor]:.3f} ms; "
      f"{script} overhead: {script_overhead:.3f} ms")
for pair in launchers:
    name, base = pair.split(":")
    overhead = mean[name] - mean[base]
    print(f"{name} overhead over {base}: {overhead:.3f} ms = {overhead / mean[floor]:.2f} x floor "
          f"(information: target <= 1.2), {overhead / script_overhead:.2f} x {script} overhead "
          f"(information: target < 0.5)")
EOF
}

# run_native APP LABEL RUNS WARMUP [java]: one hyperfine run of every way to start the child.
run_native() {
  local app=$1 label=$2 runs=$3 warmup=$4 child=${5:-true} class_path java out
  class_path=$(native_class_path "$app")
  out=$results/native-$label-$child
  cd "$app"
  if [ "$child" = java ]; then
    java=$(command -v java)
    echo "== native, $label, child: $java -cp ... Hello (OpenJDK $(java -version 2>&1 | head -1 | cut -d'"' -f2))"
  else
    java=/bin/true
    echo "== native, $label, child: /bin/true (java in PATH is /bin/true)"
    export PATH="$work/true-bin:$PATH"
  fi
  hyperfine -N --warmup "$warmup" --runs "$runs" --style basic \
    --export-markdown "$out.md" --export-json "$out.json" \
    -n floor "$work/empty" \
    -n direct "$java -cp $class_path Hello a b" \
    -n launch-file "./hello a b" \
    -n direct-jar "$java -jar $app/lib/hello-app.jar a b" \
    -n default-jar "./hello-app a b" \
    -n start-script "./start.sh a b" >"$out.log" 2>&1
  report "$out.json" direct floor start-script launch-file:direct default-jar:direct-jar | tee "$out.txt"
  cd "$source_dir"
}

# minimal_launcher BASE PROGRAM LINE EXE: a program that does nothing but CreateProcess of PROGRAM
# with the command line LINE, wait and exit with its status.
minimal_launcher() {
  local c_program c_line
  # As C strings: every backslash and quote escaped.
  c_program=$(printf '%s' "$2" | sed 's/\\/\\\\/g; s/"/\\"/g')
  c_line=$(printf '%s' "$3" | sed 's/\\/\\\\/g; s/"/\\"/g')
  {
    echo '#include <windows.h>'
    echo 'int main(void) {'
    echo "  static char line[] = \"$c_line\";"
    echo '  STARTUPINFOA startup = {sizeof startup};'
    echo '  PROCESS_INFORMATION process;'
    echo '  DWORD code = 1;'
    echo "  if (!CreateProcessA(\"$c_program\", line, NULL, NULL, TRUE, 0, NULL, NULL, &startup,"
    echo '                      &process)) return 2;'
    echo '  WaitForSingleObject(process.hProcess, INFINITE);'
    echo '  GetExitCodeProcess(process.hProcess, &code);'
    echo '  return (int)code;'
    echo '}'
  } >"$1.c"
  x86_64-w64-mingw32-gcc -static -O2 -s -o "$4" "$1.c"
}

# run_wine APP LABEL: the child is the empty console exe named java.exe (no Windows JDK here), in
# a folder of its own along Wine's PATH (a java.exe in the current folder is one the launcher never
# runs). The interpreter is named by its full path, as the launcher names it (COMSPEC): given a
# bare "cmd", wine64 spends some 30 ms finding it. minimal.exe is the least that a launcher which
# is a program of its own can do: CreateProcess of java.exe with the finished line, wait, exit;
# minimal-cmd.exe does the same with the interpreter. Each launcher runs its launch file both
# ways: directly (hello.exe, hellow.exe), and through cmd.exe (helloc.exe, hellowc.exe), whose
# launch file starts with an @, cmd.exe's own syntax that changes nothing else.
run_wine() {
  local native_app=$1 label=$2 app=$work/wine-$2 wine=$WINE dir class_path out
  local cmd='C:\windows\system32\cmd.exe'
  out=$results/wine-$label
  mkdir -p "$app"
  ln -s "$native_app/lib" "$app/lib"
  ln -s "$native_app/classes" "$app/classes"
  mkdir -p "$app/jdk"
  cp "$work/empty.exe" "$app/jdk/java.exe"
  cp "$windows_build/bin/kestrelune.exe" "$app/hello.exe"
  printf 'java -cp %%@lib\\*.jar;classes Hello %%*\r\n' >"$app/hello.kestrelune"
  # The windowed launcher with the same launch file: hyperfine's /dev/null is a usable stream for
  # it (the NUL device), so it passes its handles on as a script's caller would give them.
  cp "$windows_build/bin/kestrelunew.exe" "$app/hellow.exe"
  cp "$app/hello.kestrelune" "$app/hellow.kestrelune"
  cp "$app/hello.exe" "$app/helloc.exe"
  cp "$app/hellow.exe" "$app/hellowc.exe"
  printf '@java -cp %%@lib\\*.jar;classes Hello %%*\r\n' >"$app/helloc.kestrelune"
  cp "$app/helloc.kestrelune" "$app/hellowc.kestrelune"
  cat >"$app/hello.bat" <<'EOF'
@echo off
rem Finds its home, builds the class path from every jar in lib\, passes the arguments on.
setlocal enabledelayedexpansion
set APP_HOME=%~dp0
set CLASSPATH=
rem Unquoted: Wine's cmd expands no wildcard in quotes (the fixture's path has no blank).
for %%j in (%APP_HOME%lib\*.jar) do set CLASSPATH=!CLASSPATH!%%j;
java %JAVA_OPTS% -cp "!CLASSPATH!classes" Hello %*
EOF
  sed -i 's/$/\r/' "$app/hello.bat"
  dir=$("$wine" winepath -w "$app" 2>/dev/null | tr -d '\r')
  export WINEPATH="$dir\\jdk"
  class_path=$(cd "$app/lib" && ls -1 -- *.jar | LC_ALL=C sort | sed "s|^|$dir\\\\lib\\\\|" | paste -sd';')
  local line="java -cp $class_path;classes Hello a b"
  minimal_launcher "$work/minimal-$label" "$dir\\jdk\\java.exe" "$line" "$app/minimal.exe"
  minimal_launcher "$work/minimal-cmd-$label" "$cmd" "$cmd /c \"$line\"" "$app/minimal-cmd.exe"
  # As Explorer starts a program: from a GUI process without a console. Started so, the console
  # launcher gets a console host of its own, and the windowed one's interpreter gets one (without a
  # window); started by wine64 from a shell without a terminal, the console launcher gets none.
  {
    echo '#include <string.h>'
    echo '#include <windows.h>'
    echo 'int main(int argc, char** argv) {'
    echo '  STARTUPINFOA startup = {sizeof startup};'
    echo '  PROCESS_INFORMATION process;'
    echo '  DWORD code = 1;'
    echo '  char* line = argc < 2 ? NULL : strstr(GetCommandLineA(), argv[1]);  /* the rest of its line */'
    echo '  if (line == NULL || !CreateProcessA(NULL, line, NULL, NULL, FALSE, 0, NULL, NULL, &startup,'
    echo '                                      &process)) return 2;'
    echo '  WaitForSingleObject(process.hProcess, INFINITE);'
    echo '  GetExitCodeProcess(process.hProcess, &code);'
    echo '  return (int)code;'
    echo '}'
  } >"$work/explorer.c"
  x86_64-w64-mingw32-gcc -static -O2 -s -mwindows -o "$app/explorer.exe" "$work/explorer.c"
  cd "$app"
  echo "== Wine, $label, child: java.exe = the empty console exe"
  hyperfine_under_wine "$out" -N --warmup 10 --runs 100 --style basic \
    --export-markdown "$out.md" --export-json "$out.json" \
    -n floor "$wine $work/empty.exe" \
    -n direct "$wine '$cmd' /c java -cp '$class_path;classes' Hello a b" \
    -n minimal-launcher "$wine minimal.exe" \
    -n minimal-cmd "$wine minimal-cmd.exe" \
    -n launch-file "$wine hello.exe a b" \
    -n launch-file-cmd "$wine helloc.exe a b" \
    -n windowed "$wine hellow.exe a b" \
    -n windowed-cmd "$wine hellowc.exe a b" \
    -n start-script "$wine '$cmd' /c hello.bat a b"
  report "$out.json" direct floor start-script minimal-launcher:direct minimal-cmd:direct \
    launch-file:minimal-launcher launch-file-cmd:minimal-cmd windowed:minimal-launcher \
    windowed-cmd:minimal-cmd | tee "$out.txt"
  echo "== Wine, $label: the windowed launcher beside the console one, started alternately"
  compare_alternately "$out-windowed" 60 "$wine hello.exe a b" "$wine hellow.exe a b" \
    | tee "$out-windowed.txt"
  echo "== Wine, $label: both started as Explorer starts them"
  compare_alternately "$out-explorer" 60 "$wine explorer.exe hello.exe a b" \
    "$wine explorer.exe hellow.exe a b" | tee "$out-explorer.txt"
  cd "$source_dir"
}

# compare_alternately OUT ROUNDS CONSOLE-COMMAND WINDOWED-COMMAND: the two commands run in turn,
# ROUNDS times each (words split at blanks), so that a change in the machine's load falls on both
# alike, which hyperfine's one-command-after-the-other cannot promise for a difference this small.
# Prints each one's median and the median of the paired differences with its standard error.
compare_alternately() {
  local out=$1 rounds=$2 console=$3 windowed=$4 i command start end
  for ((i = 0; i < rounds; i++)); do
    for command in "$console" "$windowed"; do
      start=$(date +%s%N)
      $command >/dev/null 2>&1 </dev/null || true
      end=$(date +%s%N)
      echo "$((end - start))"
    done
  done >"$out.times"
  python3 - "$out.times" <<'EOF'
import statistics, sys
times = [int(line) / 1e6 for line in open(sys.argv[1])]
console, windowed = times[0::2][3:], times[1::2][3:]  # the first rounds warm the caches
differences = [w - c for c, w in zip(console, windowed)]
error = statistics.stdev(differences) / len(differences) ** 0.5
print(f"console median {statistics.median(console):.1f} ms, windowed median "
      f"{statistics.median(windowed):.1f} ms; windowed minus console, paired: median "
      f"{statistics.median(differences):.1f} ms, mean {statistics.mean(differences):.1f} "
      f"± {error:.1f} ms (standard error)")
EOF
}

# hyperfine_under_wine OUT HYPERFINE-ARGUMENT...: hyperfine gives up on the whole comparison when
# one start fails, and Wine now and then fails a start outright (about one in a thousand under
# load: the program never runs, and Wine ends with status 1 and, quietened, without a word). Such a
# comparison runs once more, and says so; a second failure ends the benchmark.
hyperfine_under_wine() {
  local out=$1
  shift
  if hyperfine "$@" >"$out.log" 2>&1; then return 0; fi
  echo "hyperfine stopped at $(grep '^Benchmark [0-9]*:' "$out.log" | tail -1 | cut -d: -f2- | sed 's/^ *//'):" \
       "$(grep -m1 -i 'error' "$out.log" | sed 's/^ *//'); this comparison runs once more"
  mv "$out.log" "$out.first.log"
  hyperfine "$@" >"$out.log" 2>&1 || { cat "$out.log"; return 1; }
}

run_all_wine() {
  wine_started=yes
  wine_env_setup
  printf 'int main(void) { return 0; }\n' >"$work/empty-win.c"
  x86_64-w64-mingw32-gcc -static -O2 -s -o "$work/empty.exe" "$work/empty-win.c"
  run_wine "$work/app-typical" typical
  run_wine "$work/app-large" large
}

# run_jpackage: a real JVM from one jlink runtime (java.base only), three ways: directly, through
# the launcher and a launch file, and through the app launcher of the JDK's own packager, which
# loads the JVM into its own process. The launcher sits beside jpackage's in the app image's bin/
# and runs the image's runtime and jar, so all three start the very same files. "queries" repeats
# what jpackage's launcher runs before the JVM (seen with strace, printed below), to show where
# its time goes.
run_jpackage() {
  local jdk image out=$results/jpackage
  jdk=$(dirname "$(readlink -f "$(command -v javac)")")
  "$jdk/jlink" --add-modules java.base --strip-debug --no-header-files --no-man-pages \
    --output "$work/runtime"
  mkdir -p "$work/jpackage-input"
  cp "$work/hello-app.jar" "$work/jpackage-input/"
  "$jdk/jpackage" --type app-image --name hello --input "$work/jpackage-input" \
    --main-jar hello-app.jar --main-class Hello --runtime-image "$work/runtime" --dest "$work/jpackage"
  image=$work/jpackage/hello
  cp "$native_build/bin/kestrelune" "$image/bin/hello-kestrelune"
  printf '%%@../lib/runtime/bin/java -cp %%@../lib/app/hello-app.jar Hello %%*\n' \
    >"$image/bin/hello-kestrelune.kestrelune"
  {
    echo 'for i in 1 2; do'
    echo "  sh -c \"rpm --queryformat '%{NAME}' -qf '$image/bin/hello' 2>/dev/null\""
    echo "  sh -c \"dpkg -S '$image/bin/hello' 2>/dev/null\""
    echo 'done >/dev/null'
    echo 'exit 0'
  } >"$work/queries.sh"
  echo "== native, a real JVM: Hello from one jlink runtime (java.base only), $("$jdk/java" -version 2>&1 | head -1)"
  if command -v strace >/dev/null; then
    echo "programs that jpackage's app launcher runs before the JVM, at every start (strace):"
    strace -f -qq -s 300 -e trace=execve -o "$work/jpackage.trace" "$image/bin/hello" a b >/dev/null
    grep -v "execve(\"$image/bin/hello\"" "$work/jpackage.trace" | grep '= 0$' \
      | sed 's/^[0-9]* *execve("[^"]*", \[\(.*\)\], 0x.*/\1/; s/", "/ /g; s/^"//; s/"$//' \
      | sed "s|$work|<work>|g; s/^/    /"
  fi
  hyperfine -N --warmup 3 --runs 40 --style basic \
    --export-markdown "$out.md" --export-json "$out.json" \
    -n direct "$image/lib/runtime/bin/java -cp $image/lib/app/hello-app.jar Hello a b" \
    -n launch-file "$image/bin/hello-kestrelune a b" \
    -n jpackage "$image/bin/hello a b" \
    -n queries "sh $work/queries.sh" >"$out.log" 2>&1
  python3 - "$out.json" <<'EOF' | tee "$out.txt"
import json, sys
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
mean = {name: r["mean"] * 1000 for name, r in results.items()}
print(f"{'command':<14}{'mean ms':>10}{'± ms':>8}{'median':>10}{'x direct':>10}{'overhead ms':>13}")
for name, r in results.items():
    print(f"{name:<14}{mean[name]:>10.1f}{r['stddev'] * 1000:>8.1f}{r['median'] * 1000:>10.1f}"
          f"{mean[name] / mean['direct']:>10.2f}{mean[name] - mean['direct']:>13.1f}")
print(f"jpackage / launch-file: {mean['jpackage'] / mean['launch-file']:.2f}; jpackage minus "
      f"launch-file: {mean['jpackage'] - mean['launch-file']:.1f} ms, of which the queries "
      f"{mean['queries']:.1f} ms")
EOF
}

run_micro() {
  local bench
  for bench in reader_bench path_list_bench pipeline_bench; do
    "$native_build/bin/$bench" --benchmark_min_time=1 --benchmark_out_format=json \
      --benchmark_out="$results/$bench.json" 2>/dev/null
  done | tee "$results/micro.txt"
  python3 - "$results" <<'EOF'
import json, sys, collections
rows = collections.OrderedDict()
for name in ("reader_bench", "path_list_bench", "pipeline_bench"):
    for b in json.load(open(f"{sys.argv[1]}/{name}.json"))["benchmarks"]:
        family, size = b["name"].rsplit("/", 1)
        rows.setdefault(family, []).append((int(size), b["cpu_time"]))
print("tenfold input -> time ratio (linear: 10; information: target <= 11)")
for family, runs in rows.items():
    (small, t_small), (large, t_large) = sorted(runs)
    print(f"  {family:<22} {small:>7} -> {large:<8} x{t_large / t_small:.1f}")
EOF
}

run_size() {
  local stripped=$work/stripped
  mkdir -p "$stripped"
  local exe
  for exe in kestrelune.exe kestrelunew.exe; do
    x86_64-w64-mingw32-strip -o "$stripped/$exe" "$windows_build/bin/$exe"
    echo "$exe stripped: $(stat -c %s "$stripped/$exe") bytes (information: budget 81920);" \
         "imports: $(x86_64-w64-mingw32-objdump -p "$stripped/$exe" | sed -n 's/.*DLL Name: //p' | paste -sd' ')"
  done
  strip -o "$stripped/kestrelune" "$native_build/bin/kestrelune"
  echo "kestrelune (native, static) stripped: $(stat -c %s "$stripped/kestrelune") bytes"
}

# A 100 KB icon: five uncompressed images (16 to 128 pixels) and a 256-pixel PNG.
run_brand() {
  local sizes=(16 32 48 64 128 256) pngs=() size
  python3 examples/greeter/draw_icon.py "$work/big" "${sizes[@]}"
  for size in "${sizes[@]}"; do
    [ "$size" = 256 ] && pngs+=(-r)
    pngs+=("$work/big-$size.png")
  done
  icotool -c -o "$work/big.ico" "${pngs[@]}"
  echo "== kestrelune-brand (native): kestrelune.exe with a $(stat -c %s "$work/big.ico")-byte icon (information: budget 50 ms)"
  hyperfine -N --warmup 5 --runs 100 --style basic --export-json "$results/brand.json" \
    -n brand "$native_build/bin/kestrelune-brand --icon $work/big.ico --description Tool --product Tool --version 2.1.0.7 $windows_build/bin/kestrelune.exe $work/tool.exe" \
    >"$results/brand.log" 2>&1
  python3 - "$results/brand.json" <<'EOF'
import json, sys
r = json.load(open(sys.argv[1]))["results"][0]
print(f"mean {r['mean'] * 1000:.2f} ms, median {r['median'] * 1000:.2f} ms, max {r['max'] * 1000:.2f} ms")
EOF
}

make_fixtures
if wants micro; then run_micro; fi
if wants native; then
  (run_native "$work/app-typical" typical 300 50)
  (run_native "$work/app-large" large 300 50)
  (run_native "$work/app-large" large 30 3 java)
fi
if wants jpackage; then run_jpackage; fi
if wants wine; then run_all_wine; fi
if wants callgrind; then bench/callgrind.sh "$native_build/bin/kestrelune" | tee "$results/callgrind.txt"; fi
if wants size; then run_size | tee "$results/size.txt"; fi
if wants brand; then run_brand | tee "$results/brand.txt"; fi
