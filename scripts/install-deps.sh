#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, if any is missing.
# Usage: scripts/install-deps.sh [linux|windows|packages|browser|fuzz|all]
set -euo pipefail

linux_packages=(build-essential cmake ninja-build pkg-config libjsoncpp-dev libudev-dev file
                googletest libgtest-dev libgmock-dev libgtk-3-dev xvfb xauth xdotool imagemagick python3)
# wixl (of msitools) makes the Windows installer; msiinfo reads its tables.
windows_packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth imagemagick wixl msitools)
# Checking the Debian package.
package_packages=(lintian)
# The browser test: headless Chromium and the Node.js that drives it.
browser_packages=(chromium nodejs)
# libFuzzer and its sanitizer runtimes come with clang; the symbolizer names
# the lines in a finding's stack.
fuzz_packages=(build-essential cmake ninja-build pkg-config libjsoncpp-dev libudev-dev clang-14 libclang-rt-14-dev llvm-14)

case "${1:-linux}" in
  linux) wanted=("${linux_packages[@]}") ;;
  windows) wanted=("${windows_packages[@]}") ;;
  packages) wanted=("${package_packages[@]}") ;;
  browser) wanted=("${browser_packages[@]}") ;;
  fuzz) wanted=("${fuzz_packages[@]}") ;;
  all) wanted=("${linux_packages[@]}" "${windows_packages[@]}" "${package_packages[@]}" "${browser_packages[@]}"
               "${fuzz_packages[@]}") ;;
  *) echo "usage: $0 [linux|windows|packages|browser|fuzz|all]" >&2; exit 2 ;;
esac

# npm installs the page library's TypeScript; NodeSource's nodejs brings it,
# Debian's does not.
if [[ " ${wanted[*]} " == *" nodejs "* ]] && ! command -v npm >/dev/null; then wanted+=(npm); fi

missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
