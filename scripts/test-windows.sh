#!/usr/bin/env bash
# Builds the Windows side (scripts/build-windows.sh) and tests it under Wine:
# the approval dialogs (on a display of their own, photographed), the Windows
# platform tests, then the end-to-end suite of the Linux build
# (build/bin/e2e_tests) against the x86_64 host under wine64, and against the
# i686 host too where this machine can run 32-bit Windows programs.
# The Wine prefix lives in the build folder and is kept between runs.
# TAVMO_WINDOWS_BUILD_DIR and TAVMO_LINUX_BUILD_DIR choose other build folders.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${TAVMO_WINDOWS_BUILD_DIR:-build-windows}
linux_build=${TAVMO_LINUX_BUILD_DIR:-build}

source scripts/stages.sh

stage "building for Windows"
scripts/build-windows.sh
if [ ! -x "$linux_build/bin/e2e_tests" ]; then
  stage "building the end-to-end tests for Linux"
  scripts/install-deps.sh linux
  cmake -S . -B "$linux_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$linux_build" --target e2e_tests
fi

build=$(cd "$build" && pwd)
linux_build=$(cd "$linux_build" && pwd)
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
export WINEPREFIX=$build/wineprefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The prefix's TEMP, TMP and LOCALAPPDATA refer to these (below), so that each
# test can give its host folders of its own: Wine does not take the usual
# variables from the environment.
export TAVMO_TEST_TEMP="Z:${build//\//\\}\\wine-temp"
export TAVMO_TEST_LOCALAPPDATA="Z:${build//\//\\}\\wine-appdata"
mkdir -p "$build/wine-temp" "$build/wine-appdata"

stage "preparing the Wine prefix"
trap 'wineserver -k 2>/dev/null || true' EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine64" wineboot --init </dev/null >/dev/null 2>&1
fi
# A crash ends the program at once instead of waiting in Wine's debugger.
"$wine64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d false /f \
  </dev/null >/dev/null 2>&1
for variable in TEMP TMP; do
  "$wine64" reg add 'HKCU\Environment' /v $variable /t REG_EXPAND_SZ /d '%TAVMO_TEST_TEMP%' /f </dev/null >/dev/null 2>&1
done
# What a run that was cut short may have left: the registration tool's
# installation that the end-to-end tests write.
"$wine64" reg delete 'HKCU\Software\Tavmo\TavmoClientForWeb\Setup' /f </dev/null >/dev/null 2>&1 || true

stage "approval dialogs (x86_64, wine64, X11 driver on a display of its own)"
# Wine's null driver draws nothing that could be photographed: the dialogs
# run with a server of their own on Xvfb, the windows unmanaged (Wine draws
# their frames; there is no window manager to wait for). The photographs go
# to $build/x86_64/test-output/.
run_dialog_tests() {
  "$wine64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f </dev/null >/dev/null 2>&1
  "$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  wineserver -k 2>/dev/null
  wineserver -w
  # The first program of a server hands its output on to the services it
  # starts, so the tests must not be the first.
  "$wine64" reg query 'HKCU\Software\Wine\Drivers' </dev/null >/dev/null 2>&1
  local status=0
  run_gtest_logged "$build/win32_dialog_tests.log" timeout 600 tests/wine/with-photographer.sh \
    "$build/x86_64/test-output" "$wine64" "$build/x86_64/bin/win32_dialog_tests.exe" || status=$?
  wineserver -k 2>/dev/null
  wineserver -w
  return $status
}
export -f run_dialog_tests run_gtest_logged
export wine64 build
tests/dialog/with-display.sh bash -c run_dialog_tests

stage "starting Wine without a display"
# No display from here on: the hidden window needs the null driver.
"$wine64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
# A new server (the driver takes effect) kept for the whole run: hosts start
# faster and share the named objects (the single-instance mutex) as on one
# Windows desktop.
wineserver -k 2>/dev/null || true
wineserver -w
wineserver -p
# Written anew by Wine whenever a server starts, so set after the start.
"$wine64" reg add 'HKCU\Volatile Environment' /v LOCALAPPDATA /t REG_EXPAND_SZ /d '%TAVMO_TEST_LOCALAPPDATA%' \
  /f </dev/null >/dev/null 2>&1

