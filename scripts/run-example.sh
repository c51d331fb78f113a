#!/usr/bin/env bash
# The main job: the greeter example (examples/greeter) started through the native launcher with
# the real JVM, both ways. The build compiles its two jars and lays it out under
# build/native/examples: greeter/bin/greeter reads greeter.kestrelune beside it (launch-file
# mode); greeter-default-jar/bin/greeter has no launch file and runs ../lib/greeter.jar (the
# default jar launch). Each run shows the arguments arriving intact, one with a blank among them,
# and the program's exit status coming back through the launcher.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh native
cmake --preset native >/dev/null
cmake --build --preset native --target greeter-example kestrelune-inspect >/dev/null

examples=build/native/examples

run() {  # run EXPECTED-STATUS COMMAND...: shows the command, its output and its status
  local expected=$1
  shift
  printf '$'; printf ' %q' "$@"; echo
  local status=0
  "$@" || status=$?
  echo "exit status: $status"
  echo
  [ "$status" -eq "$expected" ] || { echo "expected exit status $expected" >&2; exit 1; }
}

echo "== launch-file mode: $examples/greeter/bin/greeter.kestrelune"
cat "$examples/greeter/bin/greeter.kestrelune"
echo
run 3 env GREETER_OPTS="-Dgreeter.greeting=Bonjour -Xmx64m" \
  "$examples/greeter/bin/greeter" "Ada Lovelace" 'x*;y' --exit=3

echo "== what the launcher ran, shown by kestrelune-inspect"
run 0 env GREETER_OPTS="-Dgreeter.greeting=Bonjour -Xmx64m" \
  build/native/bin/kestrelune-inspect "$examples/greeter/bin/greeter" "Ada Lovelace" 'x*;y' --exit=3

echo "== the default jar launch: $examples/greeter-default-jar/lib/greeter.jar"
run 7 env GREETER_VMOPTIONS="-Dgreeter.greeting=Hi" \
  "$examples/greeter-default-jar/bin/greeter" "Grace Hopper" --exit=7
