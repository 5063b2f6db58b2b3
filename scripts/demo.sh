#!/usr/bin/env bash
# Installs what is missing, builds the host, the stand-in library and the
# console, and runs a short scripted conference: the host started as a
# browser starts it, with the stand-in library, in a fresh data folder whose
# approved websites already hold the demo's website.
# Usage: scripts/demo.sh [--prebuilt]
#   --prebuilt         skip installing and building
#   TAVMO_BUILD_DIR    the build folder (default: build)
#   TAVMO_DEMO_DIR     the demo's data folder, emptied first (default: <build>/demo)
set -euo pipefail
cd "$(dirname "$0")/.."

build="${TAVMO_BUILD_DIR:-build}"
if [ "${1:-}" != "--prebuilt" ]; then
  bash scripts/install-deps.sh linux
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" --target TavmoClientForWeb TavmoClientDll tavmo-console >/dev/null
fi

demo="${TAVMO_DEMO_DIR:-$build/demo}"
rm -rf "$demo"
mkdir -p "$demo/appdata/Tavmo/Data/User" "$demo/run"
demo="$(cd "$demo" && pwd)"
data="$demo/appdata/Tavmo/Data/User"
# The stand-in library keeps the websites a user approved for good here.
echo "demo.example" >"$data/ApprovedDomains.txt"

echo "Log files: $data/"
# The temporary and runtime folders hold the host's capture file and its
# single-instance lock: a host that a browser started meanwhile is left alone.
TMPDIR="$demo" XDG_RUNTIME_DIR="$demo/run" \
  "$build/bin/tavmo-console" --name Demo --pace 0.5 --fit --data-dir "$demo/appdata" tools/console/examples/conference.txt </dev/null