stage "Windows platform tests (x86_64, wine64)"
# Into a file: the Wine services this first program starts keep its output
# open, and a pipe would then never end.
run_gtest_logged "$build/win32_platform_tests.log" timeout 600 "$wine64" "$build/x86_64/bin/win32_platform_tests.exe"

stage "browser registration (x86_64, wine64)"
run_gtest_logged "$build/win32_registration_tests.log" timeout 600 "$wine64" \
  "$build/x86_64/bin/win32_registration_tests.exe"
# The installed tool as the README shows it, its key read back with reg.
installation=$build/x86_64-installation
rm -rf "$installation"
cmake --install "$build/x86_64" --prefix "$installation" --component TavmoClientForWeb >/dev/null
# The host name, the origin, the setup record and the version as the build has them.
. "$build/x86_64/facts.env"
chrome_key="HKCU\Software\Google\Chrome\NativeMessagingHosts\\$TAVMO_HOST_NAME"
"$wine64" "$installation/TavmoRegisterBrowsers.exe" register </dev/null
"$wine64" reg query "$chrome_key" /ve </dev/null | grep -F "Tavmo\TavmoClientForWeb\\$TAVMO_HOST_NAME.json"
"$wine64" "$installation/TavmoRegisterBrowsers.exe" unregister </dev/null
# By what reg prints: the key's own line where it is still there.
if "$wine64" reg query "$chrome_key" </dev/null 2>/dev/null | grep -qF "NativeMessagingHosts\\$TAVMO_HOST_NAME"; then
  echo "unregister left $chrome_key"
  exit 1
fi
# The product's zip holds the installation in one folder.
zip_listing=$(cmake -E tar tf "$build/i686/TavmoClientForWeb-$TAVMO_VERSION-win32.zip" | grep -v '/$' | LC_ALL=C sort |
  tr '\n' ' ')
zip_expected=""
for file in LICENSE README.md RegSvrUsr.exe TavmoClientDll.dll TavmoClientForWeb.exe TavmoRegisterBrowsers.exe \
  x64/RegSvrUsr64.exe; do
  zip_expected+="TavmoClientForWeb-$TAVMO_VERSION-win32/$file "
done
[ "$zip_listing" = "$zip_expected" ] || { echo "the zip holds: $zip_listing"; exit 1; }

# Not run against a Windows host: this test writes the Linux host's setup
# file (the user's configuration folder naming the installation folder),
# whereas the Windows host reads the folder from the registry. Not a fault of
# Wine or of the host; installRegistrationTool (tests/support/HostProcess.h)
# writes whichever form the host under test reads.
not_for_windows=(
  FaultInjection.MissingRegistrationToolIsLoggedAndStartAndShutdownGoOn
)
run_e2e() {
  local skipped
  skipped=$(IFS=:; echo "${not_for_windows[*]}")
  TAVMO_HOST_LAUNCHER="$1" TAVMO_HOST_EXECUTABLE="$2/bin/TavmoClientForWeb.exe" timeout 1800 \
    "$linux_build/bin/e2e_tests" --gtest_filter="-$skipped" </dev/null
}

stage "end-to-end tests (x86_64 host, wine64)"
run_e2e "$wine64" "$build/x86_64"

