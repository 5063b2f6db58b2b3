#!/usr/bin/env bash
# The Debian package as a distribution would take it: lintian shows no error
# and no warning (its overrides say why), and in a throwaway root (an overlay
# of this machine's own root, on a tmpfs, in a mount namespace of its own)
# `apt-get install ./…deb` registers the host with every user's Chrome,
# Chromium, Edge and Brave, the host answers from its manifest's path, and
# `apt-get remove` leaves nothing of it. Needs root, as CI has.
# TAVMO_LINUX_BUILD_DIR chooses another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${TAVMO_LINUX_BUILD_DIR:-build}
package=tavmo-client-for-web
folder=/usr/lib/$package
# Where `register --system` puts the manifest for each browser.
manifests=(/etc/opt/chrome/native-messaging-hosts /etc/chromium/native-messaging-hosts
           /etc/opt/edge/native-messaging-hosts /etc/opt/brave.com/brave/native-messaging-hosts)

fail() {
  echo "FAILED: $*" >&2
  exit 1
}
[ "$(id -u)" -eq 0 ] || fail "installing the package into a throwaway root needs root"

scripts/install-deps.sh linux
scripts/install-deps.sh packages
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVMO_WERROR=ON >/dev/null
fi
cmake --build "$build" --target installation >/dev/null
# The version, the origin and the host name as the build has them.
. "$build/facts.env"
origin=$TAVMO_EXTENSION_ORIGIN
work=$(mktemp -d "${TMPDIR:-/tmp}/tavmo-packages-XXXXXX")
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work/packages" >/dev/null)
deb=$work/packages/${package}_${TAVMO_VERSION}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "cpack made no $deb: $(ls "$work/packages")"

echo "== lintian"
lintian --fail-on error,warning --display-info "$deb" 2>&1 | grep -v '^running with root privileges' || true
lintian --fail-on error,warning "$deb" >/dev/null 2>&1 || fail "lintian reports errors or warnings"

echo "== install and remove in a throwaway root"
request='{"type":"RequestGetVersion","_direction":1}'
# What runs inside the throwaway root: install, check, remove, check.
cat >"$work/inside.sh" <<INSIDE
set -euo pipefail
fail() { echo "FAILED: \$*" >&2; exit 1; }
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends /tmp/$(basename "$deb") >/dev/null
for place in ${manifests[*]}; do
  manifest=\$place/$TAVMO_HOST_NAME.json
  [ -f "\$manifest" ] || fail "no manifest \$manifest"
  grep -qxF '  "path": "$folder/TavmoClientForWeb",' "\$manifest" || fail "\$manifest: \$(cat "\$manifest")"
  grep -qxF '  "allowed_origins": ["$origin"]' "\$manifest" || fail "\$manifest: \$(cat "\$manifest")"
done
$folder/TavmoRegisterBrowsers check --system >/dev/null || fail "check --system: \$($folder/TavmoRegisterBrowsers check --system)"
# The host as a browser starts it, from the manifest's path; its input stays
# open until the reply has come, as a browser's does.
mkfifo /tmp/host-input
(cd / && exec $folder/TavmoClientForWeb $origin </tmp/host-input >/tmp/host-output) &
exec {input}>/tmp/host-input
printf '\\$(printf %03o ${#request})\\0\\0\\0%s' '$request' >&\$input
for _ in \$(seq 300); do
  grep -qaF '"version":"$TAVMO_HOST_VERSION"' /tmp/host-output && break
  sleep 0.1
done
exec {input}>&-
wait
grep -qaF '"version":"$TAVMO_HOST_VERSION"' /tmp/host-output || fail "the installed host answered: \$(cat -v /tmp/host-output)"
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq $package >/dev/null
INSIDE
unshare --mount --propagation private bash -s "$work" "$deb" <<'NAMESPACE'
set -euo pipefail
work=$1 deb=$2
mkdir "$work/layers"
mount -t tmpfs tmpfs "$work/layers"
mkdir "$work/layers/upper" "$work/layers/work" "$work/layers/root"
mount -t overlay overlay -o "lowerdir=/,upperdir=$work/layers/upper,workdir=$work/layers/work" "$work/layers/root"
mount --rbind /dev "$work/layers/root/dev"
mount -t proc proc "$work/layers/root/proc"
mount -t tmpfs tmpfs "$work/layers/root/tmp"
cp "$deb" "$work/inside.sh" "$work/layers/root/tmp/"
chroot "$work/layers/root" bash /tmp/inside.sh
umount "$work/layers/root/tmp"
# Everything the install and the removal changed is in the upper layer: none
# of it may be the package's, nor a folder that registering created.
left=$(cd "$work/layers/upper" && find . \( -path ./var -o -path ./dev -o -path ./proc -o -path ./tmp \) -prune -o -print |
  grep -E 'tavmo|native-messaging-hosts|/etc/opt/(chrome|edge|brave.com)' || true)
[ -z "$left" ] || { echo "FAILED: removing the package left: $left" >&2; exit 1; }
NAMESPACE
echo "package test passed"
