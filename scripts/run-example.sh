#!/usr/bin/env bash
# The main job: a Java application started through the native launcher with the real JVM.
# A copy of the launcher named hello finds ../lib/hello.jar, runs it with the arguments given
# here, and ends with the application's exit status.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh native
cmake --preset native >/dev/null
cmake --build --preset native --target kestrelune >/dev/null

example=build/example
rm -rf "$example"
mkdir -p "$example/classes" "$example/bin" "$example/lib"
javac -d "$example/classes" examples/hello/Hello.java
jar --create --file "$example/lib/hello.jar" --main-class Hello -C "$example/classes" .
cp build/native/bin/kestrelune "$example/bin/hello"

echo "\$ HELLO_VMOPTIONS=-Dgreeting=Hello $example/bin/hello 'Ada Lovelace' 7"
status=0
HELLO_VMOPTIONS=-Dgreeting=Hello "$example/bin/hello" "Ada Lovelace" 7 || status=$?
echo "exit status: $status"
[ "$status" -eq 7 ]