# The product's installer, installed and removed by msiexec as an enterprise
# roll-out does (/qn), per machine and then per user; every file and registry
# value is checked by what the folder and reg show, not by msiexec's exit
# status. The i686 build is a 32-bit package: per machine its values are in
# the 32-bit view of HKEY_LOCAL_MACHINE (/reg:32), where a 32-bit host and
# the browsers read them.
test_installer() {
  local msi_file msi scope
  msi_file=$build/i686/TavmoClientForWeb-$TAVMO_VERSION-win32.msi
  msi="Z:${msi_file//\//\\}"
  local manifest_name=$TAVMO_HOST_NAME.json
  local setup_key=$TAVMO_SETUP_KEY
  local browser_keys=('Software\Google\Chrome' 'Software\Chromium' 'Software\Microsoft\Edge'
                      'Software\BraveSoftware\Brave-Browser')
  local files=(LICENSE README.md RegSvrUsr.exe TavmoClientDll.dll TavmoClientForWeb.exe TavmoRegisterBrowsers.exe
               "$manifest_name" x64/RegSvrUsr64.exe)
  # The REG_SZ value $2 (empty: the default value) of key $1, or nothing.
  reg_value() {
    local query=(/ve)
    [ -z "$2" ] || query=(/v "$2")
    "$wine64" reg query "$1" "${query[@]}" $view </dev/null 2>/dev/null | tr -d '\r' |
      sed -n 's/^ *[^ ].*REG_SZ    //p'
  }
  for scope in machine user; do
    local hive=HKLM view=/reg:32 allusers=()
    # Wine's msiexec keeps quotes: an empty ALLUSERS is given as "ALLUSERS=".
    [ $scope = machine ] || { hive=HKCU; view=""; allusers=(ALLUSERS=); }
    "$wine64" msiexec /i "$msi" "${allusers[@]}" /qn </dev/null || true
    local folder
    folder=$(reg_value "$hive\\$setup_key" "$TAVMO_SETUP_ENTRY")
    [ -n "$folder" ] || { echo "per $scope: no setup record in $hive\\$setup_key"; return 1; }
    [ "${folder: -1}" = '\' ] || { echo "per $scope: the setup record's folder lacks its final separator: $folder"; return 1; }
    local unix_folder
    unix_folder=$("$wine64" winepath -u "$folder" </dev/null 2>/dev/null)
    if [ $scope = machine ]; then
      [[ $folder == *'Program Files'*'\TavmoClientForWeb\' ]] || { echo "per machine into $folder"; return 1; }
    else
      [[ $folder == *'\AppData\Local\Programs\TavmoClientForWeb\' ]] || { echo "per user into $folder"; return 1; }
    fi
    local installed
    installed=$(cd "$unix_folder" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')
    [ "$installed" = "$(printf '%s\n' "${files[@]}" | LC_ALL=C sort | tr '\n' ' ')" ] ||
      { echo "per $scope, installed: $installed"; return 1; }
    [ "$(head -c 2 "$unix_folder/TavmoClientForWeb.exe")" = MZ ] || { echo "per $scope: the host is no program"; return 1; }
    # The manifest names the host beside it (browsers resolve a relative
    # path against the manifest's folder on Windows) and the one extension.
    grep -qxF '  "path": "TavmoClientForWeb.exe",' "$unix_folder/$manifest_name" &&
      grep -qxF "  \"allowed_origins\": [\"$TAVMO_EXTENSION_ORIGIN\"]" \
        "$unix_folder/$manifest_name" || { echo "per $scope, manifest: $(cat "$unix_folder/$manifest_name")"; return 1; }
    local key
    for key in "${browser_keys[@]}"; do
      [ "$(reg_value "$hive\\$key\\NativeMessagingHosts\\$TAVMO_HOST_NAME" "")" = "$folder$manifest_name" ] ||
        { echo "per $scope: $hive\\$key does not name $folder$manifest_name"; return 1; }
    done

    "$wine64" msiexec /x "$msi" "${allusers[@]}" /qn </dev/null || true
    [ ! -e "$unix_folder" ] || { echo "per $scope, uninstalling left $(find "$unix_folder")"; return 1; }
    for key in "$setup_key" 'Software\Tavmo' "${browser_keys[@]}"; do
      if "$wine64" reg query "$hive\\$key" $view </dev/null >/dev/null 2>&1; then
        echo "per $scope, uninstalling left $hive\\$key"
        return 1
      fi
    done
    echo "per $scope: installed into $folder, checked, removed"
  done
}
stage "Windows installer (i686 MSI, msiexec under wine64)"
test_installer

# This machine may have no 32-bit support at all: run the i686 host only
# where it answers a request. Its exit status tells nothing: a Wine without
# 32-bit support starts it in its experimental wow64 mode, fails to load the
# system's DLLs and still ends with 0. Into a file, as with the tests above.
stage "trying the i686 host"
trial=$build/i686-trial.log
printf '{"type":"RequestGetVersion","_direction":1}\n' |
  timeout 60 wine "$build/i686/bin/TavmoClientForWeb.exe" -debug >"$trial" 2>/dev/null || true
if grep -q '"version"' "$trial"; then
  stage "end-to-end tests (i686 host, wine)"
  run_e2e wine "$build/i686"
else
  echo "32-bit Windows programs do not run here: the i686 build was built, not run."
fi
stage ""
