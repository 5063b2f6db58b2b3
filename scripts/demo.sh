#!/usr/bin/env bash
# Installs what is missing, builds the host, the stand-in library, the
# console and the rest of the installation (so that `cmake --install` works
# after it), and runs a short scripted conference: the host started as a
# browser starts it, with the stand-in library, in a fresh data folder whose
# approved websites already hold the demo's website.
# Usage: scripts/demo.sh [--prebuilt]
#   --prebuilt         skip installing and building
#   TAVMO_BUILD_DIR    the build folder (default: build)
#   TAVMO_DEMO_DIR     the demo's data folder, emptied first (default: <build>/demo)
set -euo pipefail
cd "$(dirname "$0")/.."

build="${TAVMO_BUILD_DIR:-build}"
log="$build/demo-build.log"

# One line a stage; on a terminal a line below it counts the build's steps
# while they run.
stage() { echo "[$1/4] $2"; }

# Runs a build step with its output in the log; a failure shows the log's end.
logged() {
  local status=0
  if [ -t 1 ]; then
    set +e
    "$@" 2>&1 | tee -a "$log" | while IFS= read -r line; do
      case "$line" in
        \[*/*\]*) printf '\r\033[K      %s' "${line%%]*}]" ;;
      esac
    done
    status=${PIPESTATUS[0]}
    set -e
    printf '\r\033[K'
  else
    "$@" >>"$log" 2>&1 || status=$?
  fi
  if [ "$status" -ne 0 ]; then
    tail -n 30 "$log" >&2
    echo "demo.sh: that step failed; its whole output is in $log" >&2
    exit "$status"
  fi
}

if [ "${1:-}" != "--prebuilt" ]; then
  stage 1 "Checking the Debian packages the build needs"
  bash scripts/install-deps.sh linux
  mkdir -p "$build"
  : >"$log"
  stage 2 "Configuring the build in $build"
  logged cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  stage 3 "Building the host, the stand-in library and the console (about a minute the first time)"
  logged cmake --build "$build" --target TavmoClientForWeb TavmoClientDll tavmo-console TavmoRegisterBrowsers RegSvrUsr
  stage 4 "Running the demo conference"
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
