#!/usr/bin/env bash
# Runs a test program that asks for photographs of the screen (X display
# $DISPLAY): every line "photograph <name>" it writes is answered with a line
# on its standard input once <folder>/<name>.png is taken with ImageMagick's
# import; every other line passes through. Ends with the program's status.
# Usage: with-photographer.sh <folder> <command>...
set -uo pipefail
folder=$1
shift
mkdir -p "$folder"
pipes=$(mktemp -d)
trap 'rm -rf "$pipes"' EXIT
mkfifo "$pipes/requests" "$pipes/answers"
# An answer to a program that is gone fails instead of ending this script.
trap '' PIPE

TAVMO_PHOTOGRAPHS=1 "$@" <"$pipes/answers" >"$pipes/requests" 2>&1 &
program=$!
# In the order the program opens them, or both sides wait for ever.
exec 4>"$pipes/answers" 3<"$pipes/requests"

while IFS= read -r line <&3; do
  line=${line%$'\r'}
  if [[ $line == "photograph "* ]]; then
    name=${line#photograph }
    import -window root "$folder/${name//[^A-Za-z0-9-]/_}.png" || echo "could not photograph $name"
    echo taken >&4
  else
    printf '%s\n' "$line"
  fi
done
exec 4>&- 3<&-
wait "$program"
