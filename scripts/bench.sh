#!/usr/bin/env bash
# Builds the host, the stand-in library, the no-op library and the benchmarks
# in their own folder and runs every measurement; prints one table (Markdown)
# on standard output and the build and progress on standard error.
# Arguments go to tavmo_bench, e.g. --runs 3 or --idle-seconds 5.
# With --browser first, measures the browser path instead: headless Chromium
# and a measuring extension, through native messaging to the echo, the script
# host and the host; the other arguments go to bench/browser/browser-bench.mjs,
# e.g. --requests 20000 --pingpong 2000 --connects 10 --runs 3.
set -euo pipefail
cd "$(dirname "$0")/.."

browser=false
if [[ "${1:-}" == "--browser" ]]; then
  browser=true
  shift
fi

bash scripts/install-deps.sh linux
build="${TAVMO_BENCH_BUILD_DIR:-build-benchmarks}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVMO_BUILD_TESTS=OFF >&2
if ! $browser; then
  cmake --build "$build" --target tavmo_bench >&2
  exec "$build/bin/tavmo_bench" "$@"
fi

bash scripts/install-deps.sh browser >&2
cmake --build "$build" --target TavmoClientForWeb TavmoClientDll tavmo_bench_echo >&2
python=/usr/bin/python3
[[ -x "$python" ]] || python="$(command -v python3)"
TAVMO_FACTS="$build/facts.json" exec node bench/browser/browser-bench.mjs \
  --host "$build/bin/TavmoClientForWeb" --echo "$build/bin/tavmo_bench_echo" \
  --python "$python" --script bench/script_host.py --launcher tests/browser/host-launcher.sh \
  --output "$build/browser-bench" "$@"
