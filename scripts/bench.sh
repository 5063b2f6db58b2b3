#!/usr/bin/env bash
# Builds the host, the stand-in library and the benchmarks in their own folder
# and runs every measurement; prints one table (Markdown) on standard output
# and the build and progress on standard error.
# Arguments go to tavmo_bench, e.g. --runs 3 or --idle-seconds 5.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh linux
build="${TAVMO_BENCH_BUILD_DIR:-build-benchmarks}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVMO_BUILD_TESTS=OFF >&2
cmake --build "$build" --target tavmo_bench >&2
"$build/bin/tavmo_bench" "$@"
