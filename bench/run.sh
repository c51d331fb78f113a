#!/usr/bin/env bash
# Every benchmark of the launcher in one run (docs/performance.md explains the method):
#   1. the Google Benchmark programs (native), each stage at two sizes a factor of ten apart;
#   2. start-up side by side with hyperfine: natively the child started directly, through the
#      launcher (launch file and default jar launch) and through a POSIX start script, with
#      /bin/true and a real JVM as the child; under Wine the child through cmd /c, through
#      kestrelune.exe and through a .bat start script; each run also starts an empty static
#      program, the floor that any launcher which is a program of its own pays;
#   3. callgrind's instruction count of the launcher's own work (bench/callgrind.sh);
#   4. the sizes of both launchers;
#   5. kestrelune-brand (native) branding kestrelune.exe with a 100 KB icon (budget 50 ms).
# Usage: bench/run.sh [all|micro|native|wine|callgrind|size|brand]...   (default: all)
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
  cmake --build "$windows_build" -j2 --target kestrelune >/dev/null
fi

work=$(mktemp -d /tmp/kestrelune-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

{
  echo "date: $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), nproc $(nproc)"
  echo "memory: $(free -h | awk '/^Mem:/ {print $2}')"
  echo "kernel: $(uname -r); $(hyperfine --version); $(/usr/lib/wine/wine64 --version 2>/dev/null || true)"
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
          f"(target <= 1.2), {overhead / script_overhead:.2f} x {script} overhead (target < 0.5)")
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

# run_wine APP LABEL: the child is the empty console exe named java.exe (no Windows JDK here). The
# interpreter is named by its full path, as the launcher names it (COMSPEC): given a bare "cmd",
# wine64 spends some 30 ms finding it. minimal.exe is the least that a launcher which is a program
# of its own can do: CreateProcess of that interpreter with the finished line, wait, exit.
run_wine() {
  local native_app=$1 label=$2 app=$work/wine-$2 wine=/usr/lib/wine/wine64 dir class_path out
  local cmd='C:\windows\system32\cmd.exe'
  out=$results/wine-$label
  mkdir -p "$app"
  ln -s "$native_app/lib" "$app/lib"
  ln -s "$native_app/classes" "$app/classes"
  cp "$work/empty.exe" "$app/java.exe"
  cp "$windows_build/bin/kestrelune.exe" "$app/hello.exe"
  printf 'java -cp %%@lib\\*.jar;classes Hello %%*\r\n' >"$app/hello.kestrelune"
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
  class_path=$(cd "$app/lib" && ls -1 -- *.jar | LC_ALL=C sort | sed "s|^|$dir\\\\lib\\\\|" | paste -sd';')
  # The same line as the launcher's, as a C string: every backslash doubled.
  local c_line
  c_line=$(printf '%s /c "java -cp %s;classes Hello a b"' "$cmd" "$class_path" | sed 's/\\/\\\\/g; s/"/\\"/g')
  {
    echo '#include <windows.h>'
    echo 'int main(void) {'
    echo "  static char line[] = \"$c_line\";"
    echo '  STARTUPINFOA startup = {sizeof startup};'
    echo '  PROCESS_INFORMATION process;'
    echo '  DWORD code = 1;'
    echo '  if (!CreateProcessA("C:\\windows\\system32\\cmd.exe", line, NULL, NULL, TRUE, 0, NULL, NULL,'
    echo '                      &startup, &process)) return 2;'
    echo '  WaitForSingleObject(process.hProcess, INFINITE);'
    echo '  GetExitCodeProcess(process.hProcess, &code);'
    echo '  return (int)code;'
    echo '}'
  } >"$work/minimal-$label.c"
  x86_64-w64-mingw32-gcc -static -O2 -s -o "$app/minimal.exe" "$work/minimal-$label.c"
  cd "$app"
  echo "== Wine, $label, child: java.exe = the empty console exe"
  hyperfine -N --warmup 10 --runs 100 --style basic \
    --export-markdown "$out.md" --export-json "$out.json" \
    -n floor "$wine $work/empty.exe" \
    -n direct "$wine '$cmd' /c java -cp '$class_path;classes' Hello a b" \
    -n minimal-launcher "$wine minimal.exe" \
    -n launch-file "$wine hello.exe a b" \
    -n start-script "$wine '$cmd' /c hello.bat a b" >"$out.log" 2>&1
  report "$out.json" direct floor start-script minimal-launcher:direct launch-file:direct \
    launch-file:minimal-launcher | tee "$out.txt"
  cd "$source_dir"
}

run_all_wine() {
  # A prefix of its own, so that no test suite sharing the usual prefix's wineserver disturbs it.
  export KESTRELUNE_WINEPREFIX=${KESTRELUNE_BENCH_WINEPREFIX:-$HOME/.cache/kestrelune-wine-bench}
  # shellcheck source=../scripts/wine-env.sh
  source scripts/wine-env.sh || true  # its wineserver -p fails when the server is already running
  printf 'int main(void) { return 0; }\n' >"$work/empty-win.c"
  x86_64-w64-mingw32-gcc -static -O2 -s -o "$work/empty.exe" "$work/empty-win.c"
  run_wine "$work/app-typical" typical
  run_wine "$work/app-large" large
  "$WINESERVER" -k >/dev/null 2>&1 || true
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
print("tenfold input -> time ratio (linear: 10, target <= 11)")
for family, runs in rows.items():
    (small, t_small), (large, t_large) = sorted(runs)
    print(f"  {family:<22} {small:>7} -> {large:<8} x{t_large / t_small:.1f}")
EOF
}

run_size() {
  local stripped=$work/stripped
  mkdir -p "$stripped"
  x86_64-w64-mingw32-strip -o "$stripped/kestrelune.exe" "$windows_build/bin/kestrelune.exe"
  strip -o "$stripped/kestrelune" "$native_build/bin/kestrelune"
  echo "kestrelune.exe stripped: $(stat -c %s "$stripped/kestrelune.exe") bytes (budget 81920);" \
       "imports: $(x86_64-w64-mingw32-objdump -p "$stripped/kestrelune.exe" | sed -n 's/.*DLL Name: //p' | paste -sd' ')"
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
  echo "== kestrelune-brand (native): kestrelune.exe with a $(stat -c %s "$work/big.ico")-byte icon (budget 50 ms)"
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
if wants wine; then run_all_wine; fi
if wants callgrind; then bench/callgrind.sh "$native_build/bin/kestrelune" | tee "$results/callgrind.txt"; fi
if wants size; then run_size | tee "$results/size.txt"; fi
if wants brand; then run_brand | tee "$results/brand.txt"; fi
