#!/usr/bin/env bash
# Builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh linux
bash scripts/install-deps.sh browser
# TypeScript for the page library's declaration test, as its lock file says.
npm ci --prefix clients/js --no-audit --no-fund --loglevel=error
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVMO_WERROR=ON >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure -j "$(nproc)"
