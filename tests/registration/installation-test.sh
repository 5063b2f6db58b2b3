#!/usr/bin/env bash
# The installation as the README describes it. First every command of the
# README's "Installation" section runs, in order, in a home folder of its own
# (each must succeed); then the installation, the browser registration, the
# host started from its manifest's path and the packages are checked in
# detail.
# Usage: installation-test.sh <build folder> <source folder>
set -euo pipefail
export LC_ALL=C

build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/tavmo-installation-XXXXXX")
trap 'rm -rf "$work"' EXIT

export HOME=$work/home TMPDIR=$work/temp XDG_RUNTIME_DIR=$work/run
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_STATE_HOME LOCALAPPDATA TAVMO_STANDIN_SCENARIO
mkdir -p "$HOME" "$TMPDIR" "$XDG_RUNTIME_DIR" "$work/tree"
# The README's commands run in a checkout whose build folder is this one.
ln -s "$build" "$work/tree/build"
cd "$work/tree"

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

installed=$HOME/TavmoClientForWeb
# The version (as the build generated it from the project's version), the
# origin, the host name and the setup record.
. "$build/facts.env"
origin=$TAVMO_EXTENSION_ORIGIN
manifest_name=$TAVMO_HOST_NAME.json
[[ $TAVMO_HOST_VERSION =~ ^[0-9]+\.[0-9]+\.[0-9]+_[0-9]{4}$ ]] || fail "host version text: $TAVMO_HOST_VERSION"
[ "${TAVMO_VERSION%.*}_$(printf %04d "${TAVMO_VERSION##*.}")" = "$TAVMO_HOST_VERSION" ] ||
  fail "the host's version $TAVMO_HOST_VERSION is not the project's $TAVMO_VERSION"
version_reply='{"_direction":2,"type":"RequestGetVersion","version":"'"$TAVMO_HOST_VERSION"'"}'

# One request with its 4-byte little-endian length.
frame() {
  local length=${#1}
  printf "\\$(printf %03o $((length & 255)))\\$(printf %03o $((length >> 8 & 255)))\\0\\0%s" "$1"
}

# The bodies the host at $1 answers to the requests $3..., started as a
# browser starts it: from another folder, with the origin. Like a browser, it
# keeps the host's input open until the last reply, which holds the text $2,
# has come (the host sends nothing once its input has ended).
replies() {
  local host=$1 awaited=$2 output=$work/host-output
  shift 2
  rm -f "$work/host-input"
  mkfifo "$work/host-input"
  (cd / && exec "$host" "$origin" <"$work/host-input" >"$output") &
  local pid=$! input
  exec {input}>"$work/host-input"
  for request in "$@"; do frame "$request" >&$input; done
  for _ in $(seq 600); do
    grep -aqF "$awaited" "$output" && break
    sleep 0.1
  done
  exec {input}>&-
  wait $pid
  local framed
  framed=$(od -An -v -tu1 "$output" | tr -s ' \n' ' ')
  local bytes=($framed) at=0
  while [ $at -lt ${#bytes[@]} ]; do
    local length=$((bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24)) body=""
    for ((i = at + 4; i < at + 4 + length; i++)); do body+=$(printf "\\$(printf %03o "${bytes[i]}")"); done
    echo "$body"
    at=$((at + 4 + length))
  done
}

manifest_path() { sed -n 's/^  "path": "\(.*\)",$/\1/p' "$1"; }

user_manifests() {
  for folder in google-chrome chromium microsoft-edge BraveSoftware/Brave-Browser; do
    echo "$HOME/.config/$folder/NativeMessagingHosts/$manifest_name"
  done
}

echo "== the README's commands"
readme_output=$work/readme-output
awk '/^## Installation/ { on = 1; next } /^## / { on = 0 } on && /^```/ { block = !block; next } on && block' \
  "$source/README.md" >"$work/readme-commands"
[ -s "$work/readme-commands" ] || fail "no commands in the README's Installation section"
while IFS= read -r command; do
  echo "\$ $command"
  bash -c "$command" </dev/null >>"$readme_output" 2>&1 || { cat "$readme_output"; fail "$command"; }
done <"$work/readme-commands"
cat "$readme_output"
grep -qxF "$version_reply" "$readme_output" || fail "the host run by hand did not answer $version_reply"
grep -qF '"path": "'"$installed"'/TavmoClientForWeb",' "$readme_output" || fail "the manifest shown names another host"
grep -q '^TavmoClientForWeb_.*\.log$' "$readme_output" || fail "no log file where the README says"
for manifest in $(user_manifests); do [ ! -e "$manifest" ] || fail "unregister left $manifest"; done
[ ! -e "$installed" ] || fail "the installation was not removed"

echo "== the installation's layout"
cmake --install "$build" --prefix "$installed" >/dev/null
layout=$(cd "$installed" && find . -type f | sort | tr '\n' ' ')
# The dialogs' module exists where the toolkit was found at build time.
dialogs=""
[ -e "$build/bin/libTavmoApprovalDialog.so" ] && dialogs="./libTavmoApprovalDialog.so "
expected_layout="./LICENSE ./README.md ./RegSvrUsr.exe ./TavmoClientForWeb ./TavmoRegisterBrowsers $dialogs./libTavmoClientDll.so ./x64/RegSvrUsr64.exe "
[ "$layout" = "$expected_layout" ] || fail "installed: $layout; expected: $expected_layout"
ldd "$installed/TavmoClientForWeb" >"$work/libraries"
grep -qF "libTavmoClientDll.so => $installed/libTavmoClientDll.so" "$work/libraries" ||
  fail "the host does not load the library beside it: $(cat "$work/libraries")"

echo "== per-user registration, and the host started from the manifest's path"
"$installed/TavmoRegisterBrowsers" register >/dev/null
for manifest in $(user_manifests); do
  [ "$(manifest_path "$manifest")" = "$installed/TavmoClientForWeb" ] || fail "$manifest: $(cat "$manifest")"
  grep -qxF '  "allowed_origins": ["'"$origin"'"]' "$manifest" || fail "$manifest: $(cat "$manifest")"
done
[ "$(cat "$HOME/.config/$TAVMO_SETUP_PATH")" = "$TAVMO_SETUP_ENTRY=$installed/" ] || fail "setup record"
host=$(manifest_path "$HOME/.config/BraveSoftware/Brave-Browser/NativeMessagingHosts/$manifest_name")
# Starting the library registers the virtual camera with the installation's
# tool, found through the setup record; shutdown unregisters it.
got=$(replies "$host" '"TavmoClient started"' '{"type":"RequestGetVersion","_direction":1}' \
  '{"type":"InEventStart","_direction":1}' | grep -v '"code":')
expected=$(printf '%s\n' "$version_reply" '{"_direction":2,"result":"TavmoClient started","type":"InEventStart"}')
[ "$got" = "$expected" ] || fail "replies: $got"
for _ in $(seq 200); do
  [ "$(sort "$installed/RegSvrUsr.exe.log" 2>/dev/null | tr '\n' '|')" = "/s TavmoWPVC.dll|/u /s TavmoWPVC.dll|" ] && break
  sleep 0.1
done
[ "$(sort "$installed/RegSvrUsr.exe.log" | tr '\n' '|')" = "/s TavmoWPVC.dll|/u /s TavmoWPVC.dll|" ] ||
  fail "camera tool runs: $(cat "$installed/RegSvrUsr.exe.log")"
"$installed/TavmoRegisterBrowsers" unregister >/dev/null
[ ! -e "$HOME/.config/$TAVMO_SETUP_PATH" ] || fail "unregister left the setup record"

echo "== system-wide registration under a root of its own"
root=$work/root
mkdir -p "$root/etc/opt"
"$installed/TavmoRegisterBrowsers" register --system --root "$root" >/dev/null
for folder in opt/chrome chromium opt/edge opt/brave.com/brave; do
  manifest=$root/etc/$folder/native-messaging-hosts/$manifest_name
  [ "$(manifest_path "$manifest")" = "$installed/TavmoClientForWeb" ] || fail "$manifest"
done
"$installed/TavmoRegisterBrowsers" unregister --system --root "$root" >/dev/null
[ "$(cd "$root" && find . | sort | tr '\n' ' ')" = ". ./etc ./etc/opt " ] || fail "left under the root: $(find "$root")"

echo "== the packages"
packages=$work/tree/packages
archive=$packages/TavmoClientForWeb-$TAVMO_VERSION-Linux.tar.gz
deb=$(ls "$packages"/tavmo-client-for-web_${TAVMO_VERSION}_*.deb)
[ "$(tar -tzf "$archive" | grep -v '/$' | sort | tr '\n' ' ')" = "$(for file in $expected_layout; do
  echo "TavmoClientForWeb-$TAVMO_VERSION-Linux/${file#./}"
done | sort | tr '\n' ' ')" ] || fail "archive: $(tar -tzf "$archive")"
# The Debian package: the installation without the licence, which its
# copyright file states.
[ "$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort | tr '\n' ' ')" = "$( (
  for file in $expected_layout; do
    [ "$file" = ./LICENSE ] || echo "./usr/lib/tavmo-client-for-web/${file#./}"
  done
  echo ./usr/share/doc/tavmo-client-for-web/changelog.gz
  echo ./usr/share/doc/tavmo-client-for-web/copyright
  echo ./usr/share/lintian/overrides/tavmo-client-for-web
) | sort | tr '\n' ' ')" ] || fail "package: $(dpkg-deb -c "$deb")"
# The dependency scan ran (the library needs the C++ runtime), and libudev,
# which the host opens itself when its device watch starts, is declared.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libc6 libstdc++6 libudev1; do
  tr ',' '\n' <<<"$depends" | awk '{ print $1 }' | grep -qxF "$package" ||
    fail "the package does not depend on $package: $depends"
done
# Unpacked anywhere, the archive's host finds its library.
mkdir "$work/unpacked"
tar -xzf "$archive" -C "$work/unpacked"
[ "$(replies "$work/unpacked/TavmoClientForWeb-$TAVMO_VERSION-Linux/TavmoClientForWeb" '"version"' \
  '{"type":"RequestGetVersion","_direction":1}')" = "$version_reply" ] ||
  fail "the unpacked host did not answer"
echo "installation test passed"
