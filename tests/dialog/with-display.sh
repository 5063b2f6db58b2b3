#!/usr/bin/env bash
# Runs a command on a virtual X display of its own. Xvfb picks a free display
# number itself (-displayfd), so that test runs side by side never share or
# fight over one, as xvfb-run's guessed numbers can.
set -u
folder=$(mktemp -d)
mkfifo "$folder/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$folder/display" 2>"$folder/xvfb.log" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$folder"' EXIT
read -r display <"$folder/display"
if [ -z "${display:-}" ]; then
  echo "Xvfb did not start:" >&2
  cat "$folder/xvfb.log" >&2
  exit 1
fi
DISPLAY=":$display" "$@"
