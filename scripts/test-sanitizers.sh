#!/usr/bin/env bash
# Builds the whole Linux suite with sanitizers and runs it.
# Usage: scripts/test-sanitizers.sh asan|tsan [extra ctest arguments]
#   asan: AddressSanitizer with LeakSanitizer, and UndefinedBehaviorSanitizer,
#         into build-asan
#   tsan: ThreadSanitizer, into build-tsan
# TAVMO_SANITIZER_BUILD_DIR chooses another build folder. Every finding ends
# the program that made it; the reports of every process (the tests, the hosts
# and tools they start) are collected in <build>/sanitizer-reports and shown
# at the end, and any report fails the run, even one from a process whose
# exit no test looks at.
set -euo pipefail
cd "$(dirname "$0")/.."

kind=${1:-}
shift || true
# The browser test drives a real Chromium against the host within time limits
# of its own, which ThreadSanitizer's slowdown overruns; it runs in the plain
# and the ASan suites.
skipped=()
case "$kind" in
  asan) sanitizers=address,undefined ;;
  tsan) sanitizers=thread; skipped=(-LE browser) ;;
  *) echo "usage: $0 asan|tsan [extra ctest arguments]" >&2; exit 2 ;;
esac
build=${TAVMO_SANITIZER_BUILD_DIR:-build-$kind}

bash scripts/install-deps.sh linux
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVMO_WERROR=ON \
  -DTAVMO_SANITIZE="$sanitizers" "${launcher[@]}" >/dev/null
cmake --build "$build"

reports=$(cd "$build" && pwd)/sanitizer-reports
rm -rf "$reports"
mkdir -p "$reports"
# Hosts that the two-account tests run as another user report here too.
chmod 1777 "$reports"
common="halt_on_error=1:print_stacktrace=1:print_suppressions=0"
export ASAN_OPTIONS="$common:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1:log_path=$reports/asan"
export UBSAN_OPTIONS="$common:log_path=$reports/ubsan"
export LSAN_OPTIONS="print_suppressions=0:log_path=$reports/lsan"
export TSAN_OPTIONS="$common:second_deadlock_stack=1:log_path=$reports/tsan"

# Most of the suite waits on pipes and child processes rather than computing,
# so more tests than cores run side by side.
status=0
ctest --test-dir "$build" --output-on-failure -j "$(($(nproc) * 2))" "${skipped[@]}" "$@" || status=$?

# Only files that hold a finding count; a runtime may leave notes besides.
mapfile -t found < <(grep -lE 'ERROR: |WARNING: ThreadSanitizer|runtime error:' -r "$reports" || true)
if [ ${#found[@]} -gt 0 ]; then
  for report in "${found[@]}"; do
    echo "==== $report"
    cat "$report"
  done
  echo "$kind: ${#found[@]} sanitizer report(s)" >&2
  status=1
fi
exit $status
