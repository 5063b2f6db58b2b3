#!/usr/bin/env bash
# Builds the host with the stand-in library and starts it as a browser would,
# in debug mode: type one JSON request per line, read the replies and events.
# Try: {"type":"RequestGetVersion"}   End with Ctrl-D or {EXIT}.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh linux
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target TavmoClientForWeb TavmoClientDll >/dev/null

export LOCALAPPDATA="${LOCALAPPDATA:-$PWD/build/appdata}"
echo "Host ready (debug mode). Log files: $LOCALAPPDATA/Tavmo/Data/User/" >&2
echo 'Type a request, e.g. {"type":"RequestGetVersion"}  (Ctrl-D ends)' >&2
exec build/bin/TavmoClientForWeb chrome-extension://gdlpkaomnfhcebijgdlpkaomnfhcebij/ -debug
